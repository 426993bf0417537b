// The drawing surface: pages and scaling, erasing, clearing, scrolling,
// copying to the window, the waits, the graphics cursor, the palette and
// the host's 4010 primitives, checked through pixels and the soft
// platform's records.
#include "surface/grdrv.h"

#include <gtest/gtest.h>

#include <climits>
#include <functional>
#include <vector>

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

using Edges = std::vector<LONG>;
Edges EdgesOf(const RECT& r) {
  return {r.left, r.top, r.right, r.bottom};
}

// The rectangles the window was invalidated with, in order.
std::vector<Edges> Invalidated(HWND window) {
  std::vector<Edges> out;
  for (const RECT& r : inspect::Invalidations(window)) out.push_back(EdgesOf(r));
  return out;
}

int DispatchedCount(UINT message) {
  int n = 0;
  for (UINT m : Log().messages) n += m == message ? 1 : 0;
  return n;
}

// --- Scaling and pages -----------------------------------------------------

TEST(Surface, PixelScalingMultipliesFirstAndTruncates) {
  const struct {
    const char* behaviour;
    int columns, cellWidth, rows, cellHeight;
    int x, y;
    int pixelX, pixelY;
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
    EXPECT_EQ(surface.PixelX(c.x), c.pixelX) << c.behaviour;
    EXPECT_EQ(surface.PixelY(c.y), c.pixelY) << c.behaviour;
  }
}

TEST(Surface, SetTermParmStoresTheGeometryAndRecreatesThePageAtTheNewSize) {
  CGrDrv bare;
  EXPECT_EQ(bare.SetTermParm(nullptr, 24, 80, 9, 15, 1), 0);
  EXPECT_EQ(bare.pageWidth, 720);
  EXPECT_EQ(bare.pageHeight, 360);
  EXPECT_EQ(bare.pageDC[0], nullptr) << "no window, no page";
  SurfaceWindow w;
  ASSERT_EQ(w.surface->SetTermParm(w.window, 10, 20, 8, 16, 1), 1);
  const inspect::Image img = inspect::ReadBitmap(w.surface->pageBitmap[0]);
  EXPECT_EQ(img.width, 160);
  EXPECT_EQ(img.height, 160);
}

TEST(Surface, AFailedPageBitmapIsReportedInAStopBox) {
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
  }
  EXPECT_EQ(inspect::LiveHandles(), before);
}

TEST(Surface, DrawingUsesTheOutputPageAndClearingTheScreenPage) {
  const struct {
    const char* behaviour;
    int pages, outputPage, screenPage;
    int outputSlot, screenSlot;
  } rows[] = {
      {"both on page 1", 2, 0, 0, 0, 0},
      {"drawing on page 2, showing page 1", 2, 1, 0, 1, 0},
      {"drawing on page 1, showing page 2", 2, 0, 1, 0, 1},
      {"a single page serves every selection", 1, 1, 1, 0, 0},
  };
  SurfaceWindow w;
  for (const auto& c : rows) {
    w.State()->pages = c.pages;
    w.State()->outputPage = c.outputPage;
    w.State()->screenPage = c.screenPage;
    EXPECT_EQ(w.surface->OutputDC(w.State()), w.surface->pageDC[c.outputSlot]) << c.behaviour;
    EXPECT_EQ(w.surface->ScreenDC(w.State()), w.surface->pageDC[c.screenSlot]) << c.behaviour;
  }
}

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

TEST(PlotPoint, InvalidatesItsPixelOnlyWhenTheWindowShowsIt) {
  const struct {
    const char* behaviour;
    std::function<void(SurfaceWindow&)> setUp;
    std::vector<Edges> invalidated;
  } rows[] = {
      {"in window coordinates, page minus scroll",
       [](SurfaceWindow& w) {
         w.surface->smooth = 1;
         w.surface->SetVertScroll(1, w.State());
       },
       {{100, 30, 101, 31}}},
      {"not while drawing on a hidden page",
       [](SurfaceWindow& w) {
         w.surface->smooth = 1;
         w.State()->outputPage = 1;
       },
       {}},
      {"not while redraw is suspended", [](SurfaceWindow& w) { w.surface->redrawSuspended = 1; }, {}},
  };
  for (const auto& c : rows) {
    SurfaceWindow w;
    c.setUp(w);
    w.State()->x = 100;
    w.State()->y = 50;
    w.surface->PlotPoint(w.State());
    EXPECT_EQ(Invalidated(w.window), c.invalidated) << c.behaviour;
    EXPECT_EQ(w.PageColour(w.State()->outputPage + 1, 100, 50), MapColour(7)) << c.behaviour;
  }
}

// --- Copying to the window ----------------------------------------------

TEST(CopyToWindow, CopiesWholeCharacterRowsUnlessRedrawIsSuspendedAndNotSmooth) {
  const struct {
    const char* behaviour;
    RECT area;
    int suspended, smooth;
    int rowsCopied;  // of column 5
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
    w.surface->redrawSuspended = c.suspended;
    w.surface->smooth = c.smooth;
    HDC dc = GetDC(w.window);
    w.surface->CopyToWindow(dc, w.State(), c.area.left, c.area.top, c.area.right, c.area.bottom);
    ReleaseDC(w.window, dc);
    const inspect::Image img = inspect::ReadWindow(w.window);
    const uint32_t page = w.PageIndex(1, 5, 5);
    int copied = 0;
    for (int y = 0; y < img.height; ++y) copied += img.At(5, y) == page;
    EXPECT_EQ(copied, c.rowsCopied) << c.behaviour;
  }
}

TEST(CopyToWindow, TheSourceFollowsTheScrollPosition) {
  SurfaceWindow w;
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

class ClearScreenPage : public ::testing::Test {
 protected:
  ClearScreenPage() {
    w.screen->field64 = 9;
    w.State()->background = 5;
  }
  SurfaceWindow w;
};

TEST_F(ClearScreenPage, WhileSuspendedLeavesThePageAndTheHostAlone) {
  w.State()->active->foreground = 2;
  w.surface->PlotPoint(w.State());
  w.surface->redrawSuspended = 1;
  w.surface->ClearScreenPage(w.State(), 1);
  EXPECT_EQ(w.PageColour(1, 0, 0), MapColour(2));
  EXPECT_TRUE(Log().pagesErased.empty());
  EXPECT_EQ(w.screen->field2C, 0);
  EXPECT_EQ(w.surface->initialText, 1);
}

TEST_F(ClearScreenPage, WithoutInvalidateLeavesTheWindowAloneAndWithoutAScreenRecordCallsNoOne) {
  w.screen->field64 = INT_MIN;
  w.surface->ClearScreenPage(w.State(), 0);
  EXPECT_TRUE(inspect::Invalidations(w.window).empty());
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
  static constexpr COLORREF kHostBackground = RGB(0, 0, 255);
  SurfaceWindow w{Geometry{}, RGB(255, 255, 255), kHostBackground};
};

TEST_F(ScrollPage, RightAndDownFillTheLeftAndTopBandsEvenWhileRedrawIsSuspended) {
  w.surface->redrawSuspended = 1;
  w.surface->ScrollPage(w.State(), 30, 10);
  EXPECT_EQ(w.PageColour(1, 29, 400), kHostBackground);
  EXPECT_NE(w.PageColour(1, 30, 400), kHostBackground);
  EXPECT_EQ(w.PageColour(1, 500, 9), kHostBackground);
  EXPECT_NE(w.PageColour(1, 500, 10), kHostBackground);
  EXPECT_EQ(inspect::Invalidations(w.window).size(), 2u);
}

TEST_F(ScrollPage, HugeDistancesStayBoundedAndTheProductWrapsInThirtyTwoBits) {
  // 800 x INT_MIN wraps to 0; 480 x INT_MAX wraps to -480, one pixel up.
  w.surface->ScrollPage(w.State(), INT_MIN, INT_MAX);
  EXPECT_EQ(w.PageColour(1, 0, 479), kHostBackground);
  EXPECT_EQ(w.PageColour(1, 0, 478), MapColour(3));
  w.surface->ScrollPage(w.State(), 2000000, -3000000);
  EXPECT_EQ(w.PageColour(1, 400, 240), kHostBackground) << "everything scrolled out";
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
  SurfaceWindow w;
};

TEST_F(WaitTest, DelayZeroReturnsAfterOnePassOverTheQueue) {
  PostMessageA(w.window, WM_USER, 0, 0);
  PostMessageA(w.window, WM_USER, 0, 0);
  EXPECT_EQ(w.surface->Delay(0), 1);
  EXPECT_EQ(DispatchedCount(WM_USER), 2);
}

TEST_F(WaitTest, AnAbortOrALostRecordEndsTheWaitBeforeDispatching) {
  const struct {
    const char* behaviour;
    std::function<void(SurfaceWindow&)> cause;
  } rows[] = {
      {"an abort request", [](SurfaceWindow& w) { w.settings->flags |= KXREG_SETTING_ABORT; }},
      {"a lost window record", [](SurfaceWindow& w) { SetWindowLongPtrA(w.window, 0, 0); }},
      {"a lost screen record", [](SurfaceWindow& w) { w.host->screen = nullptr; }},
  };
  for (const auto& c : rows) {
    SurfaceWindow fresh;
    Log() = surface_test::HostLog{};
    PostMessageA(fresh.window, WM_USER, 0, 0);
    fresh.settings->flags = KXREG_SETTING_4010_MODE;
    c.cause(fresh);
    EXPECT_EQ(fresh.surface->Delay(600), 0) << c.behaviour;
    EXPECT_EQ(DispatchedCount(WM_USER), 0) << c.behaviour;
    EXPECT_EQ(fresh.settings->flags, KXREG_SETTING_4010_MODE) << "an abort is consumed, other settings kept";
  }
}

TEST_F(WaitTest, OnAnEmptyQueueTheWaitRunsItsTimeWhateverTheRecordsSay) {
  w.settings->flags = KXREG_SETTING_ABORT;
  EXPECT_EQ(w.surface->Delay(0), 1) << "one pass";
  SetWindowLongPtrA(w.window, 0, 0);
  const DWORD start = GetTickCount();
  EXPECT_EQ(w.surface->Delay(6), 1);
  EXPECT_EQ(GetTickCount() - start, 100u);
  EXPECT_EQ(w.settings->flags, KXREG_SETTING_ABORT) << "not taken";
  SetWindowLongPtrA(w.window, 0, reinterpret_cast<LONG_PTR>(w.host.get()));
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
  ASSERT_EQ(img.width, 21);
  ASSERT_EQ(img.height, 21);
  const struct {
    const char* where;
    int x, y;
    bool white;
  } dots[] = {{"top", 10, 0, true},      {"left", 0, 10, true},          {"right", 20, 10, true},
              {"centre", 10, 10, true},  {"upper right", 15, 5, true},   {"lower left", 5, 15, true},
              {"top left", 0, 0, false}, {"bottom right", 20, 20, false}};
  for (const auto& d : dots)
    EXPECT_EQ(img.RgbAt(d.x, d.y), d.white ? RGB(255, 255, 255) : RGB(0, 0, 0)) << d.where;
  const inspect::CaretState caret = inspect::Caret();
  EXPECT_EQ(caret.owner, w.window);
  EXPECT_EQ(caret.width, 21);
  EXPECT_EQ(caret.height, 21);
  EXPECT_FALSE(caret.shown);
}

TEST(GraphicsCaret, ShowsCentredOnThePositionMovesOnlyWhenShownAgainAndFollowsScrolling) {
  SurfaceWindow w;
  w.State()->x = 100;
  w.State()->y = 200;
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

TEST(Palette, TheHostForegroundPicksAnEntryAndShowsExactly) {
  EXPECT_EQ(SurfaceWindow().State()->permanent->foreground, 15) << "white";
  SurfaceWindow w(Geometry{}, RGB(255, 0, 0), RGB(0, 0, 0));
  EXPECT_EQ(w.State()->permanent->foreground, 2);
  w.State()->active->foreground = 2;
  w.surface->PlotPoint(w.State());
  EXPECT_EQ(w.PageColour(1, 0, 0), RGB(255, 0, 0)) << "the nearest entry shows the host colour";
  EXPECT_EQ(WorkingColourMap()[2].red, 80) << "the map entry is left as it was";
}

TEST(Palette, TheBackgroundSnapsToAStaticColour) {
  SurfaceWindow w(Geometry{}, RGB(255, 255, 255), RGB(250, 10, 0));
  EXPECT_EQ(WorkingColourMap()[0].red, 100);
  EXPECT_EQ(WorkingColourMap()[0].green, 0);
  EXPECT_EQ(w.PageColour(1, 0, 0), RGB(255, 0, 0));
}

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
    const char* behaviour;
    int x1, y1, x2, y2, penWidth;
    Edges expected;
  } rows[] = {
      {"towards larger values: margins past the ends only", 10, 10, 100, 50, 1, {10, 10, 106, 56}},
      {"towards smaller x: a margin before the left end", 100, 10, 10, 50, 1, {4, 10, 106, 56}},
      {"towards smaller y: a margin above", 10, 50, 100, 10, 1, {10, 4, 106, 56}},
      {"towards smaller x and y", 100, 50, 10, 10, 1, {4, 4, 106, 56}},
      {"a wide pen adds one pixel all round", 10, 10, 100, 50, 3, {9, 9, 107, 57}},
  };
  for (const auto& c : rows)
    EXPECT_EQ(EdgesOf(Tek4010LineUpdateRect(c.x1, c.y1, c.x2, c.y2, c.penWidth)), c.expected) << c.behaviour;
}

TEST(Tek4010, LinesUseTheHostForegroundOnPageOne) {
  SurfaceWindow w(Geometry{}, RGB(0, 255, 0), RGB(0, 0, 0));
  w.State()->outputPage = 1;  // ReGIS page choices do not matter
  w.surface->Draw4010Line(w.State(), 0, 100, 50, 100, 0);
  EXPECT_EQ(w.PageColour(1, 0, 100), RGB(0, 255, 0));
  EXPECT_EQ(w.PageColour(1, 49, 100), RGB(0, 255, 0));
  EXPECT_NE(w.PageColour(1, 50, 100), RGB(0, 255, 0)) << "the end pixel is left out";
  EXPECT_TRUE(inspect::Invalidations(w.window).empty()) << "no update asked";
}

TEST(Tek4010, EraseDrawsLinesInTheBackgroundAndComplementInvertsTwiceBackToThePicture) {
  SurfaceWindow w(Geometry{}, RGB(255, 255, 255), RGB(0, 0, 255));
  const inspect::Image before = inspect::ReadBitmap(w.surface->pageBitmap[0]);
  w.surface->hostWritingMode = 2;
  w.surface->Draw4010Line(w.State(), 0, 10, 20, 10, 0);
  EXPECT_EQ(w.PageIndex(1, 5, 10), ~before.At(5, 10) & 0xFF);
  w.surface->Draw4010Line(w.State(), 0, 10, 20, 10, 0);
  EXPECT_EQ(inspect::ReadBitmap(w.surface->pageBitmap[0]).pixels, before.pixels);
  EXPECT_EQ(GetROP2(w.surface->pageDC[0]), R2_COPYPEN) << "the raster operation is restored";
  w.surface->hostWritingMode = 1;
  w.surface->Draw4010Line(w.State(), 0, 10, 20, 10, 0);
  w.State()->x = 5;
  w.State()->y = 20;
  w.surface->Draw4010Point(w.State(), 0);
  EXPECT_EQ(w.PageColour(1, 5, 10), RGB(0, 0, 255));
  EXPECT_EQ(w.PageColour(1, 5, 20), RGB(255, 255, 255)) << "points stay in the foreground";
}

TEST(Tek4010, UpdatesInvalidateInWindowCoordinates) {
  SurfaceWindow w;
  w.surface->SetHorzScroll(1, w.State());
  w.surface->Draw4010Line(w.State(), 100, 50, 10, 10, 1);
  EXPECT_EQ(Invalidated(w.window), (std::vector<Edges>{{-6, 4, 96, 56}}));
  inspect::ClearInvalidations(w.window);
  w.State()->x = 7;
  w.State()->y = 9;
  w.surface->Draw4010Point(w.State(), 1);
  EXPECT_EQ(Invalidated(w.window), (std::vector<Edges>{{-3, 9, -2, 10}})) << "a point invalidates its pixel";
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
  EXPECT_FALSE(TakeAbortRequest(nullptr));
}

TEST(HostLink, PumpReportsAQuitAfterDispatchingWhatCameBefore) {
  SurfaceWindow w;
  PostMessageA(w.window, WM_USER, 0, 0);
  PostQuitMessage(4);
  int code = 0;
  EXPECT_EQ(PumpMessages(w.window, &code), PumpResult::Quit);
  EXPECT_EQ(code, 4);
  EXPECT_EQ(DispatchedCount(WM_USER), 1);
  EXPECT_EQ(PumpMessages(w.window, &code), PumpResult::Empty);
}

TEST(Palette, ReplacingThePaletteLeaksNothing) {
  SurfaceWindow w;
  const size_t before = inspect::LiveHandles();
  HPALETTE old = w.surface->palette;
  EXPECT_NE(w.surface->CreateMapPalette(w.State()), old);
  EXPECT_EQ(inspect::LiveHandles(), before);
}

}  // namespace
