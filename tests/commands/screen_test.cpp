// The screen command: erasing (and the journal that a redraw starts from),
// scrolling, pages, the background index and the colour map, timed waits and
// what the host may do while one runs, hard copies, the graphics cursor and
// the user coordinate system.
#include "commands/screen.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <string>

#include "regis_probe.h"
#include "surface/graphics_context.h"
#include "surface/hard_copy_region.h"

namespace {

using commands_test::Active;
using commands_test::DefaultForeground;
using commands_test::DrawnPixels;
using commands_test::IndexAt;
using commands_test::LastError;
using commands_test::LastErrorChar;
using commands_test::Permanent;
using commands_test::Position;

// Virtual time that moves by a step whenever a pump finds the queue empty,
// so that waits run at once.
class CPollClock {
 public:
  explicit CPollClock(DWORD step) { soft::inspect::SetAdvancePerEmptyPoll(step); }
  ~CPollClock() { soft::inspect::SetAdvancePerEmptyPoll(0); }
  CPollClock(const CPollClock&) = delete;
  CPollClock& operator=(const CPollClock&) = delete;
};

std::string JournalText(CTestHost& host) {
  host.Interpreter()->journal.Flush();
  FILE* file = host.Interpreter()->journal.file;
  std::string text;
  if (!file) return text;
  std::fflush(file);
  std::fseek(file, 0, SEEK_SET);
  for (int c = std::fgetc(file); c != EOF; c = std::fgetc(file)) text.push_back(static_cast<char>(c));
  std::fseek(file, 0, SEEK_END);
  return text;
}

int PagesErased(const CTestHost& host) {
  int n = 0;
  for (const CTestHost::Callback& c : host.callbacks) n += c.kind == CTestHost::Callback::PageErased;
  return n;
}

CTestHost::Options BlueBackground(int cellWidth = 10, int cellHeight = 20) {
  CTestHost::Options options;
  options.background = RGB(0, 0, 255);
  options.cellWidth = cellWidth;
  options.cellHeight = cellHeight;
  return options;
}

TEST(ScreenOptions, ParseAndRecord) {
  const struct {
    const char* name;
    const char* text;
    int error, errorChar;
    int screenPage, background;
  } rows[] = {
      {"AnEmptyListEndsQuietly", "S()", 0, 0, 0, 0},
      {"AnUnknownOptionIsError1", "S(X)", 1, 'X', 0, 0},
      {"PageOneIsChosenWithTwoPages", "S(P1)", 0, 0, 1, 0},
      {"APageLetterIsError1AndThePageStaysOpen", "S(PX1)", 1, 'X', 1, 0},
      {"TheBackgroundIndexIsOnlyStored", "S(I3)", 0, 0, 0, 3},
      {"ABackgroundIndexBeyond15IsIgnored", "S(I16)", 0, 0, 0, 0},
      {"AColourLetterPicksTheNearestMapEntry", "S(I(G))", 0, 0, 0, 3},
      {"OptionsFollowEachOther", "S(P1,I2 P0)", 0, 0, 0, 2},
      {"ACoordinateAfterAnAddressIsError2", "S(A[0,0][799,479][5,5])", 2, 0, 0, 0},
      {"ACoordinateAfterAHardCopyIsError2", "S(H[0,0][10,10][5,5])", 2, 0, 0, 0},
      {"ACoordinateAfterAnotherOptionIsError1", "S(E[5,5])", 1, ']', 0, 0},
      {"TheCursorHandsBackWhatEndsIt", "S(C1Q)", 1, 'Q', 0, 0},
      {"AnOpenParenthesisInTheListIsError1", "S((", 1, '(', 0, 0},
      {"AWriteOptionWithoutAListLeavesItsFlagForTheDispatcher", "S(W))W(I2)", 1, ')', 0, 0},
  };
  for (const auto& c : rows) {
    SCOPED_TRACE(c.name);
    CTestHost host;
    host.Feed(c.text);
    EXPECT_EQ(LastError(host), c.error);
    EXPECT_EQ(LastErrorChar(host), c.errorChar);
    EXPECT_EQ(host.State()->screenPage, c.screenPage);
    EXPECT_EQ(host.State()->background, c.background);
    EXPECT_EQ(Permanent(host).foreground, DefaultForeground(host));
  }
}

TEST(ScreenOptions, AWriteOptionLastsUntilTheNextCommand) {
  CTestHost host;
  host.Feed("S(W(I2))");
  EXPECT_EQ(Active(host).foreground, 2);
  EXPECT_NE(Permanent(host).foreground, 2);
  host.Feed("P[0,0]");
  EXPECT_NE(Active(host).foreground, 2);
}

// Erasing and the journal ----------------------------------------------------

TEST(ScreenErase, ErasesTheScreenPageToTheBackgroundIndexAndTellsTheHostEvenWhileSuspended) {
  CTestHost host;
  host.Feed("P[100,100]V[200,200]");
  ASSERT_GT(DrawnPixels(host), 0);
  host.Surface()->redrawSuspended = 1;
  host.Feed("S(I3)S(E)");
  EXPECT_EQ(IndexAt(host, 150, 150), 3);
  EXPECT_EQ(IndexAt(host, 799, 479), 3);
  EXPECT_EQ(PagesErased(host), 1);
  EXPECT_EQ(host.Screen()->field2C, host.Screen()->field64 - 1);
  EXPECT_EQ(KXREG_DrawInitialText(host.Host()), 0);
  EXPECT_EQ(host.Surface()->redrawSuspended, 1);
}

TEST(ScreenJournal, ALiveEraseCutsTheJournalBackToItsCommandLetter) {
  // "S(" and the filler make 256 bytes before the E: the furthest the letter
  // is looked for.
  std::string filler;
  for (int i = 0; i < 84; ++i) filler += "P0,";
  const struct {
    const char* name;
    std::string text, journal;
  } rows[] = {
      {"KeepsOnlyTheEraseCommand", "V[0,0][100,100]S(I2,E)V[200,200]", "S(I2,E)V[200,200]"},
      {"ALowerCaseEraseKeepsItsLetter", "v[0,0][10,10]s(e)", "s(E)"},
      {"TheLetterIsFound256BytesBack", "V[0,0][10,10]S(" + filler + "  E)", "S(" + filler + "  E)"},
      {"ALetterFurtherBackLeavesItEmpty", "V[0,0][10,10]S(" + filler + "   E", ""},
  };
  for (const auto& c : rows) {
    CTestHost host;
    host.Feed(c.text);
    EXPECT_EQ(JournalText(host), c.journal) << c.name;
  }
}

TEST(ScreenJournal, RefreshRedrawsFromTheEraseAndKeepsTheJournal) {
  CTestHost host;
  host.Feed("P[10,10]V[50,50]S(E)V[300,300]");
  const std::string journal = JournalText(host);
  // Something the journal does not know about, which the erase must remove.
  SetPixel(host.Surface()->pageDC[0], 700, 400, PALETTEINDEX(5));
  host.callbacks.clear();
  EXPECT_EQ(KXREG_RefreshFromBuf(host.Host()), 0);
  EXPECT_EQ(IndexAt(host, 700, 400), 0);
  EXPECT_EQ(IndexAt(host, 150, 150), DefaultForeground(host));
  EXPECT_EQ(IndexAt(host, 30, 30), 0);
  EXPECT_EQ(PagesErased(host), 1);
  EXPECT_EQ(Position(host).x, 300);
  EXPECT_EQ(JournalText(host), journal);
}

// Scrolling ------------------------------------------------------------------

TEST(ScreenScroll, MovesThePictureTheOppositeWayAndLeavesThePosition) {
  const struct {
    const char* name;
    const char* text;
    int dx, dy;  // where the drawn pixel went
  } rows[] = {
      {"APointAboveMovesThePictureDown", "S[400,220]", 0, 20},
      {"ARelativePointBelowMovesItUp", "S[,+20]", 0, -20},
      {"FourMovesThePictureRight", "S4", 1, 0},
      {"SevenMovesThePictureUpAndLeft", "S7", -1, -1},
      {"TheMultiplierLengthensTheStep", "W(M10)S4", 10, 0},
      {"AWOptionStepsTheDigitsThatContinueTheCommand", "S(W(M5))4", 5, 0},
  };
  for (const auto& c : rows) {
    SCOPED_TRACE(c.name);
    CTestHost host;
    host.Feed("P[400,240]");
    SetPixel(host.Surface()->pageDC[0], 400, 240, PALETTEINDEX(5));
    host.Feed(c.text);
    EXPECT_EQ(IndexAt(host, 400 + c.dx, 240 + c.dy), 5);
    EXPECT_EQ(IndexAt(host, 400, 240), 0);
    EXPECT_EQ(Position(host).y, 240);
  }
}

TEST(ScreenScroll, TheUncoveredBandOfTheScreenPageTakesTheHostsBackgroundNotTheIndex) {
  CTestHost host(BlueBackground());
  host.Feed("S(I3)S(E)P[0,0]S[0,20]");
  EXPECT_EQ(host.PageImage(1).RgbAt(10, 470), RGB(0, 0, 255));
  EXPECT_EQ(IndexAt(host, 10, 459), 3);
  host.Feed("S(P1,I3,E)P[100,100]S[100,80]");
  EXPECT_EQ(host.PageImage(2).RgbAt(0, 5), RGB(0, 0, 255));
  EXPECT_EQ(IndexAt(host, 0, 25, 2), 3);
  EXPECT_EQ(IndexAt(host, 0, 5, 1), 3) << "page 1 is not the screen page";
}

TEST(ScreenScroll, UnitsScaleToTheHostsPage) {
  CTestHost host(BlueBackground(5, 10));  // 400 x 240 pixels
  host.Feed("S(I3)S(E)P[0,20]S[0,0]");
  EXPECT_EQ(host.PageImage(1).RgbAt(200, 9), RGB(0, 0, 255));
  EXPECT_EQ(IndexAt(host, 200, 10), 3);
  // One unit across is less than a pixel: nothing moves, nothing is filled.
  host.Feed("P[10,20]S4");
  EXPECT_EQ(IndexAt(host, 0, 100), 3);
}

// Timed waits ----------------------------------------------------------------

TEST(ScreenDelay, ThirtyTicksWaitHalfASecondWithTheWindowUpToDate) {
  CTestHost host;
  CPollClock clock(1);
  host.Feed("P[100,100]V[200,200]");
  host.Surface()->redrawSuspended = 1;
  soft::inspect::ClearInvalidations(host.Window());
  const DWORD start = GetTickCount();
  EXPECT_EQ(host.Feed("S(T30)"), 0);
  const DWORD elapsed = GetTickCount() - start;
  EXPECT_GE(elapsed, 500u);
  EXPECT_LT(elapsed, 510u);
  const std::vector<RECT> rects = soft::inspect::Invalidations(host.Window());
  ASSERT_FALSE(rects.empty());
  EXPECT_EQ(rects.front().right, 800);
  EXPECT_EQ(rects.front().bottom, 480);
  EXPECT_EQ(host.Surface()->redrawSuspended, 1);
}

TEST(ScreenDelay, WaitsItsTicks) {
  const struct {
    const char* name;
    const char* text;
    DWORD atLeast, below;  // milliseconds of virtual time
    int error, errorChar;
  } rows[] = {
      {"NoDigitsWaitOnePass", "S(T)", 0, 3, 0, 0},
      {"OneSecond", "S(T60)", 1000, 1003, 0, 0},
      {"ASpaceEndsTheWait", "S(T6 E)", 100, 103, 0, 0},
      {"ALetterAfterDigitsIsError1AndTheWaitGoesOn", "S(T6X)", 100, 103, 1, 'X'},
      {"ALetterWithoutDigitsEndsTheOption", "S(TX)", 0, 3, 1, 'X'},
      {"TheCountWrapsAt32Bits", "S(T4294967301)", 83, 86, 0, 0},
      {"TheMillisecondsWrapAt32Bits", "S(T4294968)", 11, 14, 0, 0},
  };
  for (const auto& c : rows) {
    SCOPED_TRACE(c.name);
    CTestHost host;
    CPollClock clock(1);
    const DWORD start = GetTickCount();
    host.Feed(c.text);
    const DWORD elapsed = GetTickCount() - start;
    EXPECT_GE(elapsed, c.atLeast);
    EXPECT_LT(elapsed, c.below);
    EXPECT_EQ(LastError(host), c.error);
    EXPECT_EQ(LastErrorChar(host), c.errorChar);
  }
}

// A host whose window procedure reacts to a message posted before the string
// while the wait pumps.
class ScreenDelayHost : public ::testing::Test {
 protected:
  void React(std::function<void()> action) {
    host.onMessage = [this, action](UINT message, WPARAM, LPARAM) {
      if (message != WM_USER) return false;
      ++reactions;
      action();
      return true;
    };
    PostMessageA(host.Window(), WM_USER, 0, 0);
  }

  CTestHost host;
  CPollClock clock{1};
  int reactions = 0;
};

TEST_F(ScreenDelayHost, AnAbortRequestOrALostWindowSeenWithAMessageCutsTheWaitShort) {
  const std::function<void(CTestHost&)> causes[] = {
      [](CTestHost& h) { h.SetSetting(KXREG_SETTING_ABORT); },
      [](CTestHost& h) { h.DetachWindow(); },
  };
  for (const auto& cause : causes) {
    React([&] {
      cause(host);
      PostMessageA(host.Window(), WM_NULL, 0, 0);
    });
    const DWORD start = GetTickCount();
    host.Feed("P[10,10]S(T4294967295)P[300,300]");
    EXPECT_LT(GetTickCount() - start, 1000u);
    host.AttachWindow();
    EXPECT_EQ(Position(host).x, 10);
    EXPECT_FALSE(host.Setting(KXREG_SETTING_ABORT));
    // The screen command ended with the wait: the next string starts afresh.
    host.Feed("P[20,30]");
    EXPECT_EQ(Position(host).y, 30);
    EXPECT_EQ(LastError(host), 0);
  }
  EXPECT_EQ(reactions, 2);
}

TEST_F(ScreenDelayHost, AnAbortRequestWithoutAMessageLetsTheWaitRunItsTime) {
  React([this] { host.SetSetting(KXREG_SETTING_ABORT); });
  const DWORD start = GetTickCount();
  host.Feed("S(T60)P[300,300]");
  EXPECT_GE(GetTickCount() - start, 1000u);
  EXPECT_EQ(Position(host).x, 300);
  EXPECT_TRUE(host.Setting(KXREG_SETTING_ABORT));
}

TEST_F(ScreenDelayHost, AHostErasingTheInstanceDuringTheWaitOrARedrawEndsIt) {
  // A terminal window closed during an animation: the wait must not touch
  // the deleted surface, interpreter or parser again.
  React([this] { host.Erase(); });
  host.Feed("P[10,10]S(T4294967295)P[300,300]");
  EXPECT_EQ(reactions, 1);
  EXPECT_EQ(host.Host()->grDrv, nullptr);
  EXPECT_EQ(host.Feed("P[1,1]"), 1);
  host.Init(1);
  host.Feed("V" + std::string(5000, ' '));  // the replay yields to the host after 4096 characters
  React([this] { host.Erase(); });
  EXPECT_EQ(KXREG_RefreshFromBuf(host.Host()), 1);
  EXPECT_EQ(reactions, 2);
  EXPECT_EQ(host.Host()->interpreter, nullptr);
}

TEST_F(ScreenDelayHost, AQuitMessageEndsTheStringAfterTheWaitAndReachesTheHost) {
  React([] { PostQuitMessage(7); });
  EXPECT_EQ(host.Feed("S(T6)P[300,300]"), 1);
  EXPECT_EQ(Position(host).x, 0);
  host.Pump();
  EXPECT_TRUE(host.quitSeen);
  EXPECT_EQ(host.quitCode, 7);
}

TEST_F(ScreenDelayHost, InputHandedOverDuringTheWaitIsDrawnAndJournalledInOrder) {
  int nested = -1;
  React([&] { nested = host.Feed("P[100,100]V[200,100]"); });
  host.Feed("S(T60)P[5,5]");
  EXPECT_EQ(nested, 0);
  EXPECT_EQ(IndexAt(host, 150, 100), DefaultForeground(host));
  EXPECT_EQ(Position(host).x, 5);
  EXPECT_EQ(JournalText(host), "S(T60)P[100,100]V[200,100]P[5,5]");
  // A command it leaves open is dropped, a semicolon in it discards nothing
  // of ours.
  for (const char* nestedText : {"V(W(I2))[300", ";P[7,7]"}) {
    React([&] { host.Feed(nestedText); });
    host.Feed("S(T60)P[6,6]");
    EXPECT_EQ(Position(host).x, 6) << nestedText;
    EXPECT_EQ(LastError(host), 0);
    EXPECT_EQ(host.Interpreter()->flags & kFlagRawCoordinates, 0u);
    EXPECT_EQ(host.Interpreter()->parseStack.Count(), 1);
  }
}

TEST_F(ScreenDelayHost, ARefreshFromTheJournalDuringTheWaitRedrawsEverything) {
  host.Feed("P[100,100]V[200,100]");
  int refreshed = -1;
  React([&] { refreshed = KXREG_RefreshFromBuf(host.Host()); });
  host.Feed("S(T60)V[200,200]");
  EXPECT_EQ(refreshed, 0);
  EXPECT_EQ(IndexAt(host, 150, 100), DefaultForeground(host));
  EXPECT_EQ(IndexAt(host, 200, 150), DefaultForeground(host));
  EXPECT_EQ(JournalText(host), "P[100,100]V[200,100]S(T60)V[200,200]");
  EXPECT_EQ(host.Interpreter()->live, 1);
  EXPECT_EQ(host.Interpreter()->flags & kFlagReplaying, 0u);
}

// Hard copies ----------------------------------------------------------------

TEST(HardCopyRegion, CellsCoverTheRectangleAndTheWholeScreenReachesRow439) {
  const struct {
    const char* name;
    int pageWidth, pageHeight, cellWidth, cellHeight;
    int x1, y1, x2, y2;
    CHardCopyCells cells;
  } rows[] = {
      {"TopLeftQuarter", 800, 480, 10, 20, 0, 0, 400, 240, {0, 0, 39, 11}},
      {"ScaledPage", 640, 384, 8, 16, 100, 50, 700, 400, {10, 2, 69, 19}},
      {"NegativeCornersTruncateTowardZero", 800, 480, 10, 20, -15, -30, 5, 10, {-1, -1, -1, -1}},
      {"NoCellWidthGivesZeroColumns", 800, 480, 0, 0, 100, 100, 400, 240, {0, 0, -1, -1}},
      {"HugeCornersWrap", 800, 480, 10, 20, 0, 0, 2147483647, 2147483647, {0, 0, -1, -1}},
  };
  for (const auto& c : rows) {
    const CHardCopyCells got =
        HardCopyCells(c.pageWidth, c.pageHeight, c.cellWidth, c.cellHeight, c.x1, c.y1, c.x2, c.y2);
    EXPECT_EQ(std::vector<int>({got.firstColumn, got.firstRow, got.lastColumn, got.lastRow}),
              std::vector<int>({c.cells.firstColumn, c.cells.firstRow, c.cells.lastColumn, c.cells.lastRow}))
        << c.name;
  }
  EXPECT_TRUE(IsWholeScreenHardCopy(0, 0, 799, 439));
  EXPECT_TRUE(IsWholeScreenHardCopy(-5, -5, 900, 900));
  EXPECT_FALSE(IsWholeScreenHardCopy(1, 0, 799, 479));
  EXPECT_FALSE(IsWholeScreenHardCopy(0, 0, 798, 479));
}

// What the host's region callback sees in the screen record.
struct CRegionSeen {
  KXREG_SCREEN* screen = nullptr;
  int calls = 0;
  std::vector<int32_t> fields;
};
CRegionSeen g_region;

void KXREG_CALLBACK RecordRegion(HWND, int code) {
  ++g_region.calls;
  g_region.fields.assign(g_region.screen->hardCopy, g_region.screen->hardCopy + 5);
  g_region.fields.push_back(code);
}

TEST(ScreenHardCopy, TheRegionIsWrittenInTextCellsForTheCallbackAndMarkedUnusedAfter) {
  const struct {
    const char* text;
    std::vector<int32_t> seen;  // the five fields and the code
    int32_t offsetX, offsetY;
  } rows[] = {
      {"S(H[0,0][400,240])", {0, 0, 39, 11, 1, 1}, 50, 0},
      {"S(H)", {1234, 1234, 1234, 1234, 1234, 1}, 50, 0},
      {"P[400,240]S(H[0,0])", {0, 0, 39, 11, 1, 1}, 50, 0},
      {"S(H(P[10,20][0,0][400,240]),E)", {0, 0, 39, 11, 1, 1}, 10, 20},
      {"S(H(P[10,20]))S(H)", {1234, 1234, 1234, 1234, 1234, 1}, 10, 20},  // the offset alone copies nothing
  };
  for (const auto& c : rows) {
    CTestHost host;
    g_region = CRegionSeen{host.Screen(), 0, {}};
    host.Surface()->regionCallback = &RecordRegion;
    for (int32_t& field : host.Screen()->hardCopy) field = 1234;
    host.Feed(c.text);
    EXPECT_EQ(g_region.calls, 1) << c.text;
    EXPECT_EQ(g_region.fields, c.seen) << c.text;
    for (int i = 0; i < 4; ++i) EXPECT_EQ(host.Screen()->hardCopy[i], kHardCopyUnused) << c.text;
    EXPECT_EQ(host.Screen()->hardCopy[4], c.seen[4]) << c.text;
    EXPECT_EQ(host.Surface()->hardCopyOffsetX, c.offsetX) << c.text;
    EXPECT_EQ(host.Surface()->hardCopyOffsetY, c.offsetY) << c.text;
    EXPECT_EQ(LastError(host), 0) << c.text;
    EXPECT_EQ(host.Interpreter()->parseStack.Count(), 1) << c.text;
  }
}

// The graphics cursor ---------------------------------------------------------

TEST(ScreenCursor, ZeroHidesTheCaretOneShowsItAtThePositionAndAUserCursorIsKept) {
  CTestHost host;
  host.Feed("P[400,240]S(C0)");
  EXPECT_FALSE(host.State()->OutputCursorOn());
  EXPECT_FALSE(soft::inspect::Caret().shown);
  host.Feed("S(C1)");
  EXPECT_TRUE(host.State()->OutputCursorOn());
  const soft::inspect::CaretState caret = soft::inspect::Caret();
  EXPECT_TRUE(caret.shown);
  EXPECT_EQ(caret.x, 390);
  EXPECT_EQ(caret.y, 230);
  host.Feed("S(C(I[5,6]\"AB\"))");
  EXPECT_EQ(std::string(host.State()->userCursor, 2), "AB");
  EXPECT_EQ(host.State()->userCursorX, 5);
  EXPECT_EQ(host.State()->userCursorY, 6);
}

TEST(ScreenCursor, StylesAreStoredInTheGraphicsState) {
  const struct {
    const char* text;
    int style;
    int error, errorChar;
  } rows[] = {
      {"S(C(H))", 1, 0, 0},
      {"S(C(H,I))", 0, 0, 0},
      {"S(C(I3))", 2, 0, 0},
      {"S(C(I4,H0))", 1, 0, 0},  // the last value counts
      {"S(C(I[5,6]\"AB\"))", 4, 0, 0},
      {"S(C(Q", 0, 1, 'Q'},
      {"S(C(I[5,6]x", 0, 1, 'X'},  // a wrong opening quote
      {"S(C(I[5,6]\"ABx", 0, 1, 'X'},
  };
  for (const auto& c : rows) {
    CTestHost host;
    host.Feed(c.text);
    EXPECT_EQ(host.State()->cursorStyle, c.style) << c.text;
    EXPECT_EQ(LastError(host), c.error) << c.text;
    EXPECT_EQ(LastErrorChar(host), c.errorChar) << c.text;
  }
}

// Screen addressing -------------------------------------------------------------

TEST(ScreenAddress, MapsUserCoordinatesOntoTheScreen) {
  const struct {
    const char* name;
    const char* text;
    int x, y;
  } rows[] = {
      {"TheDeviceRectangleIsTheIdentity", "S(A[0,0][799,479])P[123,45]", 123, 45},
      {"AFlippedYAxisPutsTheOriginBottomLeft", "S(A[0,479][799,0])P[100,0]", 100, 479},
      {"AnOffsetRectangleScalesBothAxesAlike", "S(A[100,200][900,-200])P[300,100]", 200, 100},
      {"RelativeStepsCountInUserUnits", "S(A[100,200][900,-200])P[300,100]P[+100,-50]", 300, 150},
      {"AWideRectangleFitsItsHeight", "S(A[0,0][1599,959])P[1599,959]", 799, 479},
      {"AnEmptyRectangleKeepsTheScales", "S(A[0,0][0,0])P[10,20]", 10, 20},
      {"AZeroWidthKeepsThePreviousScales", "S(A[0,0][1599,959])S(A[5,5][5,100])P[7,5]", 1, 0},
      {"AnInfiniteCornerKeepsTheScales", "S(A[0,0][1E400,5])P[10,20]", 10, 20},
      {"RelativeCornersCountFromTheCurrentPosition", "P[100,100]S(A[+0,+0][+799,+479])P[150,100]", 50, 0},
      {"ADiscardedOptionStopsDeliveringRawCoordinates", "S(A[0,0;P[10,20]", 10, 20},
  };
  for (const auto& c : rows) {
    SCOPED_TRACE(c.name);
    CTestHost host;
    host.Feed(c.text);
    EXPECT_EQ(Position(host).x, c.x);
    EXPECT_EQ(Position(host).y, c.y);
    EXPECT_EQ(LastError(host), 0);
    EXPECT_EQ(host.Interpreter()->flags & kFlagRawCoordinates, 0u);
  }
}

TEST(ScreenAddress, TheTransformKeepsTheStandardRatioAndTheLastChangingExtents) {
  CTestHost host;
  const CInterpreter& interp = *host.Interpreter();
  host.Feed("S(A[0,0][1599,959])S(A[10,10][1608,968])S(A[0,0][1598,958])");
  EXPECT_DOUBLE_EQ(interp.sx, 479.0 / 959.0);
  EXPECT_DOUBLE_EQ(interp.sy, 479.0 / 959.0);
  EXPECT_EQ(interp.ox, 0.0);
  host.Feed("S(A[0,0][799,479])");
  EXPECT_EQ(interp.sx, 1.0);
  EXPECT_EQ(interp.oy, 0.0);
  EXPECT_EQ(interp.userWidth, 1598.0);
  EXPECT_EQ(interp.userHeight, 958.0);
}

}  // namespace
