#pragma once

#include <string>
#include <string_view>
#include <vector>

// Without the spaces, tabs, carriage returns and line feeds at both ends.
std::string_view Trim(std::string_view text);

// White space as the C locale's isspace sees it; sentences split into words there.
bool IsWhiteSpace(char c);
std::vector<std::string_view> SplitWords(std::string_view text);
