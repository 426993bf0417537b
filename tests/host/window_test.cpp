// The window exports: repaint, redraw control, scrolling, line feed and the
// cursor codes of KXREG_OutCursor.
#include <gtest/gtest.h>

#include "platform/soft/inspect.h"
#include "support/test_host.h"
#include "surface/graphics_state.h"
#include "surface/grdrv.h"

namespace inspect = soft::inspect;

TEST(Window, APaintCopiesThePageAndLeavesUpdatesSuspended) {
  CTestHost host;
  EXPECT_EQ(KXREG_SetRedraw(host.Host(), FALSE), 0);
  EXPECT_EQ(host.Surface()->redrawSuspended, 1);
  EXPECT_EQ(KXREG_SetRedraw(host.Host(), 5), 0) << "any non-zero value allows updates";
  EXPECT_EQ(host.Surface()->redrawSuspended, 0);
  KXREG_DrawPoint(host.Host(), 512, 384, 0);
  const uint32_t drawn = host.PageIndex(400, 240);
  InvalidateRect(host.Window(), nullptr, FALSE);
  host.Pump();
  EXPECT_GE(host.paints, 1);
  EXPECT_EQ(host.WindowIndex(400, 240), drawn);
  EXPECT_EQ(host.Surface()->redrawSuspended, 1);
}

TEST(Window, OnlySmoothLinesInvalidateTheWindow) {
  CTestHost host;
  host.Pump();
  inspect::ClearInvalidations(host.Window());
  KXREG_DrawLine(host.Host(), 0, 384, 1024, 384, 0);
  EXPECT_TRUE(inspect::Invalidations(host.Window()).empty());
  KXREG_SetSmooth(host.Host(), 1);
  KXREG_DrawLine(host.Host(), 0, 384, 1024, 384, 0);
  EXPECT_FALSE(inspect::Invalidations(host.Window()).empty());
}

TEST(Window, RefreshFromBufRepaintsTheWholeWindow) {
  CTestHost host;
  host.Pump();
  KXREG_DrawPoint(host.Host(), 512, 384, 0);
  ASSERT_NE(host.WindowIndex(400, 240), host.PageIndex(400, 240));
  ASSERT_EQ(KXREG_RefreshFromBuf(host.Host()), 0);
  host.Pump();
  EXPECT_EQ(host.WindowIndex(400, 240), host.PageIndex(400, 240));
}

TEST(Window, SetScrollPosLeavesAnAxisMarkedUnchangedAndSetScrollRangeOnlyStores) {
  CTestHost host;
  ASSERT_EQ(KXREG_SetScrollPos(host.Host(), 2, 1), 0);
  ASSERT_EQ(KXREG_SetScrollPos(host.Host(), 0xFFFF, 3), 0);
  EXPECT_EQ(host.Surface()->horzScrollPos, 2);
  EXPECT_EQ(host.Surface()->vertScrollPos, 3);
  EXPECT_EQ(host.Surface()->scrollY, 60);
  ASSERT_EQ(KXREG_SetScrollPos(host.Host(), 4, 0xFFFF), 0);
  EXPECT_EQ(host.Surface()->horzScrollPos, 4);
  EXPECT_EQ(host.Surface()->vertScrollPos, 3);
  ASSERT_EQ(KXREG_SetScrollRange(host.Host(), 10, 20), 0);
  EXPECT_EQ(host.Surface()->scrollY, 60) << "the range moves nothing";
}

TEST(Window, LineFeedScrollsTheScreenPageUpOneTextLine) {
  CTestHost host;
  KXREG_DrawPoint(host.Host(), 512, 384, 0);  // ReGIS (400, 240)
  const uint32_t drawn = host.PageIndex(400, 240);
  ASSERT_EQ(KXREG_LineFeed(host.Host()), 0);
  EXPECT_EQ(host.PageIndex(400, 220), drawn);
  EXPECT_NE(host.PageIndex(400, 240), drawn);
}

TEST(OutCursor, RemovePutsTheIBeamAndDestroysTheCaret) {
  CTestHost host;
  KXREG_OutCursor(host.Host(), 2);
  ASSERT_NE(inspect::Caret().owner, nullptr);
  EXPECT_EQ(KXREG_OutCursor(host.Host(), 1), 0);
  EXPECT_EQ(inspect::Caret().owner, nullptr);
  EXPECT_EQ(host.Surface()->mouseCursor, nullptr);
  EXPECT_EQ(inspect::CursorName(inspect::ClassCursor(host.Window())), "IDC_32513");
}

TEST(OutCursor, InstallAndShowLoadTheCursorAndShowTheCaretAndOnlyTheLowSixteenBitsCount) {
  CTestHost host;
  KXREG_OutCursor(host.Host(), 1);
  KXREG_SetRegisCurPos(host.Host(), 100, 100, 1);
  EXPECT_EQ(KXREG_OutCursor(host.Host(), 10), 0);
  EXPECT_EQ(inspect::CursorName(inspect::ClassCursor(host.Window())), "ReGisCursor");
  EXPECT_TRUE(inspect::Caret().shown);
  EXPECT_EQ(inspect::Caret().x, 100 - 10) << "at the current position";
  EXPECT_EQ(KXREG_OutCursor(host.Host(), 0x10004), 0);
  EXPECT_FALSE(inspect::Caret().shown) << "4 hides";
}

TEST(OutCursor, In4010ModeTheCursorIsInstalledOnlyWhenTheHostAsks) {
  CTestHost host;
  KXREG_OutCursor(host.Host(), 1);
  host.SetSetting(KXREG_SETTING_4010_MODE);
  EXPECT_EQ(KXREG_OutCursor(host.Host(), 2), 0);
  EXPECT_EQ(host.Surface()->mouseCursor, nullptr);
  EXPECT_EQ(inspect::Caret().owner, nullptr);
  host.SetSetting(KXREG_SETTING_CURSOR_IN_4010);
  EXPECT_EQ(KXREG_OutCursor(host.Host(), 2), 0);
  EXPECT_NE(host.Surface()->mouseCursor, nullptr);
  EXPECT_TRUE(inspect::Caret().shown);
}

TEST(OutCursor, ShowLeavesTheCaretHiddenWhileTheOutputCursorIsOff) {
  CTestHost host;
  KXREG_OutCursor(host.Host(), 2);
  KXREG_OutCursor(host.Host(), 4);
  host.State()->flags &= ~kOutputCursorOn;
  EXPECT_EQ(KXREG_OutCursor(host.Host(), 8), 0);
  EXPECT_FALSE(inspect::Caret().shown);
  host.State()->flags |= kOutputCursorOn;
  KXREG_OutCursor(host.Host(), 8);
  EXPECT_TRUE(inspect::Caret().shown);
}

TEST(OutCursor, RefreshWithTheGraphicsCursorSettingReinstallsTheCaret) {
  CTestHost host;
  host.SetSetting(KXREG_SETTING_GRAPHICS_CURSOR);
  ASSERT_EQ(KXREG_RefreshFromBuf(host.Host()), 0);
  EXPECT_TRUE(inspect::Caret().shown);
  EXPECT_EQ(inspect::CursorName(inspect::ClassCursor(host.Window())), "ReGisCursor");
}

namespace {

// The colour a soft-platform pixel shows, as KXREG_RefreshPixels writes it.
uint32_t HostPixel(COLORREF colour) {
  return (static_cast<uint32_t>(GetRValue(colour)) << 16) | (GetGValue(colour) << 8) | GetBValue(colour);
}

}  // namespace

TEST(RefreshPixels, GivesTheHostWhatARepaintedWindowShows) {
  CTestHost host;
  host.Feed("W(I2)P[100,100]V[700,300]C[+50]W(I3)P[0,0]V[0,479]");
  std::vector<uint32_t> pixels(800 * 481, 0x123456);
  ASSERT_EQ(KXREG_RefreshPixels(host.Host(), pixels.data(), 800, 481), 0);
  InvalidateRect(host.Window(), nullptr, FALSE);
  host.Pump();
  const inspect::Image window = host.WindowImage();
  size_t same = 0;
  for (size_t i = 0; i < window.rgb.size(); ++i) same += pixels[i] == HostPixel(window.rgb[i]);
  EXPECT_EQ(same, window.rgb.size());
  EXPECT_EQ(pixels[800 * 480 + 5], 0u) << "beyond the page stays black";
  EXPECT_NE(pixels[200 * 800 + 400], 0u) << "the line is there";
  EXPECT_EQ(host.Surface()->redrawSuspended, 1) << "a repaint like KXREG_Refresh";

  EXPECT_EQ(KXREG_RefreshPixels(host.Host(), nullptr, 800, 480), 1);
  EXPECT_EQ(KXREG_RefreshPixels(host.Host(), pixels.data(), 0, 480), 1);
  host.Erase();
  EXPECT_EQ(KXREG_RefreshPixels(host.Host(), pixels.data(), 800, 480), 1);
}

TEST(RefreshPixels, AHostWithoutAWindowGetsOneOfTheLibrarysOwnUntilErase) {
  auto settings = std::make_unique<KXREG_SETTINGS>();
  auto screen = std::make_unique<KXREG_SCREEN>();
  auto host = std::make_unique<KXREG_HOST>();
  screen->settings = settings.get();
  host->screen = screen.get();
  host->rows = 24;
  host->columns = 80;
  host->cellWidth = 10;
  host->cellHeight = 20;

  ASSERT_EQ(KXREG_Init(host.get(), 0xFFFFFF, 0, 1), 0);
  const HWND window = host->window;
  ASSERT_TRUE(IsWindow(window));
  EXPECT_EQ(screen->pumpWindow, window);
  EXPECT_EQ(GetWindowLongPtrA(window, 0), reinterpret_cast<LONG_PTR>(host.get()));
  EXPECT_EQ(KXREG_HandleNextString(host.get(), "P[100,100]V[300,100]"), 0) << "the pump finds the record";
  std::vector<uint32_t> pixels(800 * 480);
  ASSERT_EQ(KXREG_RefreshPixels(host.get(), pixels.data(), 800, 480), 0);
  EXPECT_EQ(pixels[100 * 800 + 200], 0xFFFFFFu);

  host->cellWidth = 8;
  ASSERT_EQ(KXREG_Reset(host.get(), 0xFFFFFF, 0, 0, 0), 0);
  RECT client{};
  GetClientRect(window, &client);
  EXPECT_EQ(client.right, 640) << "the window follows the geometry";

  EXPECT_EQ(KXREG_Erase(host.get()), 0);
  EXPECT_FALSE(IsWindow(window));
  EXPECT_EQ(host->window, nullptr);
  EXPECT_EQ(screen->pumpWindow, nullptr);
}
