#include "resources/CLogger.h"

#include <cstdio>
#include <cstring>

CLogger::CLogger(const char* filename, int level, int flags) : m_level(level), m_flags(flags) {
    // Names longer than the field are cut rather than overrunning it.
    std::strncpy(m_filename.data(), filename ? filename : "", m_filename.size() - 1);
    if (m_filename[0] != '\0') {
        if (std::FILE* file = std::fopen(m_filename.data(), "w")) {
            std::fclose(file);
        }
    }
}
