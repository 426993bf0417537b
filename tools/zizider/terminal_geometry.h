// The text grid and cell size of the terminal the picture is shown on, so a
// page covers the text area as it would on a graphics terminal.
#pragma once

#include <string>

#include "tools/zizider/render_options.h"

struct CTerminalGeometry {
  int columns = 0, rows = 0;
  int cellWidth = 0, cellHeight = 0;  // 0 while unknown
};

// Reads the answers to the window-size reports in any order among other
// bytes: "CSI 6;h;w t" the cell, "CSI 4;h;w t" the text area in pixels,
// "CSI 8;rows;columns t" the grid. Fills only what it finds.
void ParseSizeAnswers(const std::string& answers, CTerminalGeometry* geometry);

// The grid and pixel size from the kernel; when the kernel knows no pixels,
// the terminal on ttyFd (put in raw mode meanwhile) is asked, waiting at most
// timeoutMs for a terminal that never answers. False when nothing was found.
bool AskTerminalGeometry(int ttyFd, int timeoutMs, CTerminalGeometry* geometry);

// Fills the grid and cell that the user left out from the terminal on
// standard output; changes nothing when there is none or it tells nothing,
// and keeps the page within the size limits.
void ApplyTerminalGeometry(CRenderOptions& options);
