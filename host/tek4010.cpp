// The host's Tektronix 4010 primitives and the beam (current) position.
#include <algorithm>

#include "host/coordinates.h"
#include "host/instance.h"
#include "surface/graphics_state.h"
#include "surface/grdrv.h"

namespace {

constexpr POINT kNoPoint{-1, -1};

CWindowGrid GridOf(const KXREG_HOST* host) {
  return CWindowGrid{host->columns, host->cellWidth, host->rows, host->cellHeight};
}

void MoveTo(CGraphicsState& state, POINT regis) {
  state.x = regis.x;
  state.y = regis.y;
}

POINT CurrentPosition(const CGraphicsState& state) {
  return POINT{state.x, state.y};
}

// Pen style and width for a 4010 line-pattern character; false for a
// character that leaves the pen as it is.
bool PenOfPattern(int patternChar, int* style, int* width) {
  switch (patternChar) {
    case '`':
    case 'e':
    case 'f':
    case 'g':
      *style = PS_SOLID, *width = 1;
      return true;
    case 'a':
    case 'i':
      *style = PS_DOT, *width = 1;
      return true;
    case 'b':
    case 'j':
      *style = PS_DASHDOT, *width = 1;
      return true;
    case 'c':
    case 'd':
    case 'k':
    case 'l':
      *style = PS_DASH, *width = 1;
      return true;
    case 'h':
    case 'm':
    case 'n':
    case 'o':
      *style = PS_SOLID, *width = 3;
      return true;
    default:
      return false;
  }
}

}  // namespace

extern "C" {

KXREG_API POINT KXREG_DrawLine(KXREG_HOST* host, int x1, int y1, int x2, int y2, int hiRes) {
  CGrDrv* surface = SurfaceOf(host);
  CGraphicsState* state = StateOf(host);
  if (!surface || !state) return kNoPoint;
  const CTekSpace space = TekSpace(hiRes);
  CVectorList& vectors = surface->vectors;
  if (vectors.width == 0 || vectors.height == 0) {
    vectors.width = space.width;
    vectors.height = space.height;
  }
  const uint32_t pen = (static_cast<uint32_t>(surface->hostPenWidth) & 0xFF) |
                       ((static_cast<uint32_t>(surface->hostPenStyle) & 0xFF) << 8);
  vectors.Append(C4010Vector{x1, y1, x2, y2, pen});
  const POINT from = TekToRegis(POINT{x1, y1}, space);
  const POINT to = TekToRegis(POINT{x2, y2}, space);
  MoveTo(*state, to);
  surface->Draw4010Line(state, from.x, from.y, to.x, to.y, surface->smooth);
  return RegisToWindow(to, GridOf(host));
}

KXREG_API POINT KXREG_DrawPoint(KXREG_HOST* host, int x, int y, int hiRes) {
  CGrDrv* surface = SurfaceOf(host);
  CGraphicsState* state = StateOf(host);
  if (!surface || !state) return kNoPoint;
  const POINT at = TekToRegis(POINT{x, y}, TekSpace(hiRes));
  MoveTo(*state, at);
  surface->Draw4010Point(state, surface->smooth);
  return RegisToWindow(at, GridOf(host));
}

KXREG_API void KXREG_SetLinePattern(KXREG_HOST* host, int patternChar) {
  CGrDrv* surface = SurfaceOf(host);
  if (!surface) return;
  if (SettingOn(host, KXREG_SETTING_4010_SOLID)) patternChar = 'e';
  int style = 0, width = 0;
  if (!PenOfPattern(patternChar, &style, &width)) return;
  surface->hostPenStyle = style;
  surface->hostPenWidth = width;
}

KXREG_API void KXREG_SetWritingMode(KXREG_HOST* host, int modeChar) {
  CGrDrv* surface = SurfaceOf(host);
  if (!surface) return;
  surface->hostWritingMode = static_cast<uint8_t>(modeChar - '0');
}

KXREG_API POINT KXREG_Set4010CurPos(KXREG_HOST* host, int x, int y, int hiRes) {
  CGraphicsState* state = StateOf(host);
  if (!SurfaceOf(host) || !state) return kNoPoint;
  const CTekSpace space = TekSpace(hiRes);
  const POINT tek{std::clamp(x, 0, space.width), std::clamp(y, 0, space.height)};
  const POINT at = TekToRegis(tek, space);
  MoveTo(*state, at);
  return RegisToWindow(at, GridOf(host));
}

KXREG_API POINT KXREG_Get4010CurPos(KXREG_HOST* host, int hiRes) {
  const CGraphicsState* state = StateOf(host);
  if (!SurfaceOf(host) || !state) return kNoPoint;
  return RegisToTek(CurrentPosition(*state), TekSpace(hiRes));
}

KXREG_API POINT KXREG_SetRegisCurPos(KXREG_HOST* host, int x, int y, int reGISUnits) {
  CGraphicsState* state = StateOf(host);
  if (!state) return kNoPoint;
  const POINT at = reGISUnits ? POINT{std::clamp(x, 0, 800), std::clamp(y, 0, 480)}
                              : WindowToRegis(POINT{x, y}, GridOf(host));
  MoveTo(*state, at);
  return at;
}

KXREG_API POINT KXREG_GetRegisCurPos(KXREG_HOST* host) {
  const CGraphicsState* state = StateOf(host);
  return state ? CurrentPosition(*state) : kNoPoint;
}

}  // extern "C"
