#pragma once

#include <string>

// The one way the engine tells the player or the author something on stderr:
// one line, "morvane: " and the text; a warning (the game goes on as well as
// it can) says so after the prefix. Fatal errors that end the run have their
// own path (the entry point's error report).
void ReportError(const std::string& text);
void ReportWarning(const std::string& text);
