// Feeds arbitrary bytes to the colour sub-parsers on their own: the colour
// specifier of W(I...) and S(I...) and the colour-map option S(M...), as the
// interpreter would offer them (control characters dropped, letters folded to
// upper case, ';' discarding the open parser). Checks that the specifier only
// ever stores a colour index from 0 to 15 and that the parsers answer with the
// statuses they may give.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>

#include "interp/interpreter.h"
#include "support/test_host.h"
#include "surface/color_map_parser.h"
#include "surface/color_spec_parser.h"
#include "surface/colour_map.h"

namespace {

CTestHost& Host() {
  static CTestHost* host = [] {
    soft::inspect::UseVirtualClock(true);
    soft::inspect::EchoMessageBoxes(false);
    CTestHost::Options options;
    options.cellWidth = 1;
    options.cellHeight = 1;
    return new CTestHost(options);
  }();
  return *host;
}

void Fail(const char* what) {
  std::fprintf(stderr, "colour_spec_fuzz: %s\n", what);
  std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  CTestHost& host = Host();
  CInterpreter& interp = *host.Interpreter();
  ResetColourMap();

  // The first byte chooses which parser starts; each finished parser is
  // followed by the other kind.
  bool map = data[0] & 1;
  constexpr int32_t kUntouched = -1;
  int32_t target = kUntouched;
  auto make = [&]() -> std::unique_ptr<CParseObj> {
    if (map) return std::make_unique<CColorMapParser>();
    target = kUntouched;
    return std::make_unique<CColorSpecParser>(&target);
  };
  std::unique_ptr<CParseObj> parser = make();
  for (size_t i = 1; i < size; ++i) {
    char ch = static_cast<char>(data[i]);
    if (static_cast<uint8_t>(ch) < 32) continue;
    if (ch >= 'a' && ch <= 'z') ch = static_cast<char>(ch - 32);
    const int status = ch == ';' ? PARSE_DONE : parser->Parse(ch, interp);
    if (target != kUntouched && (target < 0 || target > 15))
      Fail("a colour specifier stored an index outside 0..15");
    if (status != PARSE_CONTINUE && status != PARSE_DONE && status != PARSE_RETURN)
      Fail("unexpected parse status");
    if (status != PARSE_CONTINUE) {
      map = !map;
      parser = make();
    }
  }
  parser.reset();
  soft::inspect::ClearInvalidations(host.Window());
  host.Pump();
  return 0;
}
