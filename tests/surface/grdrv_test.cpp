// The drawing surface: pages and scaling, erasing, clearing, scrolling,
// copying to the window, the waits, the graphics cursor, the palette and
// the host's 4010 primitives, checked through pixels and the soft
// platform's records.
#include "surface/grdrv.h"

#include <gtest/gtest.h>

#include <climits>

#include "platform/soft/inspect.h"
#include "surface/colour_map.h"
#include "surface/host_link.h"
#include "surface_window.h"

namespace {

using surface_test::Geometry;
using surface_test::Log;
using surface_test::SurfaceWindow;
namespace inspect = soft::inspect;

COLORREF MapColour(int index) {
  return ColourToRgb(WorkingColourMap()[index]);
}

int CountRows(const inspect::Image& img, int x, uint32_t value) {
  int n = 0;
  for (int y = 0; y < img.height; ++y) n += img.At(x, y) == value ? 1 : 0;
  return n;
}

// --- Scaling -------------------------------------------------------------

struct ScaleCase {
  const char* behaviour;
  int columns, cellWidth, rows, cellHeight;
  int x, y;
  int pixelX, pixelY;
};

const ScaleCase kScaleCases[] = {
    {"one unit is one pixel on an 800 x 480 page", 80, 10, 24, 20, 799, 479, 799, 479},
    {"x 799 truncates on a 1000-pixel page", 100, 10, 24, 20, 799, 0, 998, 0},
    {"x 799 shrinks on a 640-pixel page", 80, 8, 24, 20, 799, 0, 639, 0},
    {"y 480 is one past the last row", 80, 10, 25, 16, 0, 480, 0, 400},
    {"negative units truncate toward zero", 80, 8, 24, 10, -1, -1, 0, 0},
    {"negative units scale", 80, 10, 24, 20, -801, -481, -801, -481},
    {"INT_MAX wraps the 32-bit product", 80, 10, 24, 20, INT_MAX, INT_MAX, -1, -1},
    {"INT_MIN wraps the 32-bit product", 80, 10, 24, 20, INT_MIN, INT_MIN, 0, 0},
};

class PixelScaling : public ::testing::TestWithParam<ScaleCase> {};

TEST_P(PixelScaling, ProductFirstTruncating) {
  const ScaleCase& c = GetParam();
  CGrDrv surface;
  surface.SetTermParm(nullptr, c.rows, c.columns, c.cellWidth, c.cellHeight, 1);
  EXPECT_EQ(surface.PixelX(c.x), c.pixelX) << c.behaviour;
  EXPECT_EQ(surface.PixelY(c.y), c.pixelY) << c.behaviour;
}

INSTANTIATE_TEST_SUITE_P(Surface, PixelScaling, ::testing::ValuesIn(kScaleCases));

// --- Pages ---------------------------------------------------------------

TEST(SetTermParm, StoresTheGeometryEvenWithoutAWindow) {
  CGrDrv surface;
  EXPECT_EQ(surface.SetTermParm(nullptr, 24, 80, 9, 15, 1), 0);
  EXPECT_EQ(surface.pageWidth, 720);
  EXPECT_EQ(surface.pageHeight, 360);
  EXPECT_EQ(surface.pageDC[0], nullptr);
}

TEST(SetTermParm, AFailedBitmapIsReportedInAStopBox) {
  SurfaceWindow w;
  inspect::ClearMessageBoxes();
  inspect::EchoMessageBoxes(false);
  EXPECT_EQ(w.surface->SetTermParm(w.window, -3, 80, 10, 20, 2), 0);
  const auto boxes = inspect::MessageBoxes();
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].text, "Failed to create Bitmap");
  EXPECT_EQ(boxes[0].caption, "CGrDrv::SetTermParm");
  EXPECT_EQ(boxes[0].type, static_cast<UINT>(MB_ICONSTOP));
  EXPECT_EQ(boxes[0].owner, w.window);
  EXPECT_EQ(w.surface->pageDC[1], nullptr) << "the page stays without a DC";
  inspect::ClearMessageBoxes();
  inspect::EchoMessageBoxes(true);
}

TEST(SetTermParm, RecreatesAPageAtTheNewSize) {
  SurfaceWindow w;
  ASSERT_EQ(w.surface->SetTermParm(w.window, 10, 20, 8, 16, 1), 1);
  const inspect::Image img = inspect::ReadBitmap(w.surface->pageBitmap[0]);
  EXPECT_EQ(img.width, 160);
  EXPECT_EQ(img.height, 160);
}

TEST(ReleasePage, EmptiesThePageFields) {
  SurfaceWindow w;
  w.surface->ReleasePage(2);
  EXPECT_EQ(w.surface->pageDC[1], nullptr);
  EXPECT_EQ(w.surface->pageBitmap[1], nullptr);
  EXPECT_EQ(w.surface->previousBitmap[1], nullptr);
  EXPECT_NE(w.surface->pageDC[0], nullptr);
  w.surface->ReleasePage(2);  // harmless twice
}

TEST(Destruction, FreesEveryHandleTheSurfaceMade) {
  const size_t before = inspect::LiveHandles();
  {
    SurfaceWindow w;
    w.surface->CreateGraphicsCaret();
    w.surface->ShowGraphicsCaret(w.State());
  }
  EXPECT_EQ(inspect::LiveHandles(), before);
}

TEST(EraseAllPages, FillsBothPagesWithTheBackgroundIndex) {
  SurfaceWindow w;
  w.State()->background = 3;
  w.surface->EraseAllPages(w.State());
  EXPECT_EQ(w.PageColour(1, 0, 0), MapColour(3));
  EXPECT_EQ(w.PageColour(1, 799, 479), MapColour(3));
  EXPECT_EQ(w.PageColour(2, 400, 240), MapColour(3));
}

struct PageRuleCase {
  const char* behaviour;
  int pages, outputPage, screenPage;
  int outputSlot, screenSlot;
};

const PageRuleCase kPageRules[] = {
    {"both on page 1", 2, 0, 0, 0, 0},
    {"drawing on page 2, showing page 1", 2, 1, 0, 1, 0},
    {"drawing on page 1, showing page 2", 2, 0, 1, 0, 1},
    {"a single page serves every selection", 1, 1, 1, 0, 0},
};

class PageSelection : public ::testing::TestWithParam<PageRuleCase> {};

TEST_P(PageSelection, DrawingUsesTheOutputPageClearingTheScreenPage) {
  const PageRuleCase& c = GetParam();
  SurfaceWindow w;
  w.State()->pages = c.pages;
  w.State()->outputPage = c.outputPage;
  w.State()->screenPage = c.screenPage;
  EXPECT_EQ(w.surface->OutputDC(w.State()), w.surface->pageDC[c.outputSlot]) << c.behaviour;
  EXPECT_EQ(w.surface->ScreenDC(w.State()), w.surface->pageDC[c.screenSlot]) << c.behaviour;
}

INSTANTIATE_TEST_SUITE_P(Surface, PageSelection, ::testing::ValuesIn(kPageRules));

// --- Points --------------------------------------------------------------

TEST(PlotPoint, DrawsTheForegroundMaskedByThePlanes) {
  SurfaceWindow w;
  w.State()->active->foreground = 7;
  w.State()->active->planeMask = 5;
  w.State()->x = 100;
  w.State()->y = 50;
  w.surface->PlotPoint(w.State());
  EXPECT_EQ(w.PageColour(1, 100, 50), MapColour(5));
}

TEST(PlotPoint, InvalidatesOnePixelWhenUpdatesAreAllowed) {
  SurfaceWindow w;
  w.surface->smooth = 1;
  w.surface->SetVertScroll(1, w.State());
  w.State()->x = 100;
  w.State()->y = 50;
  w.surface->PlotPoint(w.State());
  const auto rects = inspect::Invalidations(w.window);
  ASSERT_EQ(rects.size(), 1u);
  EXPECT_EQ(rects[0].left, 100);
  EXPECT_EQ(rects[0].top, 30) << "window coordinates are page minus scroll";
  EXPECT_EQ(rects[0].right, 101);
  EXPECT_EQ(rects[0].bottom, 31);
}

TEST(PlotPoint, DoesNotInvalidateWhenDrawingOnAHiddenPage) {
  SurfaceWindow w;
  w.surface->smooth = 1;
  w.State()->outputPage = 1;
  w.surface->PlotPoint(w.State());
  EXPECT_TRUE(inspect::Invalidations(w.window).empty());
  EXPECT_EQ(w.PageColour(2, 0, 0), MapColour(7));
}

TEST(PlotPoint, DoesNotInvalidateWhileRedrawIsSuspended) {
  SurfaceWindow w;
  w.surface->redrawSuspended = 1;
  w.surface->PlotPoint(w.State());
  EXPECT_TRUE(inspect::Invalidations(w.window).empty());
}

// --- Copying to the window ----------------------------------------------

class CopyToWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    w.State()->background = 4;
    w.surface->EraseAllPages(w.State());
  }
  // How many rows of column 5 of the window show the page.
  int RowsCopied(int left, int top, int right, int bottom) {
    HDC dc = GetDC(w.window);
    w.surface->CopyToWindow(dc, w.State(), left, top, right, bottom);
    ReleaseDC(w.window, dc);
    const inspect::Image img = inspect::ReadWindow(w.window);
    return CountRows(img, 5, w.PageIndex(1, 5, 5));
  }
  SurfaceWindow w;
};

TEST_F(CopyToWindowTest, CopiesOnlyWholeCharacterRows) {
  EXPECT_EQ(RowsCopied(0, 0, 50, 30), 20);
}

TEST_F(CopyToWindowTest, CopiesNothingBelowOneCellHeight) {
  EXPECT_EQ(RowsCopied(0, 0, 50, 19), 0);
}

TEST_F(CopyToWindowTest, CopiesNothingWhileRedrawIsSuspended) {
  w.surface->redrawSuspended = 1;
  EXPECT_EQ(RowsCopied(0, 0, 800, 480), 0);
}

TEST_F(CopyToWindowTest, SmoothDrawingCopiesEvenWhenSuspended) {
  w.surface->redrawSuspended = 1;
  w.surface->smooth = 1;
  EXPECT_EQ(RowsCopied(0, 0, 800, 480), 480);
}

TEST_F(CopyToWindowTest, TheSourceFollowsTheScrollPosition) {
  w.State()->background = 0;
  w.State()->active->foreground = 2;
  w.State()->x = 5;
  w.State()->y = 45;
  w.surface->PlotPoint(w.State());
  w.surface->SetVertScroll(2, w.State());
  HDC dc = GetDC(w.window);
  w.surface->CopyToWindow(dc, w.State(), 0, 0, 800, 440);
  ReleaseDC(w.window, dc);
  EXPECT_EQ(inspect::ReadWindow(w.window).RgbAt(5, 5), MapColour(2));
}

// --- Clearing ------------------------------------------------------------

TEST(ClearScreenPage, WhileSuspendedLeavesThePageAndTheHostAlone) {
  SurfaceWindow w;
  w.screen->field64 = 9;
  w.State()->active->foreground = 2;
  w.surface->PlotPoint(w.State());
  w.surface->redrawSuspended = 1;
  w.State()->background = 5;
  w.surface->ClearScreenPage(w.State(), 1);
  EXPECT_EQ(w.PageColour(1, 0, 0), MapColour(2));
  EXPECT_TRUE(Log().pagesErased.empty());
  EXPECT_EQ(w.screen->field2C, 0);
  EXPECT_EQ(w.surface->initialText, 1);
}

TEST(ClearScreenPage, ErasesTheScreenPageAndTellsTheHost) {
  SurfaceWindow w;
  w.screen->field64 = 9;
  w.State()->background = 5;
  w.State()->screenPage = 1;
  w.surface->ClearScreenPage(w.State(), 1);
  EXPECT_EQ(w.PageColour(2, 10, 10), MapColour(5));
  EXPECT_NE(w.PageColour(1, 10, 10), MapColour(5)) << "page 1 is not the screen page";
  ASSERT_EQ(Log().pagesErased.size(), 1u);
  EXPECT_EQ(Log().pagesErased[0], w.screen.get());
  EXPECT_EQ(w.screen->field2C, 8);
  EXPECT_EQ(w.surface->initialText, 0);
  const auto rects = inspect::Invalidations(w.window);
  ASSERT_EQ(rects.size(), 1u);
  EXPECT_EQ(rects[0].right, 800) << "the whole client area";
}

TEST(ClearScreenPage, WithoutInvalidateLeavesTheWindowAlone) {
  SurfaceWindow w;
  w.surface->ClearScreenPage(w.State(), 0);
  EXPECT_TRUE(inspect::Invalidations(w.window).empty());
  EXPECT_EQ(Log().pagesErased.size(), 1u);
}

TEST(ClearScreenPage, WithoutAScreenRecordStillErasesButCallsNoOne) {
  SurfaceWindow w;
  w.host->screen = nullptr;
  w.State()->background = 6;
  w.surface->ClearScreenPage(w.State(), 0);
  EXPECT_EQ(w.PageColour(1, 1, 1), MapColour(6));
  EXPECT_TRUE(Log().pagesErased.empty());
}

TEST(ClearScreenPage, FieldArithmeticWraps) {
  SurfaceWindow w;
  w.screen->field64 = INT_MIN;
  w.surface->ClearScreenPage(w.State(), 0);
  EXPECT_EQ(w.screen->field2C, INT_MAX);
}

// --- Scrolling -----------------------------------------------------------

TEST(ScrollPage, LessThanOnePixelScrollsAndFillsNothing) {
  SurfaceWindow w(Geometry{24, 80, 8, 16}, RGB(255, 255, 255), RGB(0, 0, 255));
  w.State()->active->foreground = 2;
  w.State()->x = 0;
  w.State()->y = 0;
  w.surface->PlotPoint(w.State());
  inspect::ClearInvalidations(w.window);
  const inspect::Image before = inspect::ReadBitmap(w.surface->pageBitmap[0]);
  w.surface->ScrollPage(w.State(), 1, 1);  // 640 / 800 and 384 / 480 of a pixel
  const inspect::Image after = inspect::ReadBitmap(w.surface->pageBitmap[0]);
  EXPECT_EQ(before.pixels, after.pixels);
  EXPECT_TRUE(inspect::Invalidations(w.window).empty());
}

TEST(ScrollPage, UpwardsFillsTheBottomBandWithTheHostBackgroundRgb) {
  SurfaceWindow w(Geometry{}, RGB(255, 255, 255), RGB(0, 0, 255));
  w.State()->background = 3;  // green in the map: the band must not use it
  w.surface->EraseAllPages(w.State());
  w.State()->active->foreground = 2;
  w.State()->x = 10;
  w.State()->y = 100;
  w.surface->PlotPoint(w.State());
  inspect::ClearInvalidations(w.window);

  w.surface->ScrollPage(w.State(), 0, -20);
  EXPECT_EQ(w.PageColour(1, 10, 80), MapColour(2)) << "the picture moved up";
  EXPECT_EQ(w.PageColour(1, 10, 459), MapColour(3));
  EXPECT_EQ(w.PageColour(1, 10, 460), RGB(0, 0, 255));
  EXPECT_EQ(w.PageColour(1, 799, 479), RGB(0, 0, 255));
  const auto rects = inspect::Invalidations(w.window);
  ASSERT_EQ(rects.size(), 1u);
  EXPECT_EQ(rects[0].top, 460);
  EXPECT_EQ(rects[0].bottom, 480);
  EXPECT_EQ(rects[0].right, 800);
}

TEST(ScrollPage, RightAndDownFillTheLeftAndTopBands) {
  SurfaceWindow w(Geometry{}, RGB(255, 255, 255), RGB(255, 0, 0));
  w.State()->background = 3;
  w.surface->EraseAllPages(w.State());
  w.surface->ScrollPage(w.State(), 30, 10);
  EXPECT_EQ(w.PageColour(1, 29, 400), RGB(255, 0, 0));
  EXPECT_NE(w.PageColour(1, 30, 400), RGB(255, 0, 0));
  EXPECT_EQ(w.PageColour(1, 500, 9), RGB(255, 0, 0));
  EXPECT_NE(w.PageColour(1, 500, 10), RGB(255, 0, 0));
  EXPECT_EQ(inspect::Invalidations(w.window).size(), 2u);
}

TEST(ScrollPage, IgnoresRedrawSuspended) {
  SurfaceWindow w;
  w.surface->redrawSuspended = 1;
  w.surface->ScrollPage(w.State(), -10, 0);
  EXPECT_EQ(inspect::Invalidations(w.window).size(), 1u);
}

TEST(ScrollPage, HugeDistancesStayBounded) {
  SurfaceWindow w(Geometry{}, RGB(255, 255, 255), RGB(255, 0, 0));
  w.State()->background = 3;
  w.surface->EraseAllPages(w.State());
  w.surface->ScrollPage(w.State(), 2000000, -3000000);
  EXPECT_EQ(w.PageColour(1, 400, 240), RGB(255, 0, 0)) << "everything scrolled out";
}

TEST(ScrollPage, TheDistanceProductWrapsInThirtyTwoBits) {
  SurfaceWindow w(Geometry{}, RGB(255, 255, 255), RGB(255, 0, 0));
  w.State()->background = 3;
  w.surface->EraseAllPages(w.State());
  // 800 x INT_MIN wraps to 0; 480 x INT_MAX wraps to -480, one pixel up.
  w.surface->ScrollPage(w.State(), INT_MIN, INT_MAX);
  EXPECT_EQ(w.PageColour(1, 0, 479), RGB(255, 0, 0));
  EXPECT_EQ(w.PageColour(1, 0, 478), MapColour(3));
}

// --- Waits ---------------------------------------------------------------

class WaitTest : public ::testing::Test {
 protected:
  void SetUp() override {
    inspect::UseVirtualClock(true);
    inspect::SetAdvancePerEmptyPoll(1);
  }
  void TearDown() override {
    inspect::SetAdvancePerEmptyPoll(0);
    inspect::UseVirtualClock(false);
  }
  int Dispatched(UINT message) {
    int n = 0;
    for (UINT m : Log().messages) n += m == message ? 1 : 0;
    return n;
  }
  SurfaceWindow w;
};

TEST_F(WaitTest, DelayZeroReturnsAfterOnePassOverTheQueue) {
  PostMessageA(w.window, WM_USER, 0, 0);
  PostMessageA(w.window, WM_USER, 0, 0);
  EXPECT_EQ(w.surface->Delay(0), 1);
  EXPECT_EQ(Dispatched(WM_USER), 2);
}

TEST_F(WaitTest, SixtyTicksWaitOneSecond) {
  const DWORD start = GetTickCount();
  EXPECT_EQ(w.surface->Delay(60), 1);
  EXPECT_EQ(GetTickCount() - start, 1000u);
}

TEST_F(WaitTest, TheWaitTruncatesToWholeMilliseconds) {
  const DWORD start = GetTickCount();
  EXPECT_EQ(w.surface->Delay(59), 1);
  EXPECT_EQ(GetTickCount() - start, 983u);
}

TEST_F(WaitTest, TheWaitProductWrapsInThirtyTwoBits) {
  const DWORD start = GetTickCount();
  EXPECT_EQ(w.surface->Delay(4294968), 1);  // x 1000 wraps to 704 ms, / 60 is 11
  EXPECT_EQ(GetTickCount() - start, 11u);
}

TEST_F(WaitTest, AnAbortRequestEndsTheWaitAndIsConsumed) {
  PostMessageA(w.window, WM_USER, 0, 0);
  w.settings->flags = KXREG_SETTING_ABORT | KXREG_SETTING_4010_MODE;
  EXPECT_EQ(w.surface->Delay(600), 0);
  EXPECT_EQ(w.settings->flags, KXREG_SETTING_4010_MODE);
  EXPECT_EQ(Dispatched(WM_USER), 0);
}

TEST_F(WaitTest, ALostWindowRecordEndsTheWait) {
  PostMessageA(w.window, WM_USER, 0, 0);
  SetWindowLongPtrA(w.window, 0, 0);
  EXPECT_EQ(w.surface->Delay(600), 0);
  EXPECT_EQ(Dispatched(WM_USER), 0);
}

TEST_F(WaitTest, ALostScreenRecordEndsTheWait) {
  PostMessageA(w.window, WM_USER, 0, 0);
  w.host->screen = nullptr;
  EXPECT_EQ(w.surface->Delay(600), 0);
}

TEST_F(WaitTest, AQuitMessageIsPostedAgainAndEndsTheWaitWithZero) {
  PostQuitMessage(7);
  EXPECT_EQ(w.surface->Delay(6), 0);
  MSG msg;
  ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
  EXPECT_EQ(msg.message, static_cast<UINT>(WM_QUIT));
  EXPECT_EQ(msg.wParam, 7u);
}

TEST_F(WaitTest, RefreshPaintsTheWholeClientAreaAndKeepsRedrawSuspended) {
  w.State()->background = 6;
  w.surface->EraseAllPages(w.State());
  w.surface->redrawSuspended = 1;
  PostMessageA(w.window, WM_USER, 0, 0);
  EXPECT_EQ(w.surface->RefreshWithMessages(w.State()), 1);
  EXPECT_EQ(Dispatched(WM_USER), 1);
  EXPECT_EQ(w.surface->redrawSuspended, 1);
  const inspect::Image img = inspect::ReadWindow(w.window);
  EXPECT_EQ(img.RgbAt(0, 0), MapColour(6));
  EXPECT_EQ(img.RgbAt(799, 479), MapColour(6));
}

TEST_F(WaitTest, RefreshStopsOnAnAbortRequestWithoutPainting) {
  w.State()->background = 6;
  w.surface->EraseAllPages(w.State());
  PostMessageA(w.window, WM_USER, 0, 0);
  w.settings->flags = KXREG_SETTING_ABORT;
  EXPECT_EQ(w.surface->RefreshWithMessages(w.State()), 0);
  EXPECT_EQ(w.settings->flags, 0u);
  EXPECT_NE(inspect::ReadWindow(w.window).RgbAt(0, 0), MapColour(6));
}

TEST_F(WaitTest, RefreshHandsBackAQuitEvenWhenTheRecordsAreGone) {
  w.host->screen = nullptr;
  PostQuitMessage(3);
  EXPECT_EQ(w.surface->RefreshWithMessages(w.State()), 0);
  MSG msg;
  ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
  EXPECT_EQ(msg.message, static_cast<UINT>(WM_QUIT));
  EXPECT_EQ(msg.wParam, 3u);
}

// --- The graphics cursor -------------------------------------------------

TEST(GraphicsCaret, IsADiamondWithACrossOneCellHighAndTwoWide) {
  SurfaceWindow w;
  w.surface->CreateGraphicsCaret();
  ASSERT_EQ(w.surface->caretCreated, 1);
  const inspect::Image img = inspect::ReadBitmap(w.surface->caretBitmap);
  ASSERT_EQ(img.width, 21);
  ASSERT_EQ(img.height, 21);
  const COLORREF white = RGB(255, 255, 255);
  EXPECT_EQ(img.RgbAt(10, 0), white) << "top";
  EXPECT_EQ(img.RgbAt(0, 10), white) << "left";
  EXPECT_EQ(img.RgbAt(20, 10), white) << "right";
  EXPECT_EQ(img.RgbAt(10, 10), white) << "centre";
  EXPECT_EQ(img.RgbAt(15, 5), white) << "upper right edge";
  EXPECT_EQ(img.RgbAt(5, 15), white) << "lower left edge";
  EXPECT_EQ(img.RgbAt(0, 0), RGB(0, 0, 0)) << "corner";
  EXPECT_EQ(img.RgbAt(20, 20), RGB(0, 0, 0)) << "corner";
  const inspect::CaretState caret = inspect::Caret();
  EXPECT_EQ(caret.owner, w.window);
  EXPECT_EQ(caret.width, 21);
  EXPECT_EQ(caret.height, 21);
  EXPECT_FALSE(caret.shown);
}

TEST(GraphicsCaret, ShowsCentredOnTheCurrentPosition) {
  SurfaceWindow w;
  w.State()->x = 100;
  w.State()->y = 200;
  w.surface->UpdateGraphicsCaret(w.State());
  const inspect::CaretState caret = inspect::Caret();
  EXPECT_TRUE(caret.shown);
  EXPECT_EQ(caret.x, 90);
  EXPECT_EQ(caret.y, 190);
  EXPECT_EQ(w.surface->caretHidden, 0);
}

TEST(GraphicsCaret, ShowingAShownCaretDoesNotMoveIt) {
  SurfaceWindow w;
  w.surface->CreateGraphicsCaret();
  w.surface->ShowGraphicsCaret(w.State());
  w.State()->x = 300;
  w.State()->y = 300;
  w.surface->ShowGraphicsCaret(w.State());
  EXPECT_EQ(inspect::Caret().x, -10);
  EXPECT_EQ(inspect::Caret().y, -10);
  w.surface->HideGraphicsCaret();
  w.surface->ShowGraphicsCaret(w.State());
  EXPECT_EQ(inspect::Caret().x, 290);
}

TEST(GraphicsCaret, StaysHiddenWhileTheOutputCursorIsOff) {
  SurfaceWindow w;
  w.surface->UpdateGraphicsCaret(w.State());
  w.State()->flags &= ~kOutputCursorOn;
  w.surface->UpdateGraphicsCaret(w.State());
  EXPECT_FALSE(inspect::Caret().shown);
  EXPECT_EQ(w.surface->caretHidden, 1);
  w.surface->ShowGraphicsCaret(w.State());
  EXPECT_FALSE(inspect::Caret().shown);
}

TEST(GraphicsCaret, ScrollingOffsetsIt) {
  SurfaceWindow w;
  w.State()->x = 100;
  w.State()->y = 200;
  w.surface->CreateGraphicsCaret();
  w.surface->SetHorzScroll(2, w.State());
  EXPECT_EQ(w.surface->scrollX, 20);
  EXPECT_EQ(inspect::Caret().x, 70);
  w.surface->HideGraphicsCaret();
  w.surface->SetVertScroll(3, w.State());
  EXPECT_EQ(w.surface->scrollY, 60);
  EXPECT_EQ(inspect::Caret().y, 130);
}

TEST(GraphicsCaret, DestroyForgetsTheCaret) {
  SurfaceWindow w;
  w.surface->UpdateGraphicsCaret(w.State());
  w.surface->DestroyGraphicsCaret();
  EXPECT_EQ(inspect::Caret().owner, nullptr);
  EXPECT_EQ(w.surface->caretBitmap, nullptr);
  EXPECT_EQ(w.surface->caretCreated, 0);
  EXPECT_EQ(w.surface->caretHidden, 1);
}

// --- Palette and colour map ---------------------------------------------

TEST(Palette, SetMapEntryRecoloursPixelsAlreadyDrawn) {
  SurfaceWindow w;
  w.State()->active->foreground = 2;
  w.surface->PlotPoint(w.State());
  ASSERT_EQ(w.PageColour(1, 0, 0), RGB(204, 33, 33));
  const uint32_t index = w.PageIndex(1, 0, 0);
  WorkingColourMap()[2] = CColour{0, 0, 100};
  w.surface->SetMapEntry(2);
  EXPECT_EQ(w.PageIndex(1, 0, 0), index) << "the pixel keeps its index";
  EXPECT_EQ(w.PageColour(1, 0, 0), RGB(0, 0, 255));
  EXPECT_EQ(w.surface->redrawSuspended, 1);
}

TEST(Palette, SetUpForegroundMakesTheHostForegroundExact) {
  SurfaceWindow w(Geometry{}, RGB(255, 0, 0), RGB(0, 0, 0));
  EXPECT_EQ(w.State()->permanent->foreground, 2);
  w.State()->active->foreground = 2;
  w.surface->PlotPoint(w.State());
  EXPECT_EQ(w.PageColour(1, 0, 0), RGB(255, 0, 0)) << "the nearest entry shows the host colour";
  EXPECT_EQ(WorkingColourMap()[2].red, 80) << "the map entry is left as it was";
}

TEST(Palette, WhiteForegroundSelectsEntryFifteen) {
  SurfaceWindow w;
  EXPECT_EQ(w.State()->permanent->foreground, 15);
}

TEST(Palette, TheBackgroundSnapsToAStaticColour) {
  SurfaceWindow w(Geometry{}, RGB(255, 255, 255), RGB(250, 10, 0));
  EXPECT_EQ(WorkingColourMap()[0].red, 100);
  EXPECT_EQ(WorkingColourMap()[0].green, 0);
  EXPECT_EQ(w.PageColour(1, 0, 0), RGB(255, 0, 0));
}

TEST(Palette, ReplacingThePaletteLeaksNothing) {
  SurfaceWindow w;
  const size_t before = inspect::LiveHandles();
  HPALETTE old = w.surface->palette;
  EXPECT_NE(w.surface->CreateMapPalette(w.State()), old);
  EXPECT_EQ(inspect::LiveHandles(), before);
}

// --- The host's 4010 primitives -----------------------------------------

struct UpdateRectCase {
  const char* behaviour;
  int x1, y1, x2, y2, penWidth;
  RECT expected;
};

const UpdateRectCase kUpdateRects[] = {
    {"towards larger values: margins past the ends only", 10, 10, 100, 50, 1, {10, 10, 106, 56}},
    {"towards smaller x: a margin before the left end", 100, 10, 10, 50, 1, {4, 10, 106, 56}},
    {"towards smaller y: a margin above", 10, 50, 100, 10, 1, {10, 4, 106, 56}},
    {"towards smaller x and y", 100, 50, 10, 10, 1, {4, 4, 106, 56}},
    {"a wide pen adds one pixel all round", 10, 10, 100, 50, 3, {9, 9, 107, 57}},
};

class Tek4010UpdateRect : public ::testing::TestWithParam<UpdateRectCase> {};

TEST_P(Tek4010UpdateRect, KeepsSixPixelMargins) {
  const UpdateRectCase& c = GetParam();
  const RECT r = Tek4010LineUpdateRect(c.x1, c.y1, c.x2, c.y2, c.penWidth);
  EXPECT_EQ(r.left, c.expected.left) << c.behaviour;
  EXPECT_EQ(r.top, c.expected.top) << c.behaviour;
  EXPECT_EQ(r.right, c.expected.right) << c.behaviour;
  EXPECT_EQ(r.bottom, c.expected.bottom) << c.behaviour;
}

INSTANTIATE_TEST_SUITE_P(Surface, Tek4010UpdateRect, ::testing::ValuesIn(kUpdateRects));

TEST(Tek4010, LinesUseTheHostForegroundOnPageOne) {
  SurfaceWindow w(Geometry{}, RGB(0, 255, 0), RGB(0, 0, 0));
  w.State()->outputPage = 1;  // ReGIS page choices do not matter
  w.surface->Draw4010Line(w.State(), 0, 100, 50, 100, 0);
  EXPECT_EQ(w.PageColour(1, 0, 100), RGB(0, 255, 0));
  EXPECT_EQ(w.PageColour(1, 49, 100), RGB(0, 255, 0));
  EXPECT_NE(w.PageColour(1, 50, 100), RGB(0, 255, 0)) << "the end pixel is left out";
  EXPECT_TRUE(inspect::Invalidations(w.window).empty()) << "no update asked";
}

TEST(Tek4010, EraseModeDrawsInTheBackgroundButPointsStayForeground) {
  SurfaceWindow w(Geometry{}, RGB(255, 255, 255), RGB(0, 0, 255));
  w.surface->hostWritingMode = 1;
  w.surface->Draw4010Line(w.State(), 0, 10, 20, 10, 0);
  EXPECT_EQ(w.PageColour(1, 5, 10), RGB(0, 0, 255));
  w.State()->x = 5;
  w.State()->y = 20;
  w.surface->Draw4010Point(w.State(), 0);
  EXPECT_EQ(w.PageColour(1, 5, 20), RGB(255, 255, 255));
}

TEST(Tek4010, ComplementModeInvertsTwiceBackToThePicture) {
  SurfaceWindow w;
  const inspect::Image before = inspect::ReadBitmap(w.surface->pageBitmap[0]);
  w.surface->hostWritingMode = 2;
  w.surface->Draw4010Line(w.State(), 0, 10, 20, 10, 0);
  EXPECT_NE(w.PageIndex(1, 5, 10), before.At(5, 10));
  w.surface->Draw4010Line(w.State(), 0, 10, 20, 10, 0);
  EXPECT_EQ(inspect::ReadBitmap(w.surface->pageBitmap[0]).pixels, before.pixels);
  EXPECT_EQ(GetROP2(w.surface->pageDC[0]), R2_COPYPEN) << "the raster operation is restored";
}

TEST(Tek4010, UpdatesInvalidateInWindowCoordinates) {
  SurfaceWindow w;
  w.surface->SetHorzScroll(1, w.State());
  w.surface->Draw4010Line(w.State(), 100, 50, 10, 10, 1);
  const auto rects = inspect::Invalidations(w.window);
  ASSERT_EQ(rects.size(), 1u);
  EXPECT_EQ(rects[0].left, -6);
  EXPECT_EQ(rects[0].top, 4);
  EXPECT_EQ(rects[0].right, 96);
  EXPECT_EQ(rects[0].bottom, 56);
}

TEST(Tek4010, APointInvalidatesItsPixel) {
  SurfaceWindow w;
  w.State()->x = 7;
  w.State()->y = 9;
  w.surface->Draw4010Point(w.State(), 1);
  const auto rects = inspect::Invalidations(w.window);
  ASSERT_EQ(rects.size(), 1u);
  EXPECT_EQ(rects[0].left, 7);
  EXPECT_EQ(rects[0].bottom, 10);
}

TEST(Tek4010, NothingIsDrawnWithoutAWindow) {
  SurfaceWindow w;
  const inspect::Image before = inspect::ReadBitmap(w.surface->pageBitmap[0]);
  w.surface->window = nullptr;
  w.surface->Draw4010Line(w.State(), 0, 0, 100, 100, 1);
  w.surface->Draw4010Point(w.State(), 1);
  w.surface->PlotPoint(w.State());
  EXPECT_EQ(inspect::ReadBitmap(w.surface->pageBitmap[0]).pixels, before.pixels);
  w.surface->window = w.window;
}

// --- The way to the host's records -------------------------------------

TEST(HostLink, FollowsWindowLongZeroToTheSettings) {
  SurfaceWindow w;
  EXPECT_EQ(HostOfWindow(w.window), w.host.get());
  EXPECT_EQ(ScreenOfWindow(w.window), w.screen.get());
  EXPECT_EQ(SettingsFlagsOfWindow(w.window), &w.settings->flags);
  w.screen->settings = nullptr;
  EXPECT_EQ(SettingsFlagsOfWindow(w.window), nullptr);
  EXPECT_EQ(HostOfWindow(nullptr), nullptr);
}

TEST(HostLink, TakeAbortRequestClearsOnlyTheAbortBit) {
  uint32_t flags = KXREG_SETTING_ABORT | KXREG_SETTING_GRAPHICS_CURSOR;
  EXPECT_TRUE(TakeAbortRequest(&flags));
  EXPECT_EQ(flags, KXREG_SETTING_GRAPHICS_CURSOR);
  EXPECT_FALSE(TakeAbortRequest(&flags));
  EXPECT_FALSE(TakeAbortRequest(nullptr));
}

TEST(HostLink, PumpReportsAQuitAfterDispatchingWhatCameBefore) {
  SurfaceWindow w;
  PostMessageA(w.window, WM_USER, 0, 0);
  PostQuitMessage(4);
  int code = 0;
  EXPECT_EQ(PumpMessages(w.window, &code), PumpResult::Quit);
  EXPECT_EQ(code, 4);
  EXPECT_EQ(PumpMessages(w.window, &code), PumpResult::Empty);
}

}  // namespace
