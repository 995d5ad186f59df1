#pragma once

#include <cstdint>
#include <string>
#include <vector>

// One block of the objects file.
struct CObjectDefinition {
    std::string name;
    std::vector<std::string> synonyms;
};

// One block of the commands file. The minimum is only stored: the game decides
// what too few objects mean.
struct CVerbDefinition : CObjectDefinition {
    std::string preposition;
    std::int32_t minnrobjects = 0;
    std::int32_t maxnrobjects = 0;
};
