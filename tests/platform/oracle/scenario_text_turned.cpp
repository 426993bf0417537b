// Where turned text lands in whole pixels. Each figure is how far the same
// glyph moves between two calls (another alignment, leading spaces), which is
// exact even though the font engines draw different dots: it pins how the
// turned ascent, descent, advances and string extent are rounded.
#include <cstring>

#include "tests/platform/oracle/scenarios.h"

namespace oracle {
namespace {

const int kRef = 80;  // reference point in a 160 x 160 canvas

HFONT TurnedFont(int height, int escapement) {
  LOGFONTA lf;
  std::memset(&lf, 0, sizeof lf);
  lf.lfHeight = height;
  lf.lfEscapement = escapement;
  std::strncpy(lf.lfFaceName, "Courier New", LF_FACESIZE - 1);
  return CreateFontIndirectA(&lf);
}

// Top left corner of the ink of one call, drawn transparently in black on
// white; spaces leave no ink, so only the "H" counts.
POINT InkCorner(Canvas& c, const char* text, UINT align) {
  c.Fill(RGB(255, 255, 255));
  SetTextAlign(c.dc(), align);
  TextOutA(c.dc(), kRef, kRef, text, static_cast<int>(std::strlen(text)));
  Flush();
  POINT corner{1 << 30, 1 << 30};
  for (int y = 0; y < c.height(); ++y) {
    for (int x = 0; x < c.width(); ++x) {
      if (c.At(x, y) == RGB(255, 255, 255)) continue;
      corner.x = x < corner.x ? x : corner.x;
      corner.y = y < corner.y ? y : corner.y;
    }
  }
  return corner;
}

void AppendShift(std::string& out, const char* what, POINT p, POINT from) {
  Appendf(out, " %s %ld %ld", what, static_cast<long>(p.x - from.x), static_cast<long>(p.y - from.y));
}

POINT CurrentPositionAfter(Canvas& c, UINT align) {
  SetTextAlign(c.dc(), align);
  MoveToEx(c.dc(), kRef, kRef, nullptr);
  TextOutA(c.dc(), 0, 0, "Hgx", 3);
  POINT p{};
  GetCurrentPositionEx(c.dc(), &p);
  return p;
}

}  // namespace

// Relative to "H" drawn TA_BASELINE at the reference point: TA_TOP and
// TA_BOTTOM, one and three leading spaces, TA_RIGHT of "H" and TA_CENTER of
// "H  "; then where TA_UPDATECP leaves the current position after "Hgx".
ORACLE_SCENARIO(text_turned_placement) {
  Appendf(out, "\"Courier New\", shifts of the ink of \"H\" from TA_BASELINE at the reference point\n");
  for (int height : {-11, -13, -22}) {
    for (int esc : {100, 300, 450, 600, 1200, 1350, 2250, 3150}) {
      Canvas c(2 * kRef, 2 * kRef, RGB(255, 255, 255));
      SetTextColor(c.dc(), RGB(0, 0, 0));
      SetBkMode(c.dc(), TRANSPARENT);
      Selected<HFONT> font(c.dc(), TurnedFont(height, esc));
      const POINT base = InkCorner(c, "H", TA_BASELINE);
      Appendf(out, "height %d esc %4d:", height, esc);
      AppendShift(out, "top", InkCorner(c, "H", TA_TOP), base);
      AppendShift(out, "bottom", InkCorner(c, "H", TA_BOTTOM), base);
      AppendShift(out, "pen1", InkCorner(c, " H", TA_BASELINE), base);
      AppendShift(out, "pen3", InkCorner(c, "   H", TA_BASELINE), base);
      AppendShift(out, "right", InkCorner(c, "H", TA_BASELINE | TA_RIGHT), base);
      AppendShift(out, "centre", InkCorner(c, "H  ", TA_BASELINE | TA_CENTER), base);
      const POINT ref{kRef, kRef};
      AppendShift(out, "cp", CurrentPositionAfter(c, TA_UPDATECP), ref);
      AppendShift(out, "cp-right", CurrentPositionAfter(c, TA_UPDATECP | TA_RIGHT), ref);
      out += '\n';
    }
  }
}

}  // namespace oracle
