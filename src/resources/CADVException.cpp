#include "resources/CADVException.h"

#include <cstdarg>
#include <cstdio>
#include <vector>

namespace {

// Formats without a fixed scratch buffer, so a long file name can never cut a message short.
std::string FormatV(const char* format, va_list args) {
    va_list copy;
    va_copy(copy, args);
    const int needed = std::vsnprintf(nullptr, 0, format, copy);
    va_end(copy);
    if (needed <= 0) {
        return {};
    }
    std::vector<char> buffer(static_cast<size_t>(needed) + 1);
    std::vsnprintf(buffer.data(), buffer.size(), format, args);
    return std::string(buffer.data(), static_cast<size_t>(needed));
}

} // namespace

CADVException::CADVException(const char* format, ...) {
    va_list args;
    va_start(args, format);
    m_message = kHeader + FormatV(format, args);
    va_end(args);
}

CADVException::CADVException(HRESULT hr, const char* format, ...) {
    va_list args;
    va_start(args, format);
    const std::string text = FormatV(format, args);
    va_end(args);
    char header[512];
    std::snprintf(header, sizeof header, "%sHRESULT: %X\nError code: %s\nDescription: %s\n", kHeader,
                  static_cast<unsigned>(hr), HResultName(hr), HResultDescription(hr));
    m_message = header + text;
}
