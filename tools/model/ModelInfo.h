#pragma once

#include <filesystem>
#include <iosfwd>

// morvane-model info: prints what an IMS2 or SPRT model (with its .col file
// when there is one beside it) or a .col file holds, after reading it as the
// engine reads it. Throws CADVException when the engine would refuse it.
void PrintModelInfo(const std::filesystem::path& file, std::ostream& out);
