// The window exports: scrolling, line feed, KXREG_OutCursor, RefreshPixels.
#include <gtest/gtest.h>

#include "platform/soft/inspect.h"
#include "support/test_host.h"
#include "surface/graphics_state.h"
#include "surface/grdrv.h"

namespace inspect = soft::inspect;

namespace {

TEST(Window, ScrollPositionsAndLineFeed) {
  CTestHost host;
  ASSERT_EQ(KXREG_SetScrollPos(host.Host(), 2, 1), 0);
  ASSERT_EQ(KXREG_SetScrollPos(host.Host(), 0xFFFF, 3), 0);  // an axis marked unchanged
  EXPECT_EQ(host.Surface()->horzScrollPos, 2);
  EXPECT_EQ(host.Surface()->scrollY, 60);
  ASSERT_EQ(KXREG_SetScrollPos(host.Host(), 4, 0xFFFF), 0);
  EXPECT_EQ(host.Surface()->horzScrollPos, 4);
  EXPECT_EQ(host.Surface()->vertScrollPos, 3);
  ASSERT_EQ(KXREG_SetScrollRange(host.Host(), 10, 20), 0);
  EXPECT_EQ(host.Surface()->scrollY, 60) << "the range only stores";
  KXREG_DrawPoint(host.Host(), 512, 384, 0);  // ReGIS (400, 240)
  const uint32_t drawn = host.PageIndex(400, 240);
  ASSERT_EQ(KXREG_LineFeed(host.Host()), 0);  // scrolls the screen page up one text line
  EXPECT_EQ(host.PageIndex(400, 220), drawn);
  EXPECT_NE(host.PageIndex(400, 240), drawn);
}

TEST(OutCursor, RemoveInstallShowAndHideAndOnlyTheLowSixteenBitsCount) {
  CTestHost host;
  KXREG_OutCursor(host.Host(), 2);
  EXPECT_EQ(KXREG_OutCursor(host.Host(), 1), 0);  // removes: the I-beam, no caret
  EXPECT_EQ(inspect::Caret().owner, nullptr);
  EXPECT_EQ(host.Surface()->mouseCursor, nullptr);
  EXPECT_EQ(inspect::CursorName(inspect::ClassCursor(host.Window())), "IDC_32513");
  KXREG_SetRegisCurPos(host.Host(), 100, 100, 1);
  EXPECT_EQ(KXREG_OutCursor(host.Host(), 10), 0);
  EXPECT_EQ(inspect::CursorName(inspect::ClassCursor(host.Window())), "ReGisCursor");
  EXPECT_TRUE(inspect::Caret().shown);
  EXPECT_EQ(inspect::Caret().x, 100 - 10) << "at the current position";
  EXPECT_EQ(KXREG_OutCursor(host.Host(), 0x10004), 0);
  EXPECT_FALSE(inspect::Caret().shown) << "4 hides";
  host.State()->flags &= ~kOutputCursorOn;
  EXPECT_EQ(KXREG_OutCursor(host.Host(), 8), 0);
  EXPECT_FALSE(inspect::Caret().shown) << "not while the output cursor is off";
  host.State()->flags |= kOutputCursorOn;
  KXREG_OutCursor(host.Host(), 8);
  EXPECT_TRUE(inspect::Caret().shown);
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
  host.SetSetting(KXREG_SETTING_4010_MODE, false);
  KXREG_OutCursor(host.Host(), 1);
  host.SetSetting(KXREG_SETTING_GRAPHICS_CURSOR);  // a refresh then reinstalls the caret
  ASSERT_EQ(KXREG_RefreshFromBuf(host.Host()), 0);
  EXPECT_TRUE(inspect::Caret().shown);
  EXPECT_EQ(inspect::CursorName(inspect::ClassCursor(host.Window())), "ReGisCursor");
}

TEST(RefreshPixels, GivesTheHostWhatARepaintedWindowShows) {
  CTestHost host;
  host.Feed("W(I2)P[100,100]V[700,300]C[+50]W(I3)P[0,0]V[0,479]");
  std::vector<uint32_t> pixels(800 * 481, 0x123456);
  ASSERT_EQ(KXREG_RefreshPixels(host.Host(), pixels.data(), 800, 481), 0);
  InvalidateRect(host.Window(), nullptr, FALSE);
  host.Pump();
  const inspect::Image window = host.WindowImage();
  size_t same = 0;
  for (size_t i = 0; i < window.rgb.size(); ++i) {
    const COLORREF c = window.rgb[i];
    same += pixels[i] == ((static_cast<uint32_t>(GetRValue(c)) << 16) | (GetGValue(c) << 8) | GetBValue(c));
  }
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
  KXREG_SETTINGS settings{};
  KXREG_SCREEN screen{};
  KXREG_HOST host{};
  screen.settings = &settings;
  host.screen = &screen;
  host.rows = 24;
  host.columns = 80;
  host.cellWidth = 10;
  host.cellHeight = 20;
  ASSERT_EQ(KXREG_Init(&host, 0xFFFFFF, 0, 1), 0);
  const HWND window = host.window;
  ASSERT_TRUE(IsWindow(window));
  EXPECT_EQ(screen.pumpWindow, window);
  EXPECT_EQ(GetWindowLongPtrA(window, 0), reinterpret_cast<LONG_PTR>(&host));
  EXPECT_EQ(KXREG_HandleNextString(&host, "P[100,100]V[300,100]"), 0) << "the pump finds the record";
  std::vector<uint32_t> pixels(800 * 480);
  ASSERT_EQ(KXREG_RefreshPixels(&host, pixels.data(), 800, 480), 0);
  EXPECT_EQ(pixels[100 * 800 + 200], 0xFFFFFFu);
  host.cellWidth = 8;
  ASSERT_EQ(KXREG_Reset(&host, 0xFFFFFF, 0, 0, 0), 0);
  RECT client{};
  GetClientRect(window, &client);
  EXPECT_EQ(client.right, 640) << "the window follows the geometry";
  EXPECT_EQ(KXREG_Erase(&host), 0);
  EXPECT_FALSE(IsWindow(window));
  EXPECT_EQ(host.window, nullptr);
  EXPECT_EQ(screen.pumpWindow, nullptr);
}

}  // namespace
