// The host's 4010 primitives, coordinate conversions and 4010 redraw.
#include <gtest/gtest.h>

#include <climits>
#include <vector>

#include "host/coordinates.h"
#include "support/test_host.h"
#include "surface/graphics_state.h"
#include "surface/grdrv.h"

namespace {

std::vector<int> XY(POINT p) {
  return {p.x, p.y};
}

TEST(Coordinates, TekReGisAndWindowSpacesConvertWithTruncationAndWrapping) {
  const struct {
    bool toRegis;
    POINT in;
    int hiRes;
    std::vector<int> out;
  } rows[] = {
      {true, {0, 0}, 0, {0, 480}},  // the 4010 origin is bottom left
      {true, {4096, 3072}, 1, {800, 0}},
      {true, {2048, 1536}, -7, {400, 240}},  // any non-zero selects high resolution
      {true, {1, 1}, 0, {0, 479}},
      {true, {-1, 769}, 0, {0, 0}},             // negatives truncate toward zero
      {true, {INT_MAX, INT_MIN}, 0, {0, 480}},  // the product wraps at 32 bits
      {false, {0, 0}, 0, {0, 768}},
      {false, {400, 240}, 1, {2048, 1536}},
      {false, {1, 1}, 0, {1, 767}},
      {false, {INT_MIN, INT_MAX}, 1, {0, 3078}},
  };
  for (const auto& c : rows) {
    const CTekSpace space = TekSpace(c.hiRes);
    EXPECT_EQ(XY(c.toRegis ? TekToRegis(c.in, space) : RegisToTek(c.in, space)), c.out)
        << c.in.x << "," << c.in.y;
  }
  const CWindowGrid grid{80, 8, 25, 16};  // 640 x 400
  EXPECT_EQ(XY(RegisToWindow({799, 479}, grid)), std::vector<int>({639, 399}));
  EXPECT_EQ(XY(WindowToRegis({640, 400}, grid)), std::vector<int>({800, 480}));
  EXPECT_EQ(XY(WindowToRegis({5, 5}, CWindowGrid{0, 10, 0, 10})), std::vector<int>({0, 0}));
  const CWindowGrid huge{INT_MAX, INT_MAX, INT_MIN, -1};  // must not fault
  RegisToWindow({INT_MIN, INT_MAX}, huge);
  WindowToRegis({INT_MIN, INT_MAX}, huge);
  EXPECT_EQ(
      std::vector<int>({Mul32(INT_MAX, 2), Sub32(INT_MIN, 1), Div32(INT_MIN, -1), Div32(7, 0), Div32(-7, 2)}),
      std::vector<int>({-2, INT_MAX, INT_MIN, 0, -3}));
}

TEST(Tek4010, CurrentPositionsClampToTheirSpaceAndConvert) {
  CTestHost::Options options;
  options.cellWidth = 5;  // a 400 x 480 window: two units per pixel across
  CTestHost host(options);
  EXPECT_EQ(XY(KXREG_Set4010CurPos(host.Host(), -5, 5000, 0)), std::vector<int>({0, 0}));
  EXPECT_EQ(XY(KXREG_Set4010CurPos(host.Host(), 9999, -1, 1)), std::vector<int>({400, 480}));
  EXPECT_EQ(XY(KXREG_Get4010CurPos(host.Host(), 1)), std::vector<int>({4096, 0}));
  KXREG_SetRegisCurPos(host.Host(), 400, 240, 1);
  EXPECT_EQ(XY(KXREG_Get4010CurPos(host.Host(), 0)), std::vector<int>({512, 384}));
  // ReGIS units are clamped, window pixels are not.
  EXPECT_EQ(XY(KXREG_SetRegisCurPos(host.Host(), 900, -3, 1)), std::vector<int>({800, 0}));
  EXPECT_EQ(XY(KXREG_SetRegisCurPos(host.Host(), 100, 100, 0)), std::vector<int>({200, 100}));
  EXPECT_EQ(XY(KXREG_SetRegisCurPos(host.Host(), 1000, -10, 0)), std::vector<int>({2000, -10}));
  EXPECT_EQ(XY(KXREG_GetRegisCurPos(host.Host())), std::vector<int>({2000, -10}));
}

TEST(Tek4010, LinePatternCharactersSetThePenUnlessTheSolidSettingForcesIt) {
  const struct {
    int character;
    int style, width;
  } rows[] = {{'`', PS_SOLID, 1}, {'g', PS_SOLID, 1},   {'a', PS_DOT, 1},
              {'i', PS_DOT, 1},   {'b', PS_DASHDOT, 1}, {'j', PS_DASHDOT, 1},
              {'c', PS_DASH, 1},  {'l', PS_DASH, 1},    {'h', PS_SOLID, 3},
              {'o', PS_SOLID, 3}, {'x', 99, 99},        {'A', 99, 99}};  // upper case is none
  CTestHost host;
  for (const bool solid : {false, true}) {
    host.SetSetting(KXREG_SETTING_4010_SOLID, solid);
    for (const auto& c : rows) {
      host.Surface()->hostPenStyle = 99;
      host.Surface()->hostPenWidth = 99;
      KXREG_SetLinePattern(host.Host(), c.character);
      EXPECT_EQ(host.Surface()->hostPenStyle, solid ? PS_SOLID : c.style) << char(c.character);
      EXPECT_EQ(host.Surface()->hostPenWidth, solid ? 1 : c.width) << char(c.character);
    }
  }
  KXREG_SetWritingMode(host.Host(), '2');  // the writing-mode digit reaches the surface
  EXPECT_EQ(host.Surface()->hostWritingMode, 2);
}

class Tek4010Redraw : public testing::Test {
 protected:
  void SetUp() override { host.SetSetting(KXREG_SETTING_4010_MODE); }
  void ErasePage() { host.Surface()->FillPage(host.Surface()->pageDC[0], PALETTEINDEX(0)); }
  CTestHost host;
};

TEST_F(Tek4010Redraw, RefreshRedrawsTheRecordedLinesEachWithItsPenInTheSpaceOfTheFirst) {
  KXREG_SetLinePattern(host.Host(), 'h');
  KXREG_DrawLine(host.Host(), 0, 0, 10, 10, 0);  // fixes 1024 x 768
  KXREG_SetLinePattern(host.Host(), 'a');
  KXREG_DrawLine(host.Host(), 0, 384, 1024, 384, 0);
  KXREG_DrawLine(host.Host(), 0, 1536, 2048, 1536, 1);  // high resolution, y 240 there
  KXREG_SetLinePattern(host.Host(), 'e');
  const uint32_t drawn = host.PageIndex(400, 240);
  ErasePage();
  ASSERT_NE(host.PageIndex(400, 240), drawn);
  EXPECT_EQ(KXREG_RefreshFromBuf(host.Host()), 0);
  EXPECT_EQ(host.PageIndex(400, 240), drawn);
  // Taken as normal resolution, (2048, 1536) is (1600, -480), above the page.
  EXPECT_EQ(XY(KXREG_GetRegisCurPos(host.Host())), std::vector<int>({1600, -480}));
  EXPECT_EQ(host.Surface()->hostPenStyle, PS_DOT);
  EXPECT_EQ(host.Surface()->hostPenWidth, 1);
  ASSERT_EQ(KXREG_ClearParserBuf(host.Host()), 0);  // forgets the lines and their space
  EXPECT_TRUE(host.Surface()->vectors.Entries().empty());
  KXREG_DrawLine(host.Host(), 0, 0, 1, 1, 1);
  EXPECT_EQ(host.Surface()->vectors.width, 4096);
}

TEST_F(Tek4010Redraw, TheRedrawYieldsEveryHundredLinesAndAnAbortThenStopsIt) {
  for (int i = 0; i < 250; ++i) KXREG_DrawLine(host.Host(), 0, i, 100, i, 0);
  host.Pump();
  int dispatched = 0, yAtDispatch = -1;
  bool abort = false;
  host.onMessage = [&](UINT message, WPARAM, LPARAM) {
    if (message != WM_USER + 4) return false;
    ++dispatched;
    yAtDispatch = host.State()->y;
    if (abort) {
      host.SetSetting(KXREG_SETTING_ABORT);
      PostMessageA(host.Window(), WM_USER + 5, 0, 0);
    }
    return true;
  };
  PostMessageA(host.Window(), WM_USER + 4, 0, 0);
  EXPECT_EQ(KXREG_RefreshFromBuf(host.Host()), 0);
  EXPECT_EQ(dispatched, 1);
  EXPECT_EQ(yAtDispatch, TekToRegis({0, 99}, TekSpace(0)).y) << "after line 100";
  abort = true;
  PostMessageA(host.Window(), WM_USER + 4, 0, 0);
  EXPECT_EQ(KXREG_RefreshFromBuf(host.Host()), 1);
  EXPECT_FALSE(host.Setting(KXREG_SETTING_ABORT));
}

}  // namespace
