// The command line of `zizider print`: the options of render that say how
// the input is read and drawn, and the paper it is printed on.
#pragma once

#include <string>

#include "tools/zizider/render_options.h"

struct CPaper {
  const char* name;
  int widthTenthsMm, heightTenthsMm;  // portrait
};

struct CPrintOptions {
  CRenderOptions render;
  CPaper paper{"a4", 2100, 2970};
  int dpi = 150;
  int marginMm = 10;
  bool landscape = false;
};

struct CPrintCommandLine {
  bool ok = false;
  std::string error;  // one line, without the "zizider: " prefix
  CPrintOptions options;
};

// The paper's printable area (inside the margins) and the whole sheet, in
// device pixels at the chosen resolution.
struct CPrintArea {
  int sheetWidth = 0, sheetHeight = 0;
  int left = 0, top = 0, width = 0, height = 0;
};
CPrintArea PrintAreaOf(const CPrintOptions& options);

// Bounds that keep a sheet in memory: 64 Mi pixels of 32 bits.
constexpr long long kMaxSheetPixels = 64LL * 1024 * 1024;

// argv as main receives it, "print" first.
CPrintCommandLine ParsePrintCommandLine(int argc, const char* const* argv);

std::string PrintUsageText();
