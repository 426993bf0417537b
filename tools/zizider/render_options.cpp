#include "tools/zizider/render_options.h"

#include <cstdlib>
#include <cstring>

namespace {

// A whole decimal number in [low, high]; nothing else accepted.
bool ParseBounded(const std::string& text, long long low, long long high, long long* value) {
  if (text.empty() || text.size() > 12) return false;
  long long v = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return false;
    v = v * 10 + (c - '0');
  }
  if (v < low || v > high) return false;
  *value = v;
  return true;
}

bool ParseHexColour(const std::string& text, COLORREF* colour) {
  std::string digits = text;
  if (!digits.empty() && digits[0] == '#') digits.erase(0, 1);
  if (digits.size() != 6) return false;
  unsigned value = 0;
  for (char c : digits) {
    int nibble;
    if (c >= '0' && c <= '9')
      nibble = c - '0';
    else if (c >= 'a' && c <= 'f')
      nibble = c - 'a' + 10;
    else if (c >= 'A' && c <= 'F')
      nibble = c - 'A' + 10;
    else
      return false;
    value = value * 16 + static_cast<unsigned>(nibble);
  }
  *colour = RGB((value >> 16) & 0xFF, (value >> 8) & 0xFF, value & 0xFF);
  return true;
}

bool ParseCell(const std::string& text, int* width, int* height) {
  const size_t x = text.find_first_of("xX");
  if (x == std::string::npos) return false;
  long long w = 0, h = 0;
  if (!ParseBounded(text.substr(0, x), 1, kMaxPageSide, &w)) return false;
  if (!ParseBounded(text.substr(x + 1), 1, kMaxPageSide, &h)) return false;
  *width = static_cast<int>(w);
  *height = static_cast<int>(h);
  return true;
}

CCommandLine Fail(std::string message) {
  CCommandLine result;
  result.error = std::move(message);
  return result;
}

// Options that take a value: the value either follows '=' or is the next word.
bool TakesValue(const std::string& name) {
  static const char* const kNames[] = {"-o",   "--output", "--cols", "--rows",  "--cell",
                                       "--fg", "--bg",     "--page", "--chunk", "--input"};
  for (const char* n : kNames)
    if (name == n) return true;
  return false;
}

std::string ApplyOption(const std::string& name, const std::string& value, CRenderOptions& options) {
  long long n = 0;
  if (name == "-o" || name == "--output") {
    if (value.empty()) return "option -o needs a file name";
    options.output = value;
  } else if (name == "--cols") {
    if (!ParseBounded(value, 1, kMaxPageSide, &n))
      return "--cols wants a whole number from 1 to 8192, not '" + value + "'";
    options.columns = static_cast<int>(n);
    options.gridGiven = true;
  } else if (name == "--rows") {
    if (!ParseBounded(value, 1, kMaxPageSide, &n))
      return "--rows wants a whole number from 1 to 8192, not '" + value + "'";
    options.rows = static_cast<int>(n);
    options.gridGiven = true;
  } else if (name == "--cell") {
    if (!ParseCell(value, &options.cellWidth, &options.cellHeight))
      return "--cell wants WIDTHxHEIGHT in pixels (such as 10x20), not '" + value + "'";
    options.cellGiven = true;
  } else if (name == "--fg" || name == "--bg") {
    COLORREF colour = 0;
    if (!ParseHexColour(value, &colour))
      return name + " wants a colour as RRGGBB (such as ffffff), not '" + value + "'";
    (name == "--fg" ? options.foreground : options.background) = colour;
  } else if (name == "--page") {
    if (value == "output")
      options.page = PageChoice::Output;
    else if (value == "screen")
      options.page = PageChoice::Screen;
    else
      return "--page wants 'output' or 'screen', not '" + value + "'";
  } else if (name == "--chunk") {
    if (!ParseBounded(value, 1, static_cast<long long>(kMaxChunk), &n))
      return "--chunk wants a number of bytes from 1 to 16777216, not '" + value + "'";
    options.chunk = static_cast<size_t>(n);
  } else if (name == "--input") {
    if (value == "auto")
      options.input = InputMode::Auto;
    else if (value == "dcs")
      options.input = InputMode::Dcs;
    else if (value == "plain")
      options.input = InputMode::Plain;
    else
      return "--input wants 'auto', 'dcs' or 'plain', not '" + value + "'";
  }
  return std::string();
}

}  // namespace

CCommandLine ParseCommandLine(int argc, const char* const* argv) {
  CCommandLine result;
  CRenderOptions& options = result.options;
  if (argc < 2) return Fail("missing command; try 'zizider --help'");

  int first = 1;
  const std::string command = argv[1];
  if (command == "render" || command == "show" || command == "run") {
    options.command = command;
    first = 2;
  } else if (command == "--help" || command == "-h" || command == "help") {
    options.help = true;
    result.ok = true;
    return result;
  } else if (command == "--version") {
    options.version = true;
    result.ok = true;
    return result;
  } else {
    return Fail("unknown command '" + command + "'; try 'zizider --help'");
  }

  bool onlyFiles = false;
  for (int i = first; i < argc; ++i) {
    const std::string word = argv[i];
    if (onlyFiles || word == "-" || word.empty() || word[0] != '-') {
      options.inputs.push_back(word);
      // The command's own options follow its name.
      if (command == "run") onlyFiles = true;
      continue;
    }
    if (word == "--") {
      onlyFiles = true;
      continue;
    }
    if (word == "--help" || word == "-h") {
      options.help = true;
      continue;
    }
    if (word == "--version") {
      options.version = true;
      continue;
    }
    if (word == "--window") {
      options.window = true;
      continue;
    }
    if (word == "--state") {
      options.state = true;
      continue;
    }
    if (word == "--real-time") {
      options.realTime = true;
      continue;
    }

    std::string name = word;
    std::string value;
    bool hasValue = false;
    const size_t eq = word.find('=');
    if (word.compare(0, 2, "--") == 0 && eq != std::string::npos) {
      name = word.substr(0, eq);
      value = word.substr(eq + 1);
      hasValue = true;
    } else if (word.size() > 2 && word.compare(0, 2, "-o") == 0) {
      name = "-o";
      value = word.substr(2);
      hasValue = true;
    }
    if (!TakesValue(name)) return Fail("unknown option '" + name + "'; try 'zizider " + command + " --help'");
    if (!hasValue) {
      if (i + 1 >= argc) return Fail("option " + name + " needs a value");
      value = argv[++i];
    }
    std::string error = ApplyOption(name, value, options);
    if (!error.empty()) return Fail(std::move(error));
  }

  const long long width = static_cast<long long>(options.columns) * options.cellWidth;
  const long long height = static_cast<long long>(options.rows) * options.cellHeight;
  if (width > kMaxPageSide || height > kMaxPageSide || width * height > kMaxPagePixels)
    return Fail("the page of " + std::to_string(width) + " x " + std::to_string(height) +
                " pixels is too large (at most 8192 on a side and 16777216 in all)");
  if (command != "render" && !options.output.empty())
    return Fail(command + " writes to standard output and takes no -o");
  if (command == "run" && options.inputs.empty() && !options.help && !options.version)
    return Fail("run needs a command: zizider run [options] -- COMMAND [ARG...]");
  if (options.window && options.page == PageChoice::Screen)
    return Fail("--window and --page screen cannot be combined: the window shows what the host repaints");

  result.ok = true;
  return result;
}

std::string DefaultOutputName(const std::string& input) {
  if (input.empty() || input == "-") return "out.png";
  const size_t slash = input.find_last_of('/');
  const size_t base = slash == std::string::npos ? 0 : slash + 1;
  const size_t dot = input.find_last_of('.');
  std::string name;
  // A leading dot names a hidden file, not an extension.
  if (dot != std::string::npos && dot > base)
    name = input.substr(0, dot) + ".png";
  else
    name = input + ".png";
  if (name == input) name = input + ".png";
  return name;
}

std::string UsageText() {
  return R"(usage: zizider render [options] [FILE...]
       zizider show [options] [FILE...]
       zizider run [options] -- COMMAND [ARG...]
       zizider print [options] [FILE...]   (see zizider print --help)
       zizider splash [-o FILE]
       zizider --help | --version

render draws ReGIS graphics as a terminal receives them into an 8-bit indexed
PNG. The FILEs are read one after another as one stream; '-' or no FILE reads
standard input.

show draws the same page and writes it to standard output as a sixel image,
which terminals with sixel graphics display. Without --cols, --rows and
--cell, a terminal on standard output gives its own text grid and cell size.

run starts COMMAND in a pseudo-terminal and passes its output through, except
ReGIS strings: those are drawn on one page for the whole session, shown as
sixel at the top left when a string ends (and every 100 ms while a long one
arrives), and the reports R(P) and R(E) ask for are typed back to COMMAND.
The exit status is COMMAND's.

Input: in a terminal stream ReGIS sits in DCS strings, ESC P ... p ... ESC \
(or the 8-bit forms 0x90 ... 0x9C, also as UTF-8 C2 90 ... C2 9C). Only those
with the final character 'p' and no intermediates are ReGIS; other DCS strings
(sixel and the like), escape sequences and text between strings are skipped.
The stream counts as such terminal data when a DCS introducer appears in its
first 64 KiB; otherwise the whole input is taken as plain ReGIS. NUL bytes are
always dropped.

Options:
  -o, --output FILE  PNG to write (default: the first input with its extension
                     replaced by .png; out.png for standard input). The file is
                     written whole or not at all.
  --cols N, --rows N text grid of the host window (default 80 x 24)
  --cell WxH         character cell in pixels (default 10x20; the page is then
                     800 x 480 and one ReGIS unit is one pixel)
  --fg RRGGBB        host foreground colour (default ffffff)
  --bg RRGGBB        host background colour (default 000000)
  --page output|screen
                     which graphics page to write (default output)
  --window           write the window's client area after a repaint instead
  --state            print the final state as one JSON object on standard
                     output: position, last_error [code, character code],
                     pages, output_page and screen_page (as ReGIS numbers
                     them, from 0), writing (the active writing controls),
                     text (the current text attributes), colour_map (16
                     entries of percent RGB)
  --chunk N          bytes handed to the library per string (default 4096)
  --input auto|dcs|plain
                     force terminal data or plain ReGIS (default auto)
  --real-time        let S(T...) delays take their real time; by default they
                     pass on a virtual clock and cost nothing
  --help, --version

Ctrl-C asks the library to stop; nothing is written and the exit status is 1.
Exit status: 0 done, 1 unreadable input, unwritable output or interrupted,
2 usage error. ReGIS syntax errors are never fatal.
)";
}
