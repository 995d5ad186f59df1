#pragma once

#include <filesystem>
#include <map>
#include <optional>
#include <string>

// A small game written as resource.000 into `folder` with the project's own
// archive writer. Keys are logical paths ("data\scripts\master.ads"); the
// files every start needs (and an empty scene "start") are filled in unless the caller gives its own; a
// path given as nullopt is left out of the archive.
using FixtureFiles = std::map<std::string, std::optional<std::string>>;

void WriteFixtureGame(const std::filesystem::path& folder, FixtureFiles files);

// The JSON text of one top-level variable in a dumped state file, or
// "<missing>"; texts keep their quotes.
std::string DumpedValue(const std::string& json, const std::string& name);
double DumpedNumber(const std::string& json, const std::string& name);
