// The host's 4010 primitives, the coordinate conversions and the redraw of
// recorded 4010 lines.
#include <gtest/gtest.h>

#include <climits>

#include "host/coordinates.h"
#include "support/test_host.h"
#include "surface/graphics_state.h"
#include "surface/grdrv.h"

namespace {

bool Same(POINT a, POINT b) {
  return a.x == b.x && a.y == b.y;
}

}  // namespace

TEST(Coordinates, TekAndReGisSpacesConvertWithTruncationAndWrapping) {
  const struct {
    const char* behaviour;
    bool toRegis;
    POINT in;
    int hiRes;
    POINT out;
  } rows[] = {
      {"the 4010 origin is bottom left", true, {0, 0}, 0, {0, 480}},
      {"the high-resolution corner", true, {4096, 3072}, 1, {800, 0}},
      {"any non-zero selects high resolution", true, {2048, 1536}, -7, {400, 240}},
      {"to ReGIS truncates", true, {1, 1}, 0, {0, 479}},
      {"negatives truncate toward zero", true, {-1, 769}, 0, {0, 0}},
      {"the product wraps at 32 bits", true, {INT_MAX, INT_MIN}, 0, {0, 480}},
      {"the ReGIS top left is the 4010 top", false, {0, 0}, 0, {0, 768}},
      {"the high-resolution centre", false, {400, 240}, 1, {2048, 1536}},
      {"to 4010 truncates", false, {1, 1}, 0, {1, 767}},
      {"extremes do not overflow", false, {INT_MIN, INT_MAX}, 1, {0, 3078}},
  };
  for (const auto& c : rows) {
    const CTekSpace space = TekSpace(c.hiRes);
    const POINT out = c.toRegis ? TekToRegis(c.in, space) : RegisToTek(c.in, space);
    EXPECT_EQ(out.x, c.out.x) << c.behaviour;
    EXPECT_EQ(out.y, c.out.y) << c.behaviour;
  }
}

TEST(Coordinates, WindowPixelsScaleWithTheTextGrid) {
  const CWindowGrid grid{80, 8, 25, 16};  // 640 x 400
  EXPECT_TRUE(Same(RegisToWindow({800, 480}, grid), {640, 400}));
  EXPECT_TRUE(Same(RegisToWindow({799, 479}, grid), {639, 399}));
  EXPECT_TRUE(Same(WindowToRegis({640, 400}, grid), {800, 480}));
  EXPECT_TRUE(Same(WindowToRegis({1, 1}, grid), {1, 1}));
}

TEST(Coordinates, ExtremeValuesWrapWithoutFault) {
  EXPECT_EQ(Mul32(INT_MAX, 2), -2);
  EXPECT_EQ(Sub32(INT_MIN, 1), INT_MAX);
  EXPECT_EQ(Div32(INT_MIN, -1), INT_MIN);
  EXPECT_EQ(Div32(7, 0), 0);
  EXPECT_EQ(Div32(-7, 2), -3);
  const CWindowGrid huge{INT_MAX, INT_MAX, INT_MIN, -1};
  RegisToWindow({INT_MIN, INT_MAX}, huge);
  WindowToRegis({INT_MIN, INT_MAX}, huge);
  EXPECT_TRUE(Same(WindowToRegis({5, 5}, CWindowGrid{0, 10, 0, 10}), {0, 0}));
}

TEST(Tek4010, DrawLineRunsFromBottomLeftToTopRight) {
  CTestHost host;
  const POINT end = KXREG_DrawLine(host.Host(), 0, 0, 1024, 768, 0);
  EXPECT_TRUE(Same(end, {800, 0}));
  EXPECT_TRUE(Same(KXREG_GetRegisCurPos(host.Host()), {800, 0}));
  const uint32_t background = host.PageIndex(0, 0);
  EXPECT_NE(host.PageIndex(5, 477), background);    // near (0, 480), the start
  EXPECT_NE(host.PageIndex(400, 240), background);  // the middle
  EXPECT_EQ(host.PageIndex(100, 100), background);  // off the diagonal
}

TEST(Tek4010, DrawLineRecordsTheLineWithThePenButDrawPointRecordsNothing) {
  CTestHost host;
  KXREG_SetLinePattern(host.Host(), 'a');
  KXREG_DrawLine(host.Host(), 1, 2, 3, 4, 1);
  const auto& entries = host.Surface()->vectors.Entries();
  ASSERT_EQ(entries.size(), 1u);
  EXPECT_EQ(entries[0].x1, 1);
  EXPECT_EQ(entries[0].y2, 4);
  EXPECT_EQ(entries[0].pen, 1u | (PS_DOT << 8));
  EXPECT_EQ(host.Surface()->vectors.width, 4096);
  EXPECT_EQ(host.Surface()->vectors.height, 3072);
  const POINT at = KXREG_DrawPoint(host.Host(), 512, 384, 0);
  EXPECT_TRUE(Same(at, {400, 240}));
  EXPECT_NE(host.PageIndex(400, 240), host.PageIndex(0, 0));
  EXPECT_EQ(host.Surface()->vectors.Entries().size(), 1u);
}

TEST(Tek4010, Set4010CurPosClampsToTheSpaceAndGet4010CurPosConvertsBack) {
  CTestHost host;
  EXPECT_TRUE(Same(KXREG_Set4010CurPos(host.Host(), -5, 5000, 0), {0, 0}));
  EXPECT_TRUE(Same(KXREG_GetRegisCurPos(host.Host()), {0, 0}));
  EXPECT_TRUE(Same(KXREG_Set4010CurPos(host.Host(), 9999, -1, 1), {800, 480}));
  EXPECT_TRUE(Same(KXREG_Get4010CurPos(host.Host(), 1), {4096, 0}));
  KXREG_SetRegisCurPos(host.Host(), 400, 240, 1);
  EXPECT_TRUE(Same(KXREG_Get4010CurPos(host.Host(), 0), {512, 384}));
}

TEST(Tek4010, SetRegisCurPosClampsReGisUnitsButNotPixels) {
  CTestHost::Options options;
  options.cellWidth = 5;  // a 400 x 480 window: two units per pixel across
  CTestHost host(options);
  EXPECT_TRUE(Same(KXREG_SetRegisCurPos(host.Host(), 900, -3, 1), {800, 0}));
  EXPECT_TRUE(Same(KXREG_SetRegisCurPos(host.Host(), 100, 100, 0), {200, 100}));
  EXPECT_TRUE(Same(KXREG_SetRegisCurPos(host.Host(), 1000, -10, 0), {2000, -10}));
  EXPECT_TRUE(Same(KXREG_GetRegisCurPos(host.Host()), {2000, -10}));
}

TEST(Tek4010, LinePatternCharactersSetThePenAndOthersLeaveIt) {
  const struct {
    int character;
    int style, width;
  } rows[] = {{'`', PS_SOLID, 1}, {'e', PS_SOLID, 1},   {'g', PS_SOLID, 1},   {'a', PS_DOT, 1},
              {'i', PS_DOT, 1},   {'b', PS_DASHDOT, 1}, {'j', PS_DASHDOT, 1}, {'c', PS_DASH, 1},
              {'l', PS_DASH, 1},  {'h', PS_SOLID, 3},   {'o', PS_SOLID, 3},   {'x', 99, 99},
              {'A', 99, 99}};  // upper case is no pattern
  CTestHost host;
  for (const auto& c : rows) {
    host.Surface()->hostPenStyle = 99;
    host.Surface()->hostPenWidth = 99;
    KXREG_SetLinePattern(host.Host(), c.character);
    EXPECT_EQ(host.Surface()->hostPenStyle, c.style) << char(c.character);
    EXPECT_EQ(host.Surface()->hostPenWidth, c.width) << char(c.character);
  }
}

TEST(Tek4010, TheSolidSettingForcesEveryPatternSolid) {
  CTestHost host;
  host.SetSetting(KXREG_SETTING_4010_SOLID);
  for (int ch : {'a', 'h', 'x'}) {
    host.Surface()->hostPenStyle = PS_DASH;
    host.Surface()->hostPenWidth = 3;
    KXREG_SetLinePattern(host.Host(), ch);
    EXPECT_EQ(host.Surface()->hostPenStyle, PS_SOLID) << ch;
    EXPECT_EQ(host.Surface()->hostPenWidth, 1) << ch;
  }
}

TEST(Tek4010, TheWritingModeDigitReachesTheSurface) {
  CTestHost::Options options;
  options.background = RGB(0, 0, 255);
  CTestHost host(options);
  auto colourAt = [&] { return host.PageImage().RgbAt(400, 240); };
  KXREG_DrawLine(host.Host(), 0, 384, 1024, 384, 0);  // y 240
  ASSERT_EQ(colourAt(), RGB(255, 255, 255));
  KXREG_SetWritingMode(host.Host(), '1');
  KXREG_DrawLine(host.Host(), 0, 384, 1024, 384, 0);
  EXPECT_EQ(colourAt(), RGB(0, 0, 255)) << "1 erases";
  KXREG_SetWritingMode(host.Host(), '2');
  EXPECT_EQ(host.Surface()->hostWritingMode, 2);
}

class Tek4010Redraw : public testing::Test {
 protected:
  void SetUp() override { host.SetSetting(KXREG_SETTING_4010_MODE); }
  void ErasePage() { host.Surface()->FillPage(host.Surface()->pageDC[0], PALETTEINDEX(0)); }
  CTestHost host;
};

TEST_F(Tek4010Redraw, RefreshRedrawsTheRecordedLinesEachWithItsPen) {
  KXREG_SetLinePattern(host.Host(), 'h');
  KXREG_DrawLine(host.Host(), 0, 0, 10, 10, 0);
  KXREG_SetLinePattern(host.Host(), 'a');
  KXREG_DrawLine(host.Host(), 0, 384, 1024, 384, 0);
  KXREG_SetLinePattern(host.Host(), 'e');
  const uint32_t drawn = host.PageIndex(400, 240);
  ErasePage();
  ASSERT_NE(host.PageIndex(400, 240), drawn);
  EXPECT_EQ(KXREG_RefreshFromBuf(host.Host()), 0);
  EXPECT_EQ(host.PageIndex(400, 240), drawn);
  EXPECT_TRUE(Same(KXREG_GetRegisCurPos(host.Host()), {800, 240}));
  EXPECT_EQ(host.Surface()->hostPenStyle, PS_DOT);
  EXPECT_EQ(host.Surface()->hostPenWidth, 1);
}

TEST_F(Tek4010Redraw, AllLinesUseTheSpaceOfTheFirstLine) {
  KXREG_DrawLine(host.Host(), 0, 384, 1, 384, 0);       // fixes 1024 x 768
  KXREG_DrawLine(host.Host(), 0, 1536, 2048, 1536, 1);  // high resolution, y 240 there
  ErasePage();
  ASSERT_EQ(KXREG_RefreshFromBuf(host.Host()), 0);
  // Taken as normal resolution, (2048, 1536) is (1600, -480): the second
  // line runs above the page, so nothing of it is at y 240.
  EXPECT_EQ(host.PageIndex(600, 240), host.PageIndex(600, 100));
  EXPECT_TRUE(Same(KXREG_GetRegisCurPos(host.Host()), {1600, -480}));
}

TEST_F(Tek4010Redraw, ClearingTheBufferForgetsTheLinesAndTheirSpace) {
  KXREG_DrawLine(host.Host(), 0, 384, 1024, 384, 1);
  ASSERT_EQ(KXREG_ClearParserBuf(host.Host()), 0);
  EXPECT_TRUE(host.Surface()->vectors.Entries().empty());
  EXPECT_EQ(host.Surface()->vectors.width, 0);
  KXREG_DrawLine(host.Host(), 0, 0, 1, 1, 0);
  EXPECT_EQ(host.Surface()->vectors.width, 1024);
}

TEST_F(Tek4010Redraw, TheRedrawYieldsEveryHundredLinesAndAnAbortThenStopsIt) {
  for (int i = 0; i < 250; ++i) KXREG_DrawLine(host.Host(), 0, i, 100, i, 0);
  host.Pump();
  int dispatched = 0;
  int linesAtDispatch = -1;
  bool abort = false;
  host.onMessage = [&](UINT message, WPARAM, LPARAM) {
    if (message != WM_USER + 4) return false;
    ++dispatched;
    linesAtDispatch = host.State()->y;
    if (abort) {
      host.SetSetting(KXREG_SETTING_ABORT);
      PostMessageA(host.Window(), WM_USER + 5, 0, 0);
    }
    return true;
  };
  PostMessageA(host.Window(), WM_USER + 4, 0, 0);
  EXPECT_EQ(KXREG_RefreshFromBuf(host.Host()), 0);
  EXPECT_EQ(dispatched, 1);
  // Dispatched at the first yield, after line 100 (4010 y 99).
  EXPECT_EQ(linesAtDispatch, TekToRegis({0, 99}, TekSpace(0)).y);
  abort = true;
  PostMessageA(host.Window(), WM_USER + 4, 0, 0);
  EXPECT_EQ(KXREG_RefreshFromBuf(host.Host()), 1);
  EXPECT_FALSE(host.Setting(KXREG_SETTING_ABORT));
}
