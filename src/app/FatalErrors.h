#pragma once

#include <functional>

// The one place that decides what an error reaching the top of the program
// does: its text on stderr and, with a display, in a message box; exit status 1.
// Returns what `run` returned when nothing escaped it.
int RunReportingFatalErrors(const std::function<int()>& run, bool allowDialog);
