#pragma once

#include "parser/CInterfaceBackend.h"

#include <string>

// The definition tables as one line per definition, for whole-table comparisons:
// name|synonyms joined by ','|preposition|min..max (objects: name|synonyms).
std::string DumpVerbs(const CInterfaceBackend& backend);
std::string DumpObjects(const CInterfaceBackend& backend);
