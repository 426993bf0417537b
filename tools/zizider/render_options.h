// The command line of `zizider render`: what the user asked for, checked
// and turned into values, or one line saying what is wrong with it.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "platform/win32.h"

enum class PageChoice { Output, Screen };

// How the input is told apart: terminal data wrapped in DCS strings, or
// plain ReGIS.
enum class InputMode { Auto, Dcs, Plain };

struct CRenderOptions {
  std::string command = "render";   // render, show or run
  std::vector<std::string> inputs;  // "-" is standard input; none means standard input; for run the command
  std::string output;               // empty: derived from the first input
  int columns = 80, rows = 24;
  int cellWidth = 10, cellHeight = 20;
  bool gridGiven = false, cellGiven = false;  // else show and run ask the terminal
  COLORREF foreground = RGB(255, 255, 255);
  COLORREF background = RGB(0, 0, 0);
  size_t chunk = 4096;
  PageChoice page = PageChoice::Output;
  InputMode input = InputMode::Auto;
  bool window = false;
  bool state = false;
  bool realTime = false;
  bool help = false;
  bool version = false;
};

struct CCommandLine {
  bool ok = false;
  std::string error;  // one line, without the "zizider: " prefix
  CRenderOptions options;
};

// Bounds that keep a mistyped size from asking for gigabytes of bitmaps.
constexpr int kMaxPageSide = 8192;
constexpr long long kMaxPagePixels = 16LL * 1024 * 1024;
constexpr size_t kMaxChunk = 16u * 1024 * 1024;

// argv as main receives it: the command word (render, show, run) first, unless the
// user only asks for --help or --version.
CCommandLine ParseCommandLine(int argc, const char* const* argv);

// The PNG name for an input: its extension replaced by ".png" ("out.png"
// for standard input), ".png" appended where that would name the input.
std::string DefaultOutputName(const std::string& input);

std::string UsageText();
