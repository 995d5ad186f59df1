#include "platform/DReport.h"

#include <cstdio>

void ReportError(const std::string& text) {
    std::fprintf(stderr, "morvane: %s\n", text.c_str());
}

void ReportWarning(const std::string& text) {
    std::fprintf(stderr, "morvane: warning: %s\n", text.c_str());
}
