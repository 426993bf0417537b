// Feeding a run's inputs to the library as a terminal receives them: read
// file after file, DCS wrappers removed, handed over in strings of the
// chosen size. Ctrl-C asks the library to stop, as a terminal's break does.
#pragma once

#include <string>

#include "tools/zizider/host_window.h"
#include "tools/zizider/render_options.h"

// False with one line when an input cannot be read or the run was broken off.
bool FeedInputs(CHostWindow& host, const CRenderOptions& options, std::string* error);
