// Where turned text lands in whole pixels. Each figure is how far the same
// glyph moves between two calls (another alignment, leading spaces), which is
// exact even though the font engines draw different dots: it pins how the
// turned ascent, descent, advances and string extent are rounded.
#include <cstring>

#include "tests/platform/oracle/scenarios.h"

namespace oracle {
namespace {

const int kRef = 80;  // reference point in a 160 x 160 canvas

// Top left corner of the ink of one call, drawn transparently in black on
// white (spaces leave no ink, so only the "H" counts); or with TA_UPDATECP,
// where the call leaves the current position.
POINT After(Canvas& c, const char* text, UINT align) {
  c.Fill(kWhite);
  SetTextAlign(c.dc(), align);
  MoveToEx(c.dc(), kRef, kRef, nullptr);
  TextOutA(c.dc(), kRef, kRef, text, static_cast<int>(std::strlen(text)));
  POINT p{};
  GetCurrentPositionEx(c.dc(), &p);
  if (align & TA_UPDATECP) return p;
  Box ink;
  Bounds(c, kWhite, kWhite, &ink, nullptr);
  return POINT{ink.x0, ink.y0};
}

}  // namespace

// Relative to "H" drawn TA_BASELINE at the reference point: TA_TOP and
// TA_BOTTOM, one and three leading spaces, TA_RIGHT of "H" and TA_CENTER of
// "H  "; then where TA_UPDATECP leaves the current position after "Hgx".
ORACLE_SCENARIO(text_turned_placement) {
  const struct {
    const char *what, *text;
    UINT align;
  } shifts[] = {{"top", "H", TA_TOP},
                {"bottom", "H", TA_BOTTOM},
                {"pen1", " H", TA_BASELINE},
                {"pen3", "   H", TA_BASELINE},
                {"right", "H", TA_BASELINE | TA_RIGHT},
                {"centre", "H  ", TA_BASELINE | TA_CENTER},
                {"cp", "Hgx", TA_UPDATECP},
                {"cp-right", "Hgx", TA_UPDATECP | TA_RIGHT}};
  Appendf(out, "\"Courier New\", shifts of the ink of \"H\" from TA_BASELINE at the reference point\n");
  for (int height : {-11, -13, -22})
    for (int esc : {100, 300, 450, 600, 1200, 1350, 2250, 3150}) {
      Canvas c(2 * kRef, 2 * kRef);
      SetTextColor(c.dc(), kBlack);
      SetBkMode(c.dc(), TRANSPARENT);
      Selected<HFONT> font(c.dc(), MakeFont("Courier New", height, esc));
      const POINT base = After(c, "H", TA_BASELINE);
      Appendf(out, "height %d esc %4d:", height, esc);
      for (auto& s : shifts) {
        const POINT p = After(c, s.text, s.align), from = s.align & TA_UPDATECP ? POINT{kRef, kRef} : base;
        Appendf(out, " %s %ld %ld", s.what, static_cast<long>(p.x - from.x), static_cast<long>(p.y - from.y));
      }
      out += '\n';
    }
}

}  // namespace oracle
