// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>
#include <string>

// Where the runner sends an error that left one of its event handlers or its
// own clean-up, so that the program goes on: the program sets its error
// display here. Without a sink the text goes to standard error.
using TConsoleErrorSink = std::function<void(const std::string& text)>;

// Returns the previous sink; an empty sink restores standard error.
TConsoleErrorSink SetConsoleErrorSink(TConsoleErrorSink sink);

// Runs action; an exception leaving it goes to the sink ("Unknown error" for
// one that is not a std::exception) and no further.
void RunReportingErrors(const std::function<void()>& action);
