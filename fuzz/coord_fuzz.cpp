// Feeds arbitrary bytes to the coordinate argument parser on its own, from a
// current position, screen-address transform and pixel-vector multiplier that
// the first bytes choose (the 32-bit extremes included), as the interpreter
// would offer them. Checks that a coordinate finishes exactly at its ']' and
// leaves exactly one point then and nothing before, and that the pixel-vector
// digits 8 and 9 leave a position alone.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>

#include "interp/coord_parser.h"
#include "interp/interpreter.h"
#include "support/test_host.h"
#include "surface/graphics_context.h"

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
  std::fprintf(stderr, "coord_fuzz: %s\n", what);
  std::abort();
}

int32_t Int32At(const uint8_t* data) {
  uint32_t v;
  std::memcpy(&v, data, sizeof v);
  return static_cast<int32_t>(v);
}

// Scales and offsets of the screen-address transforms tried: the identity,
// ordinary user coordinate systems (flipped axes too) and extreme ones.
constexpr double kTransforms[][4] = {
    {1.0, 0.0, 1.0, 0.0},   {2.0, 0.0, 2.0, 0.0},   {0.5, -100.0, -0.5, 40.0}, {-1.0, 799.0, 1.0, 0.0},
    {1e-9, 0.0, 1e-9, 5.0}, {1e9, -1e9, 1e9, 1e-9}, {0.0, 0.0, 0.0, 0.0},      {3.25, 12.5, -7.75, -3.5},
};

// Header: flags, transform, multiplier, then x and y of the current position.
constexpr size_t kHeader = 1 + 1 + 4 + 4 + 4;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < kHeader) return 0;
  CTestHost& host = Host();
  CInterpreter& interp = *host.Interpreter();
  CGraphicsState& state = *host.State();

  const uint8_t flags = data[0];
  const double* t = kTransforms[data[1] % (sizeof kTransforms / sizeof kTransforms[0])];
  interp.sx = t[0];
  interp.ox = t[1];
  interp.sy = t[2];
  interp.oy = t[3];
  interp.flags = (interp.flags & ~(kFlagRawCoordinates | kFlagRelativeFromCurrent)) |
                 ((flags & 1) ? kFlagRawCoordinates : 0) | ((flags & 2) ? kFlagRelativeFromCurrent : 0);
  const int32_t multiplier = Int32At(data + 2);
  state.x = Int32At(data + 6);
  state.y = Int32At(data + 10);
  interp.handoff.reset();

  std::unique_ptr<CCoordParser> parser;
  for (size_t i = kHeader; i < size; ++i) {
    char ch = static_cast<char>(data[i]);
    if (static_cast<uint8_t>(ch) < 32) continue;
    if (ch >= 'a' && ch <= 'z') ch = static_cast<char>(ch - 32);
    if (ch == ';') {
      parser.reset();
      continue;
    }
    if (!parser) {
      // Between coordinates: '[' opens one, a digit is a pixel vector from
      // the current position.
      if (ch == '[') parser = std::make_unique<CCoordParser>();
      if (ch >= '0' && ch <= '9' && !(interp.flags & kFlagRawCoordinates)) {
        const CPoint32 to = PixelVectorStep(ch - '0', multiplier, state.x, state.y, interp);
        // Rounding half up moves negative coordinates; others stay put.
        if (ch >= '8' && state.x >= 0 && state.y >= 0 && !(to.x == state.x && to.y == state.y))
          Fail("pixel vector 8 or 9 moved");
        state.x = to.x;
        state.y = to.y;
      }
      continue;
    }
    const int status = parser->Parse(ch, interp);
    if (status == PARSE_CONTINUE) {
      if (interp.handoff) Fail("a coordinate left a point before its ']'");
      continue;
    }
    if (status != PARSE_RETURN || ch != ']') Fail("a coordinate finished other than at its ']'");
    parser.reset();
    if (interp.flags & kFlagRawCoordinates) {
      CUserPoint raw;
      if (!TakeRawPoint(interp, raw)) Fail("no raw point after ']'");
    } else {
      CPoint32 point;
      if (!TakeDevicePoint(interp, point)) Fail("no point after ']'");
      state.x = point.x;
      state.y = point.y;
    }
  }
  interp.handoff.reset();
  interp.flags = kFlagRelativeFromCurrent;
  return 0;
}
