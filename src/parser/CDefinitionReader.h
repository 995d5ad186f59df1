#pragma once

#include "parser/Definitions.h"

#include <functional>
#include <string>
#include <string_view>

// The two vocabulary files share one syntax; they differ in the keywords a
// block may use and in the wording of one error.
enum class EDefinitionFile { Commands, Objects };

// Scans a whole definition file. Each block is handed to `store` as soon as its
// closing brace is read, so definitions before a syntax error stay stored.
// Throws EIBEDefinitionSyntax naming `fileName` and the line of the error.
void ReadDefinitions(EDefinitionFile kind, const std::string& fileName, std::string_view text,
                     const std::function<void(CVerbDefinition&&)>& store);
