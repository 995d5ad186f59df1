#pragma once

#include "resources/HResult.h"

#include <exception>
#include <string>

// The engine's error type. It carries a finished text that names the class
// and method that threw it; nothing catches it to inspect a code, so the text
// is all there is. Script-facing code turns it into a script error, the
// program entry shows it and ends the run.
//
// The other exception types exist where a caller tells them apart:
// - EInterfaceBackend and its kinds (parser/): a typed sentence the parser
//   cannot read; the command flow hands the sentence on to the scripts as it is.
// - EPathFinder and its kinds (navigation/): no way or no grid; the scene
//   object that asked stays where it is.
// - EDispatchError (script/): a script called a member with wrong arguments;
//   it becomes that script's run-time error.
// - DInputScriptError and DInputReplayError (platform/): a mistake in an
//   --input file, found before the game starts or at the frame it names.
// Warnings and errors the game survives go to stderr through ReportWarning and
// ReportError (platform/DReport.h), never through printf of their own.
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
