#pragma once

#include <array>

// Names a log file and starts it empty. Derived classes pass an empty name when
// they want no file at all.
class CLogger {
public:
    CLogger(const char* filename, int level, int flags);
    virtual ~CLogger() = default;

    const char* GetFilename() const { return m_filename.data(); }
    int GetLevel() const { return m_level; }
    int GetFlags() const { return m_flags; }

private:
    std::array<char, 256> m_filename{};
    int m_level;
    int m_flags;
};
