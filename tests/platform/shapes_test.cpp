// Pixels, lines and shapes of the soft platform, checked by reading pixels.
#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cstdint>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "platform/soft/inspect.h"
#include "platform/win32.h"

namespace {

using Pixels = std::vector<std::pair<int, int>>;
using Art = std::vector<std::string>;

constexpr uint32_t kBlack = 0, kWhite = 255, kRed = 249;

// A memory DC on an 8-bit bitmap of the display's format, cleared to white.
// Pens and brushes made through it are deleted with it.
class Page {
 public:
  Page(int w, int h) : w_(w), h_(h) {
    HDC screen = GetDC(nullptr);
    dc_ = CreateCompatibleDC(screen);
    bmp_ = CreateCompatibleBitmap(screen, w, h);
    ReleaseDC(nullptr, screen);
    oldBmp_ = SelectObject(dc_, bmp_);
    oldPen_ = GetCurrentObject(dc_, OBJ_PEN);
    oldBrush_ = GetCurrentObject(dc_, OBJ_BRUSH);
    PatBlt(dc_, 0, 0, w, h, WHITENESS);
  }
  ~Page() {
    SelectObject(dc_, oldPen_);
    SelectObject(dc_, oldBrush_);
    SelectObject(dc_, oldBmp_);
    for (HGDIOBJ o : owned_) DeleteObject(o);
    DeleteObject(bmp_);
    DeleteDC(dc_);
  }
  HDC dc() const { return dc_; }
  void Pen(int style, int width, COLORREF colour) {
    Own(SelectObject(dc_, CreatePen(style, width, colour)), OBJ_PEN);
  }
  void Brush(COLORREF colour) { Own(SelectObject(dc_, CreateSolidBrush(colour)), OBJ_BRUSH); }
  void NoBrush() { SelectObject(dc_, GetStockObject(NULL_BRUSH)); }
  void NoPen() { SelectObject(dc_, GetStockObject(NULL_PEN)); }

  soft::inspect::Image Image() const { return soft::inspect::ReadBitmap(bmp_); }
  uint32_t Index(int x, int y) const { return Image().At(x, y); }
  // '#' black, '.' white, 'r' red, '*' any other index.
  Art Picture() const {
    const soft::inspect::Image img = soft::inspect::ReadBitmap(bmp_);
    Art rows;
    for (int y = 0; y < h_; ++y) {
      std::string row;
      for (int x = 0; x < w_; ++x) {
        const uint32_t v = img.At(x, y);
        row += v == kBlack ? '#' : v == kWhite ? '.' : v == kRed ? 'r' : '*';
      }
      rows.push_back(row);
    }
    return rows;
  }
  // Pixels that are no longer white, row by row.
  Pixels Changed() const {
    const soft::inspect::Image img = soft::inspect::ReadBitmap(bmp_);
    Pixels out;
    for (int y = 0; y < h_; ++y)
      for (int x = 0; x < w_; ++x)
        if (img.At(x, y) != kWhite) out.push_back({x, y});
    return out;
  }

 private:
  // SelectObject hands back the previous object; the new one is current now.
  void Own(HGDIOBJ previous, UINT type) {
    owned_.push_back(GetCurrentObject(dc_, type));
    (void)previous;
  }
  int w_, h_;
  HDC dc_;
  HBITMAP bmp_;
  HGDIOBJ oldBmp_, oldPen_, oldBrush_;
  std::vector<HGDIOBJ> owned_;
};

Pixels Sorted(Pixels p) {
  std::sort(p.begin(), p.end(),
            [](auto& a, auto& b) { return a.second != b.second ? a.second < b.second : a.first < b.first; });
  return p;
}

// The pixels of a that b lacks, in Sorted order.
Pixels Minus(const Pixels& a, const Pixels& b) {
  Pixels out;
  for (const auto& p : Sorted(a))
    if (std::find(b.begin(), b.end(), p) == b.end()) out.push_back(p);
  return out;
}

Pixels LinePixels(POINT from, POINT to, int w = 12, int h = 12) {
  Page page(w, h);
  MoveToEx(page.dc(), from.x, from.y, nullptr);
  LineTo(page.dc(), to.x, to.y);
  return page.Changed();
}

// ---- lines ----

TEST(Lines, LineToExcludesItsEndPixelAndMovesTheCurrentPosition) {
  Page page(8, 3);
  MoveToEx(page.dc(), 1, 1, nullptr);
  EXPECT_TRUE(LineTo(page.dc(), 5, 1));
  EXPECT_EQ(page.Changed(), (Pixels{{1, 1}, {2, 1}, {3, 1}, {4, 1}}));
  POINT cp{};
  ASSERT_TRUE(GetCurrentPositionEx(page.dc(), &cp));
  EXPECT_EQ(std::make_pair(cp.x, cp.y), std::make_pair(LONG{5}, LONG{1}));
}

TEST(Lines, DiamondRuleSequencesInEveryOctant) {
  struct Case {
    const char* name;
    POINT from, to;
    Pixels lit;
  } cases[] = {
      {"shallow down-right: a tie lights the upper pixel", {0, 0}, {4, 2}, {{0, 0}, {1, 0}, {2, 1}, {3, 1}}},
      {"shallow up-left: the same pixels from the other end",
       {4, 2},
       {0, 0},
       {{4, 2}, {3, 1}, {2, 1}, {1, 0}}},
      {"shallow up-right: a tie lights the upper pixel", {0, 2}, {4, 0}, {{0, 2}, {1, 1}, {2, 1}, {3, 0}}},
      {"shallow down-left", {4, 0}, {0, 2}, {{4, 0}, {3, 0}, {2, 1}, {1, 1}}},
      {"steep down-right: a tie lights the left pixel", {0, 0}, {2, 4}, {{0, 0}, {0, 1}, {1, 2}, {1, 3}}},
      {"steep up-left", {2, 4}, {0, 0}, {{2, 4}, {1, 3}, {1, 2}, {0, 1}}},
      {"steep down-left", {2, 0}, {0, 4}, {{2, 0}, {1, 1}, {1, 2}, {0, 3}}},
      {"steep up-right", {0, 4}, {2, 0}, {{0, 4}, {0, 3}, {1, 2}, {1, 1}}},
      {"without ties the nearest pixel", {0, 0}, {5, 2}, {{0, 0}, {1, 0}, {2, 1}, {3, 1}, {4, 2}}},
      {"steep without ties", {1, 0}, {3, 5}, {{1, 0}, {1, 1}, {2, 2}, {2, 3}, {3, 4}}},
      {"diagonal", {3, 3}, {0, 0}, {{3, 3}, {2, 2}, {1, 1}}},
      {"vertical upwards", {1, 3}, {1, 0}, {{1, 3}, {1, 2}, {1, 1}}},
      {"zero length lights nothing", {2, 2}, {2, 2}, {}},
  };
  for (const Case& c : cases) EXPECT_EQ(LinePixels(c.from, c.to), Sorted(c.lit)) << c.name;
}

TEST(Lines, ALineAndItsReverseLightTheSamePixelsBetweenTheirEnds) {
  std::mt19937 rng(7);
  for (int i = 0; i < 200; ++i) {
    const POINT a{static_cast<LONG>(rng() % 20), static_cast<LONG>(rng() % 20)};
    const POINT b{static_cast<LONG>(rng() % 20), static_cast<LONG>(rng() % 20)};
    Pixels forward = LinePixels(a, b, 20, 20), backward = LinePixels(b, a, 20, 20);
    if (a.x != b.x || a.y != b.y) {
      forward.push_back({b.x, b.y});
      backward.push_back({a.x, a.y});
    }
    EXPECT_EQ(Sorted(forward), Sorted(backward)) << a.x << "," << a.y << " - " << b.x << "," << b.y;
  }
}

TEST(Lines, PolylineLeavesTheCurrentPositionAndPaintsEachVertexOnce) {
  Page page(8, 8);
  MoveToEx(page.dc(), 7, 7, nullptr);
  page.Pen(PS_SOLID, 1, PALETTEINDEX(1));
  SetROP2(page.dc(), R2_XORPEN);
  const POINT pts[] = {{1, 1}, {5, 1}, {5, 5}, {1, 5}};
  EXPECT_TRUE(Polyline(page.dc(), pts, 4));
  EXPECT_EQ(page.Changed().size(), 12u) << "three sides of four pixels, none painted twice";
  EXPECT_EQ(page.Index(5, 1), kWhite ^ 1u);
  EXPECT_EQ(page.Index(1, 5), kWhite) << "the last point is not drawn";
  POINT cp{};
  GetCurrentPositionEx(page.dc(), &cp);
  EXPECT_EQ(std::make_pair(cp.x, cp.y), std::make_pair(LONG{7}, LONG{7}));
  EXPECT_FALSE(Polyline(page.dc(), pts, 1));
}

// ---- pen styles ----

TEST(PenStyles, CosmeticPatternsRepeatTheirDashesAndGaps) {
  struct Case {
    int style;
    const char* row;
  } cases[] = {
      {PS_SOLID, "########################################"},
      {PS_DASH, "##################......##################"},
      {PS_DOT, "###...###...###...###...###...###...###..."},
      {PS_DASHDOT, "#########......###......#########......###"},
      {PS_DASHDOTDOT, "#########...###...###...#########...###...###"},
      {PS_NULL, "........................................"},
  };
  for (const Case& c : cases) {
    const int n = static_cast<int>(std::string(c.row).size());
    Page page(n, 1);
    page.Pen(c.style, 1, 0);
    SetBkMode(page.dc(), TRANSPARENT);
    MoveToEx(page.dc(), 0, 0, nullptr);
    LineTo(page.dc(), n, 0);
    EXPECT_EQ(page.Picture(), Art{c.row}) << "style " << c.style;
  }
}

TEST(PenStyles, EachLineToRestartsThePatternButAPolylineCarriesIt) {
  Page page(10, 2);
  page.Pen(PS_DOT, 1, 0);
  SetBkMode(page.dc(), TRANSPARENT);
  MoveToEx(page.dc(), 0, 0, nullptr);
  LineTo(page.dc(), 4, 0);
  LineTo(page.dc(), 10, 0);
  const POINT pts[] = {{0, 1}, {4, 1}, {10, 1}};
  Polyline(page.dc(), pts, 3);
  EXPECT_EQ(page.Picture(), (Art{"###.###...", "###...###."}));
}

TEST(PenStyles, OpaqueGapsTakeTheBackgroundColourAndTransparentGapsAreLeft) {
  Page page(24, 2);
  page.Pen(PS_DASH, 1, 0);
  SetBkColor(page.dc(), RGB(255, 0, 0));
  MoveToEx(page.dc(), 0, 0, nullptr);
  LineTo(page.dc(), 24, 0);
  SetBkMode(page.dc(), TRANSPARENT);
  MoveToEx(page.dc(), 0, 1, nullptr);
  LineTo(page.dc(), 24, 1);
  EXPECT_EQ(page.Picture(), (Art{"##################rrrrrr", "##################......"}));
  SetBkMode(page.dc(), OPAQUE);
  SetBkColor(page.dc(), PALETTEINDEX(1));
  SetROP2(page.dc(), R2_XORPEN);
  MoveToEx(page.dc(), 0, 1, nullptr);
  LineTo(page.dc(), 24, 1);
  EXPECT_EQ(page.Index(20, 1), kWhite ^ 1u) << "gaps go through the ROP2 as well";
}

TEST(PenStyles, ANullPenDrawsNothingButLineToStillMoves) {
  Page page(6, 2);
  page.NoPen();
  MoveToEx(page.dc(), 0, 0, nullptr);
  EXPECT_TRUE(LineTo(page.dc(), 5, 1));
  EXPECT_TRUE(page.Changed().empty());
  POINT cp{};
  GetCurrentPositionEx(page.dc(), &cp);
  EXPECT_EQ(cp.x, 5);
}

// ---- raster operations ----

TEST(Mixes, BinaryRasterOperationsActOnPaletteIndices) {
  struct Case {
    const char* name;
    int rop2;
    uint32_t expected;
  } cases[] = {
      {"R2_NOT inverts the index bitwise", R2_NOT, 0xFEu},
      {"R2_XORPEN xors the pen's index into it", R2_XORPEN, 1u ^ 3u},
      {"R2_MERGEPEN ors it", R2_MERGEPEN, 1u | 3u},
      {"R2_NOP leaves it", R2_NOP, 1u},
  };
  for (const Case& c : cases) {
    Page page(4, 1);
    page.Pen(PS_SOLID, 1, PALETTEINDEX(3));
    SetPixel(page.dc(), 1, 0, PALETTEINDEX(1));
    SetROP2(page.dc(), c.rop2);
    MoveToEx(page.dc(), 1, 0, nullptr);
    LineTo(page.dc(), 2, 0);
    EXPECT_EQ(page.Index(1, 0), c.expected) << c.name;
    EXPECT_EQ(page.Index(2, 0), kWhite) << c.name;
  }
}

// Under XOR a pixel painted twice returns to white, so every outline must
// touch each of its pixels once.
TEST(Mixes, EveryShapePaintsEachPixelOnceUnderXor) {
  struct Case {
    const char* name;
    void (*draw)(HDC);
  } cases[] = {
      {"rectangle", [](HDC dc) { Rectangle(dc, 2, 3, 17, 12); }},
      {"thin rectangle", [](HDC dc) { Rectangle(dc, 2, 3, 3, 12); }},
      {"ellipse outline", [](HDC dc) { Ellipse(dc, 1, 2, 18, 17); }},
      {"thin ellipse outline", [](HDC dc) { Ellipse(dc, 1, 2, 2, 17); }},
      {"polygon outline",
       [](HDC dc) {
         const POINT pts[] = {{1, 1}, {17, 4}, {9, 16}, {3, 10}};
         Polygon(dc, pts, 4);
       }},
  };
  for (const Case& c : cases) {
    Page copy(20, 20), xored(20, 20);
    for (Page* p : {&copy, &xored}) p->Pen(PS_SOLID, 1, PALETTEINDEX(1));
    copy.Brush(PALETTEINDEX(1));
    xored.Brush(PALETTEINDEX(1));
    if (std::string(c.name).find("outline") != std::string::npos) {
      copy.NoBrush();
      xored.NoBrush();
    }
    SetROP2(xored.dc(), R2_XORPEN);
    c.draw(copy.dc());
    c.draw(xored.dc());
    EXPECT_EQ(xored.Changed(), copy.Changed()) << c.name;
  }
}

// With R2_XORPEN a black pen changes nothing and a red brush turns white
// cyan, which shows where the brush went.
TEST(Mixes, TheBrushRunsUnderAnEllipsesOutlineButNotARectangles) {
  Page page(24, 8);
  page.Brush(RGB(255, 0, 0));
  SetROP2(page.dc(), R2_XORPEN);
  Rectangle(page.dc(), 1, 1, 8, 7);
  Ellipse(page.dc(), 10, 1, 17, 6);
  EXPECT_EQ(page.Picture(), (Art{
                                "........................",  //
                                "............***.........",  //
                                "..*****...*******.......",  //
                                "..*****...*******.......",  //
                                "..*****...*******.......",  //
                                "..*****.....***.........",  //
                                "........................",  //
                                "........................",
                            }));
}

// ---- rectangles ----

TEST(Rectangles, OutlineAndInsideStayWithinTheRightAndBottomEdges) {
  const Art expected = {
      "........",  //
      ".#####..",  //
      ".#rrr#..",  //
      ".#rrr#..",  //
      ".#####..",  //
      "........",
  };
  for (bool reversed : {false, true}) {
    Page page(8, 6);
    page.Brush(RGB(255, 0, 0));
    EXPECT_TRUE(reversed ? Rectangle(page.dc(), 6, 5, 1, 1) : Rectangle(page.dc(), 1, 1, 6, 5));
    EXPECT_EQ(page.Picture(), expected) << (reversed ? "corners given reversed" : "");
  }
}

TEST(Rectangles, WithANullPenTheFillIsOnePixelSmaller) {
  Page page(8, 6);
  page.NoPen();
  page.Brush(RGB(255, 0, 0));
  Rectangle(page.dc(), 1, 1, 6, 5);
  EXPECT_EQ(page.Picture(), (Art{"........", ".rrrr...", ".rrrr...", ".rrrr...", "........", "........"}));
}

TEST(Rectangles, ANullBrushLeavesTheInsideAndEmptyBoxesDrawNothing) {
  Page page(6, 5);
  SetPixel(page.dc(), 2, 2, RGB(255, 0, 0));
  page.NoBrush();
  Rectangle(page.dc(), 1, 1, 4, 4);
  EXPECT_EQ(page.Picture(), (Art{"......", ".###..", ".#r#..", ".###..", "......"}));
  EXPECT_TRUE(Rectangle(page.dc(), 5, 0, 5, 4));
  EXPECT_EQ(page.Index(5, 0), kWhite);
}

TEST(Rectangles, AStyledOutlineRunsCounterclockwiseFromTheTopRight) {
  Page page(8, 8);
  page.Pen(PS_DOT, 1, 0);
  page.NoBrush();
  SetBkMode(page.dc(), TRANSPARENT);
  Rectangle(page.dc(), 0, 0, 8, 8);
  EXPECT_EQ(page.Picture(), (Art{"##...###", "#.......", ".......#", ".......#", ".......#", "#.......",
                                 "#.......", "#...###."}));
}

// ---- ellipses ----

TEST(Ellipses, WithANullPenTheBrushCoversWhatThePenWouldHaveOutlined) {
  for (RECT box : {RECT{1, 1, 11, 9}, RECT{2, 2, 9, 7}, RECT{1, 1, 4, 4}}) {
    Page outlined(12, 10), bare(12, 10);
    outlined.Brush(RGB(255, 0, 0));
    bare.Brush(RGB(255, 0, 0));
    bare.NoPen();
    Ellipse(outlined.dc(), box.left, box.top, box.right, box.bottom);
    Ellipse(bare.dc(), box.left, box.top, box.right, box.bottom);
    EXPECT_EQ(bare.Changed(), outlined.Changed()) << box.right - box.left << "x" << box.bottom - box.top;
  }
}

TEST(Ellipses, TinyBoxesFollowGdi) {
  Page page(10, 4);
  Ellipse(page.dc(), 1, 1, 2, 2);  // one pixel: nothing
  Ellipse(page.dc(), 3, 1, 5, 3);  // two by two: a block
  page.NoPen();
  page.Brush(RGB(255, 0, 0));
  Ellipse(page.dc(), 6, 1, 8, 3);  // two by two, brush only: its top left pixel
  EXPECT_EQ(page.Picture(), (Art{"..........", "...##.r...", "...##.....", ".........."}));
}

TEST(Ellipses, AClippedDashedOutlineKeepsItsPattern) {
  struct Case {
    const char* name;
    RECT whole;  // drawn on a large page
    int dx, dy;  // the same ellipse moved by this much onto a small page
  } cases[] = {
      {"cut at the left edge", {10, 5, 90, 45}, -40, 0},
      {"cut at the top, thousands of rows away", {0, 0, 2000, 3000}, 0, -1500},
  };
  for (const Case& c : cases) {
    const int bigW = std::min<int>(c.whole.right + 2, 100), bigH = std::min<int>(c.whole.bottom + 2, 3002);
    Page big(bigW, bigH), small(40, 40);
    for (Page* p : {&big, &small}) {
      p->Pen(PS_DASHDOTDOT, 1, 0);
      p->NoBrush();
    }
    Ellipse(big.dc(), c.whole.left, c.whole.top, c.whole.right, c.whole.bottom);
    Ellipse(small.dc(), c.whole.left + c.dx, c.whole.top + c.dy, c.whole.right + c.dx, c.whole.bottom + c.dy);
    const soft::inspect::Image part = small.Image(), whole = big.Image();
    for (int y = 0; y < 40; ++y)
      for (int x = 0; x < 40; ++x)
        ASSERT_EQ(part.At(x, y), whole.At(x - c.dx, y - c.dy)) << c.name << " at " << x << "," << y;
  }
}

TEST(Ellipses, ABillionPixelEllipseDrawsItsVisibleEdge) {
  Page page(6, 20);
  page.NoBrush();
  Ellipse(page.dc(), 0, -1000000000, 2000000000, 1000000000);
  for (int y = 0; y < 20; ++y) {
    EXPECT_EQ(page.Index(0, y), kBlack) << y;
    EXPECT_EQ(page.Index(1, y), kWhite) << y;
  }
}

// ---- arcs ----

TEST(Arcs, ComplementaryArcsEachLeaveOutThePixelBeforeTheirEnd) {
  Page quarter(22, 22), rest(22, 22), whole(22, 22);
  Arc(quarter.dc(), 1, 1, 21, 21, 21, 11, 11, 0);  // from three o'clock to twelve
  Arc(rest.dc(), 1, 1, 21, 21, 11, 0, 21, 11);
  whole.NoBrush();
  Ellipse(whole.dc(), 1, 1, 21, 21);
  const Pixels q = quarter.Changed(), r = rest.Changed();
  ASSERT_FALSE(q.empty());
  for (auto [x, y] : q) EXPECT_TRUE(x >= 11 && y <= 10) << "upper right only: " << x << "," << y;
  Pixels both = q;
  both.insert(both.end(), r.begin(), r.end());
  both = Sorted(both);
  EXPECT_EQ(std::adjacent_find(both.begin(), both.end()), both.end()) << "the arcs do not overlap";
  const Pixels missing = Minus(whole.Changed(), both);
  // The outline's point just before twelve o'clock and the lower of the
  // two points at three o'clock.
  EXPECT_EQ(missing, Sorted({{12, 1}, {20, 11}}));
}

TEST(Arcs, EqualRadialsDrawAllButThePixelBeforeTheStart) {
  Page arc(16, 12), ellipse(16, 12);
  Arc(arc.dc(), 0, 0, 16, 12, 4, 3, 0, 0);  // both on one ray from the centre
  ellipse.NoBrush();
  Ellipse(ellipse.dc(), 0, 0, 16, 12);
  EXPECT_EQ(Minus(ellipse.Changed(), arc.Changed()), (Pixels{{3, 1}}));
  EXPECT_TRUE(Minus(arc.Changed(), ellipse.Changed()).empty());
}

TEST(Arcs, ADashedArcStartsWithADashAtItsStart) {
  Page page(40, 40);
  page.Pen(PS_DASH, 1, 0);
  SetBkMode(page.dc(), TRANSPARENT);
  // From nine o'clock: the outline's point there on the upper side starts it.
  Arc(page.dc(), 0, 0, 40, 40, 0, 20, 40, 20);
  EXPECT_EQ(page.Index(0, 19), kBlack);
  EXPECT_EQ(page.Index(0, 18), kWhite) << "the upper half beyond the radial is not part of the arc";
  int lit = 0;
  for (int y = 19; y < 40; ++y) lit += page.Index(0, y) == kBlack || page.Index(1, y) == kBlack;
  EXPECT_GE(lit, 5);
}

TEST(Arcs, ArcsBetweenOppositeRadialsCarryMirroredDashes) {
  Page first(40, 40), second(40, 40);
  for (Page* p : {&first, &second}) {
    p->Pen(PS_DASHDOT, 1, 0);
    SetBkMode(p->dc(), TRANSPARENT);
  }
  Arc(first.dc(), 0, 0, 40, 40, 40, 0, 0, 40);  // from half past one round to half past seven
  Arc(second.dc(), 0, 0, 40, 40, 0, 40, 40, 0);
  const soft::inspect::Image a = first.Image(), b = second.Image();
  for (int y = 0; y < 40; ++y)
    for (int x = 0; x < 40; ++x) ASSERT_EQ(b.At(x, y), a.At(39 - x, 39 - y)) << x << "," << y;
  EXPECT_FALSE(first.Changed().empty());
}

// ---- polygons ----

TEST(Polygons, TheFillModeDecidesTheCentreOfAStar) {
  const POINT star[] = {{20, 2}, {31, 27}, {3, 11}, {37, 11}, {9, 27}};
  for (int mode : {ALTERNATE, WINDING}) {
    Page page(40, 30);
    page.NoPen();
    page.Brush(RGB(255, 0, 0));
    if (mode == WINDING) SetPolyFillMode(page.dc(), WINDING);
    EXPECT_TRUE(Polygon(page.dc(), star, 5));
    EXPECT_EQ(page.Index(20, 17), mode == WINDING ? kRed : kWhite) << "centre, mode " << mode;
    EXPECT_EQ(page.Index(20, 6), kRed) << "a point, mode " << mode;
  }
}

TEST(Polygons, TheFillExcludesRightAndBottomEdgesAndTheOutlineCloses) {
  const POINT square[] = {{1, 1}, {5, 1}, {5, 4}, {1, 4}};
  Page filled(7, 6), outlined(7, 6);
  filled.NoPen();
  filled.Brush(RGB(255, 0, 0));
  Polygon(filled.dc(), square, 4);
  EXPECT_EQ(filled.Picture(), (Art{".......", ".rrrr..", ".rrrr..", ".rrrr..", ".......", "......."}));
  const POINT triangle[] = {{1, 1}, {5, 1}, {1, 5}};
  outlined.NoBrush();
  Polygon(outlined.dc(), triangle, 3);
  EXPECT_EQ(outlined.Picture(), (Art{".......", ".#####.", ".#..#..", ".#.#...", ".##....", ".#....."}));
}

TEST(Polygons, BothFillModesAgreeOnASimplePolygon) {
  const POINT shape[] = {{2, 1}, {28, 6}, {20, 13}, {26, 25}, {3, 19}, {9, 11}};
  Art pictures[2];
  for (int mode : {ALTERNATE, WINDING}) {
    Page page(30, 27);
    page.NoPen();
    page.Brush(RGB(255, 0, 0));
    SetPolyFillMode(page.dc(), mode);
    Polygon(page.dc(), shape, 6);
    pictures[mode == WINDING] = page.Picture();
  }
  EXPECT_EQ(pictures[0], pictures[1]);
}

// ---- clipping ----

TEST(Clipping, AHugeLineLightsTheSameVisiblePixelsAsItsShortPiece) {
  for (int style : {PS_SOLID, PS_DASHDOT}) {
    Page huge(40, 30), piece(40, 30);
    for (Page* p : {&huge, &piece}) {
      p->Pen(style, 1, 0);
      SetBkMode(p->dc(), TRANSPARENT);
    }
    // Both run along y = x / 2. The huge one is 2000000016 steps, a whole
    // number of pattern periods, short of (14, 7), where the piece starts.
    MoveToEx(huge.dc(), -2000000002, -1000000001, nullptr);
    LineTo(huge.dc(), 2000000000, 1000000000);
    MoveToEx(piece.dc(), 14, 7, nullptr);
    LineTo(piece.dc(), 60, 30);
    Pixels tail;
    for (auto p : huge.Changed())
      if (p.first >= 14) tail.push_back(p);
    EXPECT_EQ(tail, piece.Changed()) << "style " << style;
    EXPECT_EQ(huge.Index(0, 0), style == PS_SOLID ? kBlack : kWhite) << "style " << style;
  }
}

TEST(Clipping, TheLongestLineMeetsTheDiamondRuleWhereItIsVisible) {
  Page page(800, 480);
  MoveToEx(page.dc(), INT_MIN, 0, nullptr);
  LineTo(page.dc(), INT_MAX, 479);
  const int64_t dx = int64_t{INT_MAX} - INT_MIN, dy = 479;
  Pixels expected;
  for (int64_t x = 0; x < 800; ++x) {
    // Nearest row to the true line, a tie going to the upper row.
    const int64_t num = 2 * (x - INT_MIN) * dy - dx;
    const int64_t y = num <= 0 ? 0 : (num + 2 * dx - 1) / (2 * dx);
    expected.push_back({static_cast<int>(x), static_cast<int>(y)});
  }
  EXPECT_EQ(page.Changed(), Sorted(expected));
}

// ---- FillRect, brushes, pixels ----

TEST(FillRects, FillRectCoversLeftAndTopButNotRightAndBottomAndIgnoresTheRop2) {
  Page page(6, 4);
  SetROP2(page.dc(), R2_NOT);
  HBRUSH red = CreateSolidBrush(RGB(255, 0, 0));
  const RECT r{1, 1, 4, 3};
  EXPECT_NE(FillRect(page.dc(), &r, red), 0);
  EXPECT_EQ(page.Picture(), (Art{"......", ".rrr..", ".rrr..", "......"}));
  DeleteObject(red);
  EXPECT_EQ(FillRect(page.dc(), &r, red), 0) << "a deleted brush fails";
}

TEST(FillRects, APatternBrushFollowsTheBrushOrigin) {
  // An 8 x 8 monochrome pattern whose column 0 is 0 bits: the text colour.
  const BYTE bits[16] = {0x7F, 0, 0x7F, 0, 0x7F, 0, 0x7F, 0, 0x7F, 0, 0x7F, 0, 0x7F, 0, 0x7F, 0};
  HBITMAP pattern = CreateBitmap(8, 8, 1, 1, bits);
  HBRUSH brush = CreatePatternBrush(pattern);
  const RECT r{0, 0, 16, 1};
  Page page(16, 2);
  FillRect(page.dc(), &r, brush);
  EXPECT_EQ(page.Picture()[0], "#.......#.......");
  SetBrushOrgEx(page.dc(), 3, 0, nullptr);
  HBRUSH again = CreatePatternBrush(pattern);  // a brush takes the origin in force when it is used
  FillRect(page.dc(), &r, again);
  EXPECT_EQ(page.Picture()[0], "...#.......#....");
  for (HGDIOBJ o : {static_cast<HGDIOBJ>(brush), static_cast<HGDIOBJ>(again), static_cast<HGDIOBJ>(pattern)})
    DeleteObject(o);
}

TEST(Pixels, SetPixelReturnsTheColourItSetAndFailsOutside) {
  Page page(4, 4);
  EXPECT_EQ(SetPixel(page.dc(), 1, 1, RGB(250, 5, 5)), RGB(255, 0, 0)) << "the nearest static colour";
  EXPECT_EQ(page.Index(1, 1), kRed);
  EXPECT_EQ(GetPixel(page.dc(), 1, 1), RGB(255, 0, 0));
  EXPECT_EQ(SetPixel(page.dc(), 4, 0, 0), CLR_INVALID);
  EXPECT_EQ(GetPixel(page.dc(), -1, 0), CLR_INVALID);
  SetROP2(page.dc(), R2_NOT);
  SetPixel(page.dc(), 2, 2, RGB(0, 0, 0));
  EXPECT_EQ(page.Index(2, 2), kBlack) << "SetPixel ignores the ROP2";
}

TEST(Pixels, MonochromeAndTrueColourTargetsGetTheirOwnPixels) {
  HDC dc = CreateCompatibleDC(nullptr);
  HBITMAP mono = CreateBitmap(4, 1, 1, 1, nullptr);
  HGDIOBJ old = SelectObject(dc, mono);
  EXPECT_EQ(SetPixel(dc, 0, 0, RGB(200, 200, 200)), RGB(255, 255, 255));
  EXPECT_EQ(SetPixel(dc, 1, 0, RGB(40, 40, 90)), RGB(0, 0, 0));
  BITMAPINFO bi{};
  bi.bmiHeader.biSize = sizeof bi.bmiHeader;
  bi.bmiHeader.biWidth = 4;
  bi.bmiHeader.biHeight = -2;
  bi.bmiHeader.biPlanes = 1;
  bi.bmiHeader.biBitCount = 32;
  void* bits = nullptr;
  HBITMAP dib = CreateDIBSection(dc, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
  SelectObject(dc, dib);
  HPEN pen = CreatePen(PS_SOLID, 1, RGB(10, 20, 30));
  HGDIOBJ oldPen = SelectObject(dc, pen);
  MoveToEx(dc, 0, 1, nullptr);
  LineTo(dc, 4, 1);
  EXPECT_EQ(GetPixel(dc, 3, 1), RGB(10, 20, 30));
  SelectObject(dc, oldPen);
  SelectObject(dc, old);
  for (HGDIOBJ o : {static_cast<HGDIOBJ>(pen), static_cast<HGDIOBJ>(dib), static_cast<HGDIOBJ>(mono)})
    DeleteObject(o);
  DeleteDC(dc);
}

TEST(Pixels, DrawingCallsOnADeletedDCFail) {
  HDC dc = CreateCompatibleDC(nullptr);
  DeleteDC(dc);
  const POINT pts[] = {{0, 0}, {1, 1}, {2, 0}};
  const RECT r{0, 0, 1, 1};
  EXPECT_EQ(SetPixel(dc, 0, 0, 0), CLR_INVALID);
  EXPECT_EQ(GetPixel(dc, 0, 0), CLR_INVALID);
  EXPECT_FALSE(MoveToEx(dc, 0, 0, nullptr));
  EXPECT_FALSE(LineTo(dc, 1, 1));
  EXPECT_FALSE(Polyline(dc, pts, 3));
  EXPECT_FALSE(Polygon(dc, pts, 3));
  EXPECT_FALSE(Rectangle(dc, 0, 0, 2, 2));
  EXPECT_FALSE(Ellipse(dc, 0, 0, 2, 2));
  EXPECT_FALSE(Arc(dc, 0, 0, 2, 2, 0, 0, 1, 1));
  EXPECT_EQ(FillRect(dc, &r, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH))), 0);
}

// ---- wide pens ----

TEST(WidePens, AWideLineIsAsThickAsThePenAndDrawsSolidWhateverItsStyle) {
  // A horizontal line from (5, 5) to (25, 5) covers rows [top, bottom] and,
  // with its round caps, columns [left, right] of row 5.
  struct Case {
    int width;
    int top, bottom, left, right;
  } cases[] = {{2, 4, 5, 4, 25}, {3, 4, 6, 4, 26}, {4, 3, 6, 3, 26}, {5, 3, 7, 3, 27}};
  for (const Case& c : cases) {
    Page page(30, 11);
    page.Pen(PS_DASH, c.width, 0);
    MoveToEx(page.dc(), 5, 5, nullptr);
    LineTo(page.dc(), 25, 5);
    for (int y = 0; y < 11; ++y) {
      const bool inside = y >= c.top && y <= c.bottom;
      EXPECT_EQ(page.Index(15, y), inside ? kBlack : kWhite) << "width " << c.width << " row " << y;
    }
    const std::string row = page.Picture()[5];
    EXPECT_EQ(static_cast<int>(row.find('#')), c.left) << "width " << c.width;
    EXPECT_EQ(static_cast<int>(row.rfind('#')), c.right) << "width " << c.width;
  }
}

TEST(WidePens, AWidePolylinePaintsItsJoinsOnceUnderXor) {
  const POINT pts[] = {{4, 4}, {25, 8}, {8, 20}, {26, 24}};
  Page copy(32, 32), xored(32, 32);
  for (Page* p : {&copy, &xored}) p->Pen(PS_SOLID, 5, PALETTEINDEX(1));
  SetROP2(xored.dc(), R2_XORPEN);
  Polyline(copy.dc(), pts, 4);
  Polyline(xored.dc(), pts, 4);
  EXPECT_EQ(xored.Changed(), copy.Changed());
}

TEST(WidePens, AnInsideFramePenStaysInsideTheBox) {
  Page page(20, 20);
  page.Pen(PS_INSIDEFRAME, 5, 0);
  page.Brush(RGB(255, 0, 0));
  Rectangle(page.dc(), 3, 3, 17, 15);
  Ellipse(page.dc(), 3, 3, 17, 15);
  for (auto [x, y] : page.Changed()) EXPECT_TRUE(x >= 3 && x < 17 && y >= 3 && y < 15) << x << "," << y;
  EXPECT_EQ(page.Index(3, 9), kBlack);
  EXPECT_EQ(page.Index(10, 9), kRed);
}

}  // namespace
