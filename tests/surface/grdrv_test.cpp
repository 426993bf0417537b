// The drawing surface: pages and scaling, erasing, clearing, scrolling,
// copying to the window, the waits, the graphics cursor, the palette and
// the host's 4010 primitives, checked through pixels and the soft
// platform's records.
#include "surface/grdrv.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <functional>
#include <vector>

#include "surface/colour_map.h"
#include "surface/host_link.h"
#include "surface_window.h"

namespace {

using surface_test::Edges;
using surface_test::Geometry;
using surface_test::Log;
using surface_test::SurfaceWindow;
namespace inspect = soft::inspect;
using Prepare = std::function<void(SurfaceWindow&)>;

COLORREF MapColour(int index) {
  return ColourToRgb(WorkingColourMap()[index]);
}
Edges EdgesOf(const RECT& r) {
  return {r.left, r.top, r.right, r.bottom};
}
int DispatchedCount(UINT message) {
  return static_cast<int>(std::count(Log().messages.begin(), Log().messages.end(), message));
}

// --- Scaling and pages -----------------------------------------------------

TEST(Surface, PixelScalingMultipliesFirstAndTruncates) {
  const struct {
    const char* behaviour;
    int columns, cellWidth, rows, cellHeight, x, y, pixelX, pixelY;
  } rows[] = {
      {"one unit is one pixel on an 800 x 480 page", 80, 10, 24, 20, 799, 479, 799, 479},
      {"x 799 truncates on a 1000-pixel page", 100, 10, 24, 20, 799, 0, 998, 0},
      {"x 799 shrinks on a 640-pixel page", 80, 8, 24, 20, 799, 0, 639, 0},
      {"y 480 is one past the last row", 80, 10, 25, 16, 0, 480, 0, 400},
      {"negative units truncate toward zero", 80, 8, 24, 10, -1, -1, 0, 0},
      {"INT_MAX wraps the 32-bit product", 80, 10, 24, 20, INT_MAX, INT_MAX, -1, -1},
  };
  for (const auto& c : rows) {
    CGrDrv surface;
    surface.SetTermParm(nullptr, c.rows, c.columns, c.cellWidth, c.cellHeight, 1);
    EXPECT_EQ(std::make_pair(surface.PixelX(c.x), surface.PixelY(c.y)), std::make_pair(c.pixelX, c.pixelY))
        << c.behaviour;
  }
}

TEST(Surface, SetTermParmStoresTheGeometryRecreatesThePageAndReportsAFailedBitmap) {
  CGrDrv bare;
  EXPECT_EQ(bare.SetTermParm(nullptr, 24, 80, 9, 15, 1), 0);
  EXPECT_EQ(std::make_pair(bare.pageWidth, bare.pageHeight), std::make_pair(720, 360));
  EXPECT_EQ(bare.pageDC[0], nullptr) << "no window, no page";
  SurfaceWindow w;
  ASSERT_EQ(w.surface->SetTermParm(w.window, 10, 20, 8, 16, 1), 1);
  EXPECT_EQ(std::make_pair(w.Page().width, w.Page().height), std::make_pair(160, 160));
  surface_test::ExpectStopBox([&] { EXPECT_EQ(w.surface->SetTermParm(w.window, -3, 80, 10, 20, 2), 0); },
                              "Failed to create Bitmap", "CGrDrv::SetTermParm", w.window);
  EXPECT_EQ(w.surface->pageDC[1], nullptr) << "the page stays without a DC";
}

TEST(Surface, ReleasePageEmptiesOnlyThatPageAndDestructionFreesEveryHandle) {
  const size_t before = inspect::LiveHandles();
  {
    SurfaceWindow w;
    w.surface->ReleasePage(2);
    EXPECT_EQ(w.surface->pageDC[1], nullptr);
    EXPECT_EQ(w.surface->pageBitmap[1], nullptr);
    EXPECT_EQ(w.surface->previousBitmap[1], nullptr);
    EXPECT_NE(w.surface->pageDC[0], nullptr);
    w.surface->ReleasePage(2);  // harmless twice
    w.surface->CreateGraphicsCaret();
    w.surface->ShowGraphicsCaret(w.State());
    const HPALETTE old = w.surface->palette;
    const size_t live = inspect::LiveHandles();
    EXPECT_NE(w.surface->CreateMapPalette(w.State()), old);
    EXPECT_EQ(inspect::LiveHandles(), live) << "replacing the palette leaks nothing";
  }
  EXPECT_EQ(inspect::LiveHandles(), before);
}

TEST(Surface, DrawingUsesTheOutputPageAndClearingTheScreenPage) {
  const struct {
    int pages, outputPage, screenPage, outputSlot, screenSlot;
  } rows[] = {{2, 0, 0, 0, 0}, {2, 1, 0, 1, 0}, {2, 0, 1, 0, 1}, {1, 1, 1, 0, 0}};  // one page serves all
  SurfaceWindow w;
  for (const auto& c : rows) {
    SCOPED_TRACE(testing::Message() << c.pages << c.outputPage << c.screenPage);
    w.State()->pages = c.pages, w.State()->outputPage = c.outputPage, w.State()->screenPage = c.screenPage;
    EXPECT_EQ(w.surface->OutputDC(w.State()), w.surface->pageDC[c.outputSlot]);
    EXPECT_EQ(w.surface->ScreenDC(w.State()), w.surface->pageDC[c.screenSlot]);
  }
}

// --- Points --------------------------------------------------------------

TEST(PlotPoint, DrawsTheMaskedForegroundAndInvalidatesOnlyWhatTheWindowShows) {
  const struct {
    const char* behaviour;
    Prepare setUp;
    int colour;
    std::vector<Edges> invalidated;
  } rows[] = {
      {"the foreground masked by the planes",
       [](SurfaceWindow& w) { w.W().planeMask = 5; },
       5,
       {{100, 50, 101, 51}}},
      {"in window coordinates, page minus scroll",
       [](SurfaceWindow& w) { w.surface->smooth = 1, w.surface->SetVertScroll(1, w.State()); },
       7,
       {{100, 30, 101, 31}}},
      {"not while drawing on a hidden page",
       [](SurfaceWindow& w) { w.surface->smooth = 1, w.State()->outputPage = 1; },
       7,
       {}},
      {"not while redraw is suspended", [](SurfaceWindow& w) { w.surface->redrawSuspended = 1; }, 7, {}},
  };
  for (const auto& c : rows) {
    SurfaceWindow w;
    w.W().foreground = 7;
    c.setUp(w);
    w.MoveTo(100, 50);
    w.surface->PlotPoint(w.State());
    EXPECT_EQ(w.Invalidated(), c.invalidated) << c.behaviour;
    EXPECT_EQ(w.PageColour(w.State()->outputPage + 1, 100, 50), MapColour(c.colour)) << c.behaviour;
  }
}

// --- Copying to the window ----------------------------------------------

TEST(CopyToWindow, CopiesWholeCharacterRowsUnlessRedrawIsSuspendedAndNotSmooth) {
  const struct {
    const char* behaviour;
    RECT area;
    int suspended, smooth, rowsCopied;  // of column 5
  } rows[] = {
      {"only whole character rows", {0, 0, 50, 30}, 0, 0, 20},
      {"nothing below one cell height", {0, 0, 50, 19}, 0, 0, 0},
      {"nothing while redraw is suspended", {0, 0, 800, 480}, 1, 0, 0},
      {"smooth drawing copies even when suspended", {0, 0, 800, 480}, 1, 1, 480},
  };
  for (const auto& c : rows) {
    SurfaceWindow w;
    w.State()->background = 4;
    w.surface->EraseAllPages(w.State());
    w.surface->redrawSuspended = c.suspended, w.surface->smooth = c.smooth;
    HDC dc = GetDC(w.window);
    w.surface->CopyToWindow(dc, w.State(), c.area.left, c.area.top, c.area.right, c.area.bottom);
    ReleaseDC(w.window, dc);
    const inspect::Image img = inspect::ReadWindow(w.window);
    int copied = 0;
    for (int y = 0; y < img.height; ++y) copied += img.At(5, y) == w.PageIndex(1, 5, 5);
    EXPECT_EQ(copied, c.rowsCopied) << c.behaviour;
  }
}

TEST(CopyToWindow, TheSourceFollowsTheScrollPosition) {
  SurfaceWindow w;
  w.W().foreground = 2;
  w.MoveTo(5, 45);
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
  w.State()->background = 5;
  w.W().foreground = 2;
  w.surface->PlotPoint(w.State());
  w.surface->redrawSuspended = 1;
  w.surface->ClearScreenPage(w.State(), 1);
  EXPECT_EQ(w.PageColour(1, 0, 0), MapColour(2));
  EXPECT_TRUE(Log().pagesErased.empty());
  EXPECT_EQ(w.screen->field2C, 0);
  EXPECT_EQ(w.surface->initialText, 1);
}

TEST(ClearScreenPage, WithoutInvalidateLeavesTheWindowAloneAndWithoutAScreenRecordCallsNoOne) {
  SurfaceWindow w;
  w.State()->background = 5;
  w.screen->field64 = INT_MIN;
  w.surface->ClearScreenPage(w.State(), 0);
  EXPECT_TRUE(w.Invalidated().empty());
  EXPECT_EQ(Log().pagesErased.size(), 1u);
  EXPECT_EQ(w.screen->field2C, INT_MAX) << "the arithmetic wraps";
  w.host->screen = nullptr;
  w.State()->background = 6;
  w.surface->ClearScreenPage(w.State(), 0);
  EXPECT_EQ(w.PageColour(1, 1, 1), MapColour(6));
  EXPECT_EQ(Log().pagesErased.size(), 1u);
}

// --- Scrolling -----------------------------------------------------------

// Pages erased to index 3 (green in the map) under a blue host background:
// uncovered bands must take the host's RGB, not the map's index.
class ScrollPage : public ::testing::Test {
 protected:
  ScrollPage() {
    w.State()->background = 3;
    w.surface->EraseAllPages(w.State());
    inspect::ClearInvalidations(w.window);
  }
  static constexpr COLORREF kHost = RGB(0, 0, 255);
  SurfaceWindow w{Geometry{}, RGB(255, 255, 255), kHost};
};

TEST_F(ScrollPage, RightAndDownFillTheLeftAndTopBandsEvenWhileRedrawIsSuspended) {
  w.surface->redrawSuspended = 1;
  w.surface->ScrollPage(w.State(), 30, 10);
  EXPECT_EQ(w.PageColour(1, 29, 400), kHost);
  EXPECT_NE(w.PageColour(1, 30, 400), kHost);
  EXPECT_EQ(w.PageColour(1, 500, 9), kHost);
  EXPECT_NE(w.PageColour(1, 500, 10), kHost);
  EXPECT_EQ(w.Invalidated().size(), 2u);
}

TEST_F(ScrollPage, HugeDistancesStayBoundedAndTheProductWrapsInThirtyTwoBits) {
  // 800 x INT_MIN wraps to 0; 480 x INT_MAX wraps to -480, one pixel up.
  w.surface->ScrollPage(w.State(), INT_MIN, INT_MAX);
  EXPECT_EQ(w.PageColour(1, 0, 479), kHost);
  EXPECT_EQ(w.PageColour(1, 0, 478), MapColour(3));
  w.surface->ScrollPage(w.State(), 2000000, -3000000);
  EXPECT_EQ(w.PageColour(1, 400, 240), kHost) << "everything scrolled out";
}

// --- Waits ---------------------------------------------------------------

class WaitTest : public ::testing::Test {
 protected:
  void SetUp() override { inspect::UseVirtualClock(true), inspect::SetAdvancePerEmptyPoll(1); }
  void TearDown() override { inspect::SetAdvancePerEmptyPoll(0), inspect::UseVirtualClock(false); }
  SurfaceWindow w;
};

TEST_F(WaitTest, DelayZeroReturnsAfterOnePassOverTheQueue) {
  PostMessageA(w.window, WM_USER, 0, 0);
  PostMessageA(w.window, WM_USER, 0, 0);
  EXPECT_EQ(w.surface->Delay(0), 1);
  EXPECT_EQ(DispatchedCount(WM_USER), 2);
}

TEST_F(WaitTest, AnAbortOrALostRecordEndsTheWaitBeforeDispatching) {
  const Prepare causes[] = {
      [](SurfaceWindow& w) { w.settings->flags |= KXREG_SETTING_ABORT; },
      [](SurfaceWindow& w) { SetWindowLongPtrA(w.window, 0, 0); },
      [](SurfaceWindow& w) { w.host->screen = nullptr; },
  };
  for (const auto& cause : causes) {
    SurfaceWindow fresh;
    PostMessageA(fresh.window, WM_USER, 0, 0);
    fresh.settings->flags = KXREG_SETTING_4010_MODE;
    cause(fresh);
    EXPECT_EQ(fresh.surface->Delay(600), 0);
    EXPECT_EQ(DispatchedCount(WM_USER), 0);
    EXPECT_EQ(fresh.settings->flags, KXREG_SETTING_4010_MODE) << "an abort is consumed, other settings kept";
  }
}

// A wait on an empty queue runs its full time and leaves an abort request for later.
TEST_F(WaitTest, OnAnEmptyQueueTheWaitRunsItsTimeWhateverTheRecordsSay) {
  w.settings->flags = KXREG_SETTING_ABORT;
  EXPECT_EQ(w.surface->Delay(0), 1) << "one pass";
  SetWindowLongPtrA(w.window, 0, 0);
  const DWORD start = GetTickCount();
  EXPECT_EQ(w.surface->Delay(6), 1);
  EXPECT_EQ(GetTickCount() - start, 100u);
  EXPECT_EQ(w.settings->flags, KXREG_SETTING_ABORT) << "not taken";
}

TEST_F(WaitTest, AQuitMessageIsPostedAgainAndEndsAWaitOrRefreshWithZero) {
  const auto requeued = [](WPARAM code) {
    MSG msg;
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(msg.message, static_cast<UINT>(WM_QUIT));
    EXPECT_EQ(msg.wParam, code);
  };
  PostQuitMessage(7);
  EXPECT_EQ(w.surface->Delay(6), 0);
  requeued(7);
  w.host->screen = nullptr;  // even when the records are gone
  PostQuitMessage(3);
  EXPECT_EQ(w.surface->RefreshWithMessages(w.State()), 0);
  requeued(3);
}

TEST_F(WaitTest, RefreshPaintsTheWholeClientAreaKeepsRedrawSuspendedAndStopsOnAnAbort) {
  w.State()->background = 6;
  w.surface->EraseAllPages(w.State());
  w.settings->flags = KXREG_SETTING_ABORT;
  PostMessageA(w.window, WM_USER, 0, 0);
  EXPECT_EQ(w.surface->RefreshWithMessages(w.State()), 0);
  EXPECT_EQ(w.settings->flags, 0u);
  EXPECT_NE(inspect::ReadWindow(w.window).RgbAt(0, 0), MapColour(6)) << "no painting after an abort";
  w.surface->redrawSuspended = 1;
  PostMessageA(w.window, WM_USER, 0, 0);
  EXPECT_EQ(w.surface->RefreshWithMessages(w.State()), 1);
  EXPECT_EQ(DispatchedCount(WM_USER), 1);
  EXPECT_EQ(w.surface->redrawSuspended, 1);
  const inspect::Image img = inspect::ReadWindow(w.window);
  EXPECT_EQ(img.RgbAt(0, 0), MapColour(6));
  EXPECT_EQ(img.RgbAt(799, 479), MapColour(6));
}

// --- The graphics cursor -------------------------------------------------

TEST(GraphicsCaret, IsADiamondWithACrossOneCellHighAndTwoWide) {
  SurfaceWindow w;
  w.surface->CreateGraphicsCaret();
  ASSERT_EQ(w.surface->caretCreated, 1);
  const inspect::Image img = inspect::ReadBitmap(w.surface->caretBitmap);
  ASSERT_EQ(std::make_pair(img.width, img.height), std::make_pair(21, 21));
  // Top, left, right, centre, upper right and lower left are white; the corners black.
  for (POINT p : {POINT{10, 0}, POINT{0, 10}, POINT{20, 10}, POINT{10, 10}, POINT{15, 5}, POINT{5, 15}})
    EXPECT_EQ(img.RgbAt(p.x, p.y), RGB(255, 255, 255)) << p.x << "," << p.y;
  EXPECT_EQ(img.RgbAt(0, 0) | img.RgbAt(20, 20), RGB(0, 0, 0));
  const inspect::CaretState caret = inspect::Caret();
  EXPECT_EQ(caret.owner, w.window);
  EXPECT_EQ(std::make_pair(caret.width, caret.height), std::make_pair(21, 21));
  EXPECT_FALSE(caret.shown);
}

TEST(GraphicsCaret, ShowsCentredOnThePositionMovesOnlyWhenShownAgainAndFollowsScrolling) {
  SurfaceWindow w;
  w.MoveTo(100, 200);
  w.surface->UpdateGraphicsCaret(w.State());
  const auto at = [] { return std::make_pair(inspect::Caret().x, inspect::Caret().y); };
  EXPECT_TRUE(inspect::Caret().shown);
  EXPECT_EQ(at(), std::make_pair(90, 190));
  w.State()->x = 300;
  w.surface->ShowGraphicsCaret(w.State());
  EXPECT_EQ(at(), std::make_pair(90, 190)) << "showing a shown caret does not move it";
  w.surface->HideGraphicsCaret();
  w.surface->SetHorzScroll(2, w.State());
  EXPECT_EQ(at(), std::make_pair(270, 190));
  w.surface->HideGraphicsCaret();
  w.surface->SetVertScroll(3, w.State());
  EXPECT_EQ(at(), std::make_pair(270, 130));
  w.State()->flags &= ~kOutputCursorOn;
  w.surface->UpdateGraphicsCaret(w.State());
  EXPECT_FALSE(inspect::Caret().shown) << "the output cursor is off";
  EXPECT_EQ(w.surface->caretHidden, 1);
  w.surface->DestroyGraphicsCaret();
  EXPECT_EQ(inspect::Caret().owner, nullptr);
  EXPECT_EQ(w.surface->caretBitmap, nullptr);
  EXPECT_EQ(w.surface->caretCreated, 0);
}

// --- Palette and colour map ---------------------------------------------

TEST(Palette, SetMapEntryRecoloursPixelsAlreadyDrawn) {
  SurfaceWindow w;
  w.W().foreground = 2;
  w.surface->PlotPoint(w.State());
  ASSERT_EQ(w.PageColour(1, 0, 0), RGB(204, 33, 33));
  const uint32_t index = w.PageIndex(1, 0, 0);
  WorkingColourMap()[2] = CColour{0, 0, 100};
  w.surface->SetMapEntry(2);
  EXPECT_EQ(w.PageIndex(1, 0, 0), index) << "the pixel keeps its index";
  EXPECT_EQ(w.PageColour(1, 0, 0), RGB(0, 0, 255));
  EXPECT_EQ(w.surface->redrawSuspended, 1);
}

TEST(Palette, TheHostForegroundPicksAnEntryAndShowsExactlyAndTheBackgroundSnapsToAStaticColour) {
  EXPECT_EQ(SurfaceWindow().State()->permanent->foreground, 15) << "white";
  SurfaceWindow w(Geometry{}, RGB(255, 0, 0), RGB(0, 0, 0));
  EXPECT_EQ(w.State()->permanent->foreground, 2);
  w.W().foreground = 2;
  w.surface->PlotPoint(w.State());
  EXPECT_EQ(w.PageColour(1, 0, 0), RGB(255, 0, 0)) << "the nearest entry shows the host colour";
  EXPECT_EQ(WorkingColourMap()[2].red, 80) << "the map entry is left as it was";
  SurfaceWindow red(Geometry{}, RGB(255, 255, 255), RGB(250, 10, 0));
  EXPECT_EQ(std::make_pair(WorkingColourMap()[0].red, WorkingColourMap()[0].green), std::make_pair(100, 0));
  EXPECT_EQ(red.PageColour(1, 0, 0), RGB(255, 0, 0));
}

// Entries 220 to 235 repeat map entries 0 to 15 after the run modulo 16.
TEST(Palette, TheSystemPaletteIsFilledWithTheMapItsRunModulo16AndTheMapAgain) {
  SurfaceWindow w;
  const std::vector<PALETTEENTRY> system = inspect::SystemPalette();
  auto rgb = [&](int k) { return RGB(system[10 + k].peRed, system[10 + k].peGreen, system[10 + k].peBlue); };
  for (int k : {17, 219}) EXPECT_EQ(rgb(k), MapColour(k % 16)) << k;
  for (int i = 0; i < 16; ++i) EXPECT_EQ(rgb(220 + i), MapColour(i)) << 220 + i;
}

// --- The host's 4010 primitives -----------------------------------------

TEST(Tek4010, LineUpdateRectanglesKeepSixPixelMargins) {
  const struct {
    int x1, y1, x2, y2, penWidth;
    Edges expected;
  } rows[] = {
      {10, 10, 100, 50, 1, {10, 10, 106, 56}},  // towards larger values: margins past the ends only
      {100, 10, 10, 50, 1, {4, 10, 106, 56}},   // towards smaller x: a margin before the left end
      {10, 50, 100, 10, 1, {10, 4, 106, 56}},   // towards smaller y: a margin above
      {100, 50, 10, 10, 1, {4, 4, 106, 56}},
      {10, 10, 100, 50, 3, {9, 9, 107, 57}},  // a wide pen adds one pixel all round
  };
  for (const auto& c : rows)
    EXPECT_EQ(EdgesOf(Tek4010LineUpdateRect(c.x1, c.y1, c.x2, c.y2, c.penWidth)), c.expected) << c.x1 << c.y1;
}

TEST(Tek4010, LinesUseTheHostForegroundOnPageOne) {
  SurfaceWindow w(Geometry{}, RGB(0, 255, 0), RGB(0, 0, 0));
  w.State()->outputPage = 1;  // ReGIS page choices do not matter
  w.surface->Draw4010Line(w.State(), 0, 100, 50, 100, 0);
  EXPECT_EQ(w.PageColour(1, 0, 100), RGB(0, 255, 0));
  EXPECT_EQ(w.PageColour(1, 49, 100), RGB(0, 255, 0));
  EXPECT_NE(w.PageColour(1, 50, 100), RGB(0, 255, 0)) << "the end pixel is left out";
  EXPECT_TRUE(w.Invalidated().empty()) << "no update asked";
}

TEST(Tek4010, EraseDrawsLinesInTheBackgroundAndComplementInvertsTwiceBackToThePicture) {
  SurfaceWindow w(Geometry{}, RGB(255, 255, 255), RGB(0, 0, 255));
  const inspect::Image before = w.Page();
  w.surface->hostWritingMode = 2;
  w.surface->Draw4010Line(w.State(), 0, 10, 20, 10, 0);
  EXPECT_EQ(w.PageIndex(1, 5, 10), ~before.At(5, 10) & 0xFF);
  w.surface->Draw4010Line(w.State(), 0, 10, 20, 10, 0);
  EXPECT_EQ(w.Page().pixels, before.pixels);
  EXPECT_EQ(GetROP2(w.surface->pageDC[0]), R2_COPYPEN) << "the raster operation is restored";
  w.surface->hostWritingMode = 1;
  w.surface->Draw4010Line(w.State(), 0, 10, 20, 10, 0);
  w.MoveTo(5, 20);
  w.surface->Draw4010Point(w.State(), 0);
  EXPECT_EQ(w.PageColour(1, 5, 10), RGB(0, 0, 255));
  EXPECT_EQ(w.PageColour(1, 5, 20), RGB(255, 255, 255)) << "points stay in the foreground";
}

TEST(Tek4010, UpdatesInvalidateInWindowCoordinatesAndNothingIsDrawnWithoutAWindow) {
  SurfaceWindow w;
  w.surface->SetHorzScroll(1, w.State());
  w.surface->Draw4010Line(w.State(), 100, 50, 10, 10, 1);
  EXPECT_EQ(w.Invalidated(), (std::vector<Edges>{{-6, 4, 96, 56}}));
  inspect::ClearInvalidations(w.window);
  w.MoveTo(7, 9);
  w.surface->Draw4010Point(w.State(), 1);
  EXPECT_EQ(w.Invalidated(), (std::vector<Edges>{{-3, 9, -2, 10}})) << "a point invalidates its pixel";
  const inspect::Image before = w.Page();
  w.surface->window = nullptr;
  w.surface->Draw4010Line(w.State(), 0, 0, 100, 100, 1);
  w.surface->Draw4010Point(w.State(), 1);
  w.surface->PlotPoint(w.State());
  EXPECT_EQ(w.Page().pixels, before.pixels);
}

// --- The way to the host's records -------------------------------------

TEST(HostLink, FollowsWindowLongZeroToTheSettingsAndPumpsUpToAQuit) {
  SurfaceWindow w;
  EXPECT_EQ(HostOfWindow(w.window), w.host.get());
  EXPECT_EQ(ScreenOfWindow(w.window), w.screen.get());
  EXPECT_EQ(SettingsFlagsOfWindow(w.window), &w.settings->flags);
  EXPECT_EQ(HostOfWindow(nullptr), nullptr);
  EXPECT_FALSE(TakeAbortRequest(nullptr));
  PostMessageA(w.window, WM_USER, 0, 0);
  PostQuitMessage(4);
  int code = 0;
  EXPECT_EQ(PumpMessages(w.window, &code), PumpResult::Quit);
  EXPECT_EQ(code, 4);
  EXPECT_EQ(DispatchedCount(WM_USER), 1) << "what came before the quit is dispatched";
  EXPECT_EQ(PumpMessages(w.window, &code), PumpResult::Empty);
  w.screen->settings = nullptr;
  EXPECT_EQ(SettingsFlagsOfWindow(w.window), nullptr);
}

}  // namespace
