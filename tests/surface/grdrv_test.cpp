// The drawing surface: pages, clearing, waits, palette, 4010 primitives.
#include "surface/grdrv.h"

#include <gtest/gtest.h>

#include <climits>
#include <vector>

#include "surface/colour_map.h"
#include "surface/curve_point_list.h"
#include "surface/host_link.h"
#include "surface_window.h"

namespace {

using surface_test::Edges;
using surface_test::EdgesOf;
using surface_test::SurfaceWindow;
namespace inspect = soft::inspect;

COLORREF MapColour(int index) {
  return ColourToRgb(WorkingColourMap()[index]);
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

// While redraw is suspended (and drawing is not smooth) neither clearing nor
// copying to the window touches anything.
TEST(ClearScreenPage, WhileSuspendedLeavesThePageTheWindowAndTheHostAlone) {
  SurfaceWindow w;
  const inspect::Image window = inspect::ReadWindow(w.window);
  w.screen->field64 = 9;
  w.State()->background = 5;
  w.W().foreground = 2;
  w.surface->PlotPoint(w.State());
  w.surface->redrawSuspended = 1;
  w.surface->ClearScreenPage(w.State(), 1);
  EXPECT_EQ(w.PageColour(1, 0, 0), MapColour(2));
  EXPECT_TRUE(w.testHost.callbacks.empty());
  EXPECT_EQ(w.screen->field2C, 0);
  EXPECT_EQ(w.surface->initialText, 1);
  HDC dc = GetDC(w.window);
  w.surface->CopyToWindow(dc, w.State(), 0, 0, 800, 480);
  ReleaseDC(w.window, dc);
  EXPECT_EQ(inspect::ReadWindow(w.window).pixels, window.pixels);
}

TEST(ClearScreenPage, WithoutInvalidateLeavesTheWindowAloneAndWithoutAScreenRecordCallsNoOne) {
  SurfaceWindow w;
  w.State()->background = 5;
  w.screen->field64 = INT_MIN;
  w.surface->ClearScreenPage(w.State(), 0);
  EXPECT_TRUE(w.Invalidated().empty());
  EXPECT_EQ(w.testHost.callbacks.size(), 1u);
  EXPECT_EQ(w.screen->field2C, INT_MAX) << "the arithmetic wraps";
  w.host->screen = nullptr;
  w.State()->background = 6;
  w.surface->ClearScreenPage(w.State(), 0);
  EXPECT_EQ(w.PageColour(1, 1, 1), MapColour(6));
  EXPECT_EQ(w.testHost.callbacks.size(), 1u);
}

class WaitTest : public ::testing::Test {
 protected:
  void SetUp() override { inspect::UseVirtualClock(true), inspect::SetAdvancePerEmptyPoll(1); }
  void TearDown() override { inspect::SetAdvancePerEmptyPoll(0), inspect::UseVirtualClock(false); }
  SurfaceWindow w;
};

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

// Entries 220 to 235 repeat map entries 0 to 15 after the run modulo 16.
TEST(Palette, TheSystemPaletteIsFilledWithTheMapItsRunModulo16AndTheMapAgain) {
  SurfaceWindow w;
  const std::vector<PALETTEENTRY> system = inspect::SystemPalette();
  auto rgb = [&](int k) { return RGB(system[10 + k].peRed, system[10 + k].peGreen, system[10 + k].peBlue); };
  for (int k : {17, 219}) EXPECT_EQ(rgb(k), MapColour(k % 16)) << k;
  for (int i = 0; i < 16; ++i) EXPECT_EQ(rgb(220 + i), MapColour(i)) << 220 + i;
}

TEST(Tek4010Surface, LineUpdateRectanglesKeepSixPixelMargins) {
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

TEST(Tek4010Surface, EraseDrawsLinesInTheBackgroundAndComplementInvertsTwiceBackToThePicture) {
  SurfaceWindow w(RGB(0, 0, 255));
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

TEST(Tek4010Surface, UpdatesInvalidateInWindowCoordinatesAndNothingIsDrawnWithoutAWindow) {
  SurfaceWindow w;
  w.surface->SetHorzScroll(1, w.State());
  w.surface->Draw4010Line(w.State(), 100, 50, 10, 10, 1);
  EXPECT_EQ(w.Invalidated(), (std::vector<Edges>{{-6, 4, 96, 56}}));
  inspect::ClearInvalidations(w.window);
  w.MoveTo(7, 9);
  w.surface->Draw4010Point(w.State(), 1);
  EXPECT_EQ(w.Invalidated(), (std::vector<Edges>{{-3, 9, -2, 10}})) << "a point invalidates its pixel";
  const inspect::Image before = w.Page();
  CCurvePointList list(0, 0);
  list.Append(90, 90);
  // Without a window, or a window but no graphics state, no call draws.
  for (CGraphicsState* state : {w.State(), static_cast<CGraphicsState*>(nullptr)}) {
    w.surface->window = state ? nullptr : w.window;
    if (state) w.surface->Draw4010Line(state, 0, 0, 100, 100, 1);  // it needs no state
    w.surface->Draw4010Point(state, 1);
    w.surface->PlotPoint(state);
    w.surface->DrawVector(state, 0, 0, 99, 99);
    w.surface->DrawCircle(state, 50, 50, 40, 40);
    w.surface->DrawArc(state, 50, 50, 40, 40, 90);
    w.surface->DrawShadedArc(state, 50, 50, 40, 40, 90);
    w.surface->DrawCurve(state, &list, 1);
    w.surface->DrawTextChar(state, nullptr, 'A');
    w.surface->ClearScreenPage(state, 1);
    CDrawContext draw;  // and a parser's context without a surface or a state
    draw.surface = state ? nullptr : w.surface;
    draw.state = state;
    draw.Line(0, 0, 99, 99), draw.DrawChar('A'), draw.Circle(50, 50, 40, 40), draw.Curve(&list, 1);
    draw.Arc(50, 50, 40, 40, 90, 0, 1), draw.UpdateCursor(), draw.BeginFill(), draw.EndFill(),
        draw.DiscardFill();
  }
  w.surface->EraseAllPages(nullptr), w.surface->UpdateGraphicsCaret(nullptr);
  w.surface->SetMapEntry(-1), w.surface->SetMapEntry(16);  // entries beyond the map are ignored
  EXPECT_EQ(w.Page().pixels, before.pixels);
  EXPECT_EQ(w.surface->ScreenDC(nullptr), nullptr);
}

TEST(HostLink, FollowsWindowLongZeroToTheSettingsAndPumpsUpToAQuit) {
  SurfaceWindow w;
  EXPECT_EQ(HostOfWindow(w.window), w.host);
  EXPECT_EQ(ScreenOfWindow(w.window), w.screen);
  EXPECT_EQ(SettingsFlagsOfWindow(w.window), &w.settings->flags);
  EXPECT_EQ(HostOfWindow(nullptr), nullptr);
  EXPECT_FALSE(TakeAbortRequest(nullptr));
  int code = 0, dispatched = 0;
  w.testHost.onMessage = [&](UINT message, WPARAM, LPARAM) { return message == WM_USER && ++dispatched; };
  PostMessageA(w.window, WM_USER, 0, 0);
  PostQuitMessage(4);
  EXPECT_EQ(PumpMessages(w.window, &code), PumpResult::Quit);
  EXPECT_EQ(code, 4);
  EXPECT_EQ(dispatched, 1) << "what came before the quit is dispatched";
  EXPECT_EQ(PumpMessages(w.window, &code), PumpResult::Empty);
  w.screen->settings = nullptr;
  EXPECT_EQ(SettingsFlagsOfWindow(w.window), nullptr);
}

}  // namespace
