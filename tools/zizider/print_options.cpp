#include "tools/zizider/print_options.h"

#include <algorithm>
#include <utility>
#include <vector>

namespace {

constexpr CPaper kPapers[] = {
    {"a3", 2970, 4200}, {"a4", 2100, 2970}, {"a5", 1480, 2100}, {"letter", 2159, 2794}, {"legal", 2159, 3556},
};

bool ParseWhole(const std::string& text, int low, int high, int* value) {
  if (text.empty() || text.size() > 6) return false;
  int v = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return false;
    v = v * 10 + (c - '0');
  }
  if (v < low || v > high) return false;
  *value = v;
  return true;
}

CPrintCommandLine Fail(std::string message) {
  CPrintCommandLine result;
  result.error = std::move(message);
  return result;
}

// Tenths of a millimetre to pixels, rounded.
int ToPixels(long long tenthsMm, int dpi) {
  return static_cast<int>((tenthsMm * dpi + 127) / 254);
}

}  // namespace

CPrintArea PrintAreaOf(const CPrintOptions& options) {
  long long w = options.paper.widthTenthsMm, h = options.paper.heightTenthsMm;
  if (options.landscape) std::swap(w, h);
  const long long margin = options.marginMm * 10LL;
  CPrintArea area;
  area.sheetWidth = ToPixels(w, options.dpi);
  area.sheetHeight = ToPixels(h, options.dpi);
  area.left = area.top = ToPixels(margin, options.dpi);
  area.width = std::max(0, area.sheetWidth - 2 * area.left);
  area.height = std::max(0, area.sheetHeight - 2 * area.top);
  return area;
}

CPrintCommandLine ParsePrintCommandLine(int argc, const char* const* argv) {
  CPrintCommandLine result;
  CPrintOptions& options = result.options;
  // What render understands goes to its parser; the paper options stay here.
  std::vector<const char*> renderArgs = {argc > 0 ? argv[0] : "zizider", "render"};
  for (int i = 2; i < argc; ++i) {
    std::string word = argv[i];
    std::string name = word, value;
    const size_t eq = word.find('=');
    if (word.compare(0, 2, "--") == 0 && eq != std::string::npos) {
      name = word.substr(0, eq);
      value = word.substr(eq + 1);
    }
    if (name == "--window" || name == "--page" || name == "--state")
      return Fail(name + " is not an option of print; try 'zizider print --help'");
    if (name == "--landscape") {
      options.landscape = true;
      continue;
    }
    if (name != "--paper" && name != "--dpi" && name != "--margin") {
      renderArgs.push_back(argv[i]);
      continue;
    }
    if (eq == std::string::npos) {
      if (i + 1 >= argc) return Fail("option " + name + " needs a value");
      value = argv[++i];
    }
    if (name == "--paper") {
      bool found = false;
      for (const CPaper& paper : kPapers) {
        if (value == paper.name) {
          options.paper = paper;
          found = true;
        }
      }
      if (!found) return Fail("--paper wants a3, a4, a5, letter or legal, not '" + value + "'");
    } else if (name == "--dpi") {
      if (!ParseWhole(value, 10, 1200, &options.dpi))
        return Fail("--dpi wants a whole number from 10 to 1200, not '" + value + "'");
    } else if (!ParseWhole(value, 0, 50, &options.marginMm)) {
      return Fail("--margin wants millimetres from 0 to 50, not '" + value + "'");
    }
  }

  CCommandLine render = ParseCommandLine(static_cast<int>(renderArgs.size()), renderArgs.data());
  if (!render.ok) return Fail(render.error);
  options.render = render.options;
  const CPrintArea area = PrintAreaOf(options);
  if (static_cast<long long>(area.sheetWidth) * area.sheetHeight > kMaxSheetPixels)
    return Fail("a sheet of " + std::to_string(area.sheetWidth) + " x " + std::to_string(area.sheetHeight) +
                " pixels is too large; choose a lower --dpi");
  result.ok = true;
  return result;
}

std::string PrintUsageText() {
  return R"(usage: zizider print [options] [FILE...]

Renders ReGIS as 'zizider render' does, then prints the graphics page the way
a terminal prints it: through the library onto a 32-bit device context of a
sheet of paper, every text row and column of the screen, the aspect kept and
a hard-copy offset set by S(H(P[x,y])) honoured. The sheet is written as an
RGB PNG, white outside the picture.

Paper:
  --paper a3|a4|a5|letter|legal  (default a4)
  --landscape        turn the sheet
  --dpi N            device resolution, 10 to 1200 (default 150)
  --margin MM        unprinted border on every side (default 10)

Input and drawing: -o FILE, --cols, --rows, --cell, --fg, --bg, --chunk,
--input and --real-time as for render ('zizider render --help').
)";
}
