#pragma once

#include "resources/HResult.h"

#include <exception>
#include <string>

// The engine's one error type. It carries a finished text; nothing catches it
// to inspect a code, so the text is all there is. Script-facing code turns it
// into a script error, the program entry shows it and ends the run.
class CADVException : public std::exception {
public:
    // "Exception:\n" followed by the formatted text.
    explicit CADVException(const char* format, ...) __attribute__((format(printf, 2, 3)));
    // A four-line header naming the result code, then the formatted text.
    CADVException(HRESULT hr, const char* format, ...) __attribute__((format(printf, 3, 4)));

    const char* GetText() const noexcept { return m_message.c_str(); }
    // The text after its "Exception:" line, for quoting inside another message.
    const char* Reason() const noexcept { return m_message.c_str() + sizeof kHeader - 1; }
    const char* what() const noexcept override { return m_message.c_str(); }

private:
    // The line every text starts with.
    static constexpr char kHeader[] = "Exception:\n";

    std::string m_message;
};
