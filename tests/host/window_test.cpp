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
