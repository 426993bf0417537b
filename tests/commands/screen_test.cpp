// The screen command: erasing (and the journal that a redraw starts from),
// scrolling, pages, the background index and the colour map, timed waits and
// what the host may do while one runs, hard copies, the graphics cursor and
// the user coordinate system.
#include "commands/screen.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "commands/time_delay_parser.h"
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

int Count(const CTestHost& host, CTestHost::Callback::Kind kind) {
  int n = 0;
  for (const CTestHost::Callback& c : host.callbacks) n += c.kind == kind;
  return n;
}

// Options ------------------------------------------------------------------

struct OptionCase {
  const char* name;
  const char* text;
  int error, errorChar;
  int screenPage, background;
};
void PrintTo(const OptionCase& c, std::ostream* os) {
  *os << c.name;
}

const OptionCase kOptionCases[] = {
    {"AnEmptyListEndsQuietly", "S()", 0, 0, 0, 0},
    {"AnUnknownOptionIsError1", "S(X)", 1, 'X', 0, 0},
    {"PageOneIsChosenWithTwoPages", "S(P1)", 0, 0, 1, 0},
    {"PageTwoDoesNotExist", "S(P2)", 0, 0, 0, 0},
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
};

class ScreenOptions : public ::testing::TestWithParam<OptionCase> {};

TEST_P(ScreenOptions, ParseAndRecord) {
  const OptionCase& c = GetParam();
  CTestHost host;
  host.Feed(c.text);
  EXPECT_EQ(LastError(host), c.error);
  EXPECT_EQ(LastErrorChar(host), c.errorChar);
  EXPECT_EQ(host.State()->screenPage, c.screenPage);
  EXPECT_EQ(host.State()->background, c.background);
}

INSTANTIATE_TEST_SUITE_P(Strings, ScreenOptions, ::testing::ValuesIn(kOptionCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(ScreenOptions, AWriteOptionLastsUntilTheNextCommand) {
  CTestHost host;
  host.Feed("S(W(I2))");
  EXPECT_EQ(Active(host).foreground, 2);
  EXPECT_NE(Permanent(host).foreground, 2);
  host.Feed("P[0,0]");
  EXPECT_NE(Active(host).foreground, 2);
}

TEST(ScreenOptions, AWriteOptionWithoutAListLeavesTheNextWCommandWhole) {
  CTestHost host;
  host.Feed("S(WE)W(I3)");
  EXPECT_EQ(Permanent(host).foreground, 3);
}

// Erasing and the journal ----------------------------------------------------

TEST(ScreenErase, ErasesTheScreenPageToTheBackgroundIndexAndTellsTheHost) {
  CTestHost host;
  host.Feed("P[100,100]V[200,200]");
  ASSERT_GT(DrawnPixels(host), 0);
  host.callbacks.clear();
  host.Feed("S(I3)S(E)");
  EXPECT_EQ(IndexAt(host, 150, 150), 3);
  EXPECT_EQ(IndexAt(host, 0, 0), 3);
  EXPECT_EQ(IndexAt(host, 799, 479), 3);
  EXPECT_EQ(Count(host, CTestHost::Callback::PageErased), 1);
  EXPECT_EQ(host.Screen()->field2C, host.Screen()->field64 - 1);
  EXPECT_EQ(KXREG_DrawInitialText(host.Host()), 0);
}

TEST(ScreenErase, ErasesWhileRedrawIsSuspendedAndLeavesItSuspended) {
  CTestHost host;
  host.Feed("P[100,100]V[200,200]");
  host.Surface()->redrawSuspended = 1;
  host.Feed("S(E)");
  EXPECT_EQ(DrawnPixels(host), 0);
  EXPECT_EQ(host.Surface()->redrawSuspended, 1);
}

TEST(ScreenJournal, LiveEraseKeepsOnlyTheEraseCommand) {
  CTestHost host;
  host.Feed("V[0,0][100,100]S(I2,E)V[200,200]");
  EXPECT_EQ(JournalText(host), "S(I2,E)V[200,200]");
}

TEST(ScreenJournal, ALowerCaseEraseKeepsItsLetterAndEndsInUpperCaseE) {
  CTestHost host;
  host.Feed("v[0,0][10,10]s(e)");
  EXPECT_EQ(JournalText(host), "s(E)");
}

TEST(ScreenJournal, TheLetterIsFoundUpTo256BytesBack) {
  // "S(" and the filler make 256 bytes before the E.
  const std::string filler = [] {
    std::string s;
    for (int i = 0; i < 84; ++i) s += "P0,";
    return s + "  ";
  }();
  CTestHost host;
  host.Feed("V[0,0][10,10]S(" + filler + "E)");
  EXPECT_EQ(JournalText(host), "S(" + filler + "E)");
}

TEST(ScreenJournal, ALetterFurtherBackLeavesTheJournalEmpty) {
  std::string filler;
  for (int i = 0; i < 84; ++i) filler += "P0,";
  filler += "   ";
  CTestHost host;
  host.Feed("V[0,0][10,10]S(" + filler + "E");
  EXPECT_EQ(JournalText(host), "");
}

TEST(ScreenJournal, RefreshRedrawsFromTheErase) {
  CTestHost host;
  host.Feed("P[10,10]V[50,50]");
  host.Feed("S(E)");
  host.Feed("V[300,300]");
  const int foreground = DefaultForeground(host);
  // Something the journal does not know about, which the erase must remove.
  SetPixel(host.Surface()->pageDC[0], 700, 400, PALETTEINDEX(5));
  host.callbacks.clear();

  EXPECT_EQ(KXREG_RefreshFromBuf(host.Host()), 0);
  EXPECT_EQ(IndexAt(host, 700, 400), 0);
  EXPECT_EQ(IndexAt(host, 150, 150), foreground);
  EXPECT_EQ(IndexAt(host, 30, 30), 0);
  EXPECT_EQ(Count(host, CTestHost::Callback::PageErased), 1);
  EXPECT_EQ(Position(host).x, 300);
}

TEST(ScreenJournal, ARefreshGoingThroughAnEraseKeepsTheJournal) {
  CTestHost host;
  host.Feed("V[0,0][10,10]S(E)V[20,20]");
  const std::string before = JournalText(host);
  ASSERT_EQ(KXREG_RefreshFromBuf(host.Host()), 0);
  EXPECT_EQ(JournalText(host), before);
}

// Scrolling ------------------------------------------------------------------

TEST(ScreenScroll, APointAboveTheCurrentPositionMovesThePictureDown) {
  CTestHost host;
  host.Feed("P[100,50]V[100,150]");
  const int foreground = DefaultForeground(host);
  ASSERT_EQ(IndexAt(host, 100, 60), foreground);
  host.Feed("P[0,20]S[0,0]");
  EXPECT_EQ(IndexAt(host, 100, 60), 0);
  EXPECT_EQ(IndexAt(host, 100, 80), foreground);
  EXPECT_EQ(IndexAt(host, 100, 169), foreground);
  EXPECT_EQ(Position(host).y, 20);  // scrolling leaves the position alone
}

TEST(ScreenScroll, ARelativePointBelowMovesThePictureUp) {
  CTestHost host;
  host.Feed("P[100,50]V[100,150]");
  const int foreground = DefaultForeground(host);
  host.Feed("P[0,20]S[,+20]");
  EXPECT_EQ(IndexAt(host, 100, 30), foreground);
  EXPECT_EQ(IndexAt(host, 100, 140), 0);
}

struct PixelScrollCase {
  const char* name;
  const char* text;
  int dx, dy;  // where the drawn pixel went
};
void PrintTo(const PixelScrollCase& c, std::ostream* os) {
  *os << c.name;
}

const PixelScrollCase kPixelScrollCases[] = {
    {"FourMovesThePictureRight", "S4", 1, 0},
    {"TwoMovesThePictureDown", "S2", 0, 1},
    {"SevenMovesThePictureUpAndLeft", "S7", -1, -1},
    {"TheMultiplierLengthensTheStep", "W(M10)S4", 10, 0},
    {"AWOptionStepsTheDigitsThatContinueTheCommand", "S(W(M5))4", 5, 0},
};

class ScreenPixelScroll : public ::testing::TestWithParam<PixelScrollCase> {};

TEST_P(ScreenPixelScroll, MovesTheOppositeWayOfThePixelVector) {
  const PixelScrollCase& c = GetParam();
  CTestHost host;
  host.Feed("P[400,240]");
  SetPixel(host.Surface()->pageDC[0], 400, 240, PALETTEINDEX(5));
  ASSERT_EQ(IndexAt(host, 400, 240), 5);
  host.Feed(c.text);
  EXPECT_EQ(IndexAt(host, 400 + c.dx, 240 + c.dy), 5);
  EXPECT_EQ(IndexAt(host, 400, 240), 0);
}

INSTANTIATE_TEST_SUITE_P(Strings, ScreenPixelScroll, ::testing::ValuesIn(kPixelScrollCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(ScreenScroll, TheUncoveredBandTakesTheHostsBackgroundColourNotTheIndex) {
  CTestHost::Options options;
  options.background = RGB(0, 0, 255);
  CTestHost host(options);
  host.Feed("S(I3)S(E)P[0,0]S[0,20]");
  const soft::inspect::Image page = host.PageImage(1);
  EXPECT_EQ(page.RgbAt(10, 470), RGB(0, 0, 255));
  EXPECT_EQ(page.RgbAt(10, 459), page.RgbAt(10, 100));
  EXPECT_NE(page.RgbAt(10, 100), RGB(0, 0, 255));
  EXPECT_EQ(IndexAt(host, 10, 459), 3);
}

TEST(ScreenScroll, UnitsScaleToTheHostsPage) {
  CTestHost::Options options;
  options.cellWidth = 5;
  options.cellHeight = 10;  // 400 x 240 pixels
  options.background = RGB(0, 0, 255);
  CTestHost host(options);
  host.Feed("S(I3)S(E)P[0,20]S[0,0]");
  const soft::inspect::Image page = host.PageImage(1);
  EXPECT_EQ(page.RgbAt(200, 9), RGB(0, 0, 255));
  EXPECT_EQ(IndexAt(host, 200, 10), 3);
  // One unit across is less than a pixel: nothing moves, nothing is filled.
  host.Feed("P[10,20]S4");
  EXPECT_EQ(IndexAt(host, 0, 100), 3);
}

TEST(ScreenScroll, ScrollsTheScreenPageOnly) {
  CTestHost::Options options;
  options.background = RGB(0, 0, 255);
  CTestHost host(options);
  host.Feed("S(P1,I3,E)P[100,100]S[100,80]");
  EXPECT_EQ(host.PageImage(2).RgbAt(0, 5), RGB(0, 0, 255));
  EXPECT_EQ(IndexAt(host, 0, 25, 2), 3);
  EXPECT_EQ(IndexAt(host, 0, 5, 1), 0);
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
  EXPECT_EQ(LastError(host), 0);
}

struct DelayCase {
  const char* name;
  const char* text;
  DWORD atLeast, below;  // milliseconds of virtual time
  int error, errorChar;
};
void PrintTo(const DelayCase& c, std::ostream* os) {
  *os << c.name;
}

const DelayCase kDelayCases[] = {
    {"NoDigitsWaitOnePass", "S(T)", 0, 3, 0, 0},
    {"OneSecond", "S(T60)", 1000, 1003, 0, 0},
    {"TicksRoundDown", "S(T5)", 83, 86, 0, 0},
    {"ASpaceEndsTheWait", "S(T6 E)", 100, 103, 0, 0},
    {"ALetterAfterDigitsIsError1AndTheWaitGoesOn", "S(T6X)", 100, 103, 1, 'X'},
    {"ALetterWithoutDigitsEndsTheOption", "S(TX)", 0, 3, 1, 'X'},
    {"TheCountWrapsAt32Bits", "S(T4294967301)", 83, 86, 0, 0},
};

class ScreenDelayCases : public ::testing::TestWithParam<DelayCase> {};

TEST_P(ScreenDelayCases, WaitTheirTicks) {
  const DelayCase& c = GetParam();
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

INSTANTIATE_TEST_SUITE_P(Strings, ScreenDelayCases, ::testing::ValuesIn(kDelayCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(ScreenDelay, TicksAccumulateInUnsigned32Bits) {
  EXPECT_EQ(AppendTickDigit(429496729u, '5'), 4294967295u);
  EXPECT_EQ(AppendTickDigit(429496729u, '6'), 0u);
  EXPECT_EQ(AppendTickDigit(0u, '7'), 7u);
}

TEST(ScreenDelay, TheLongestCountWaitsItsWrappedMilliseconds) {
  // (4294967295 x 1000) mod 2^32 / 60 = 71582771 ms.
  CTestHost host;
  CPollClock clock(1000000);
  const DWORD start = GetTickCount();
  host.Feed("S(T4294967295)");
  const DWORD elapsed = GetTickCount() - start;
  EXPECT_GE(elapsed, 71582771u);
  EXPECT_LT(elapsed, 71582771u + 2000000u);
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

TEST_F(ScreenDelayHost, AnAbortRequestCutsALongWaitShortAndDropsTheRestOfTheString) {
  React([this] {
    host.SetSetting(KXREG_SETTING_ABORT);
    PostMessageA(host.Window(), WM_NULL, 0, 0);
  });
  const DWORD start = GetTickCount();
  host.Feed("P[10,10]S(T4294967295)P[300,300]");
  EXPECT_LT(GetTickCount() - start, 1000u);
  EXPECT_EQ(reactions, 1);
  EXPECT_EQ(Position(host).x, 10);
  EXPECT_FALSE(host.Setting(KXREG_SETTING_ABORT));
  // The screen command ended with the wait: the next string starts afresh.
  host.Feed("P[20,30]");
  EXPECT_EQ(Position(host).x, 20);
  EXPECT_EQ(Position(host).y, 30);
  EXPECT_EQ(LastError(host), 0);
}

TEST_F(ScreenDelayHost, AnAbortRequestWhileTheQueueStaysEmptyStillCutsTheWaitShort) {
  // As a host's signal handler would: the bit is set, no message follows.
  React([this] { host.SetSetting(KXREG_SETTING_ABORT); });
  const DWORD start = GetTickCount();
  host.Feed("S(T4294967295)P[300,300]");
  EXPECT_LT(GetTickCount() - start, 1000u);
  EXPECT_EQ(Position(host).x, 0);
  EXPECT_FALSE(host.Setting(KXREG_SETTING_ABORT));
}

TEST_F(ScreenDelayHost, ALostWindowCutsTheWaitShort) {
  React([this] { host.DetachWindow(); });
  const DWORD start = GetTickCount();
  host.Feed("S(T4294967295)P[300,300]");
  EXPECT_LT(GetTickCount() - start, 1000u);
  host.AttachWindow();
  EXPECT_EQ(Position(host).x, 0);
}

TEST_F(ScreenDelayHost, AHostErasingTheInstanceDuringTheWaitEndsIt) {
  // A terminal window closed during an animation: the wait must not touch
  // the deleted surface, interpreter or parser again.
  React([this] { host.Erase(); });
  const DWORD start = GetTickCount();
  host.Feed("P[10,10]S(T4294967295)P[300,300]");
  EXPECT_LT(GetTickCount() - start, 1000u);
  EXPECT_EQ(reactions, 1);
  EXPECT_EQ(host.Host()->grDrv, nullptr);
  EXPECT_EQ(host.Feed("P[1,1]"), 1);
}

TEST_F(ScreenDelayHost, AHostErasingTheInstanceDuringARedrawEndsIt) {
  host.Feed("V" + std::string(5000, ' '));  // the replay yields to the host after 4096 characters
  React([this] { host.Erase(); });
  EXPECT_EQ(KXREG_RefreshFromBuf(host.Host()), 1);
  EXPECT_EQ(reactions, 1);
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

TEST_F(ScreenDelayHost, AStringHandedOverDuringTheWaitIsDrawnAndJournalledInOrder) {
  int nested = -1;
  React([&] { nested = host.Feed("P[100,100]V[200,100]"); });
  host.Feed("S(T60)P[5,5]");
  EXPECT_EQ(nested, 0);
  EXPECT_EQ(IndexAt(host, 150, 100), DefaultForeground(host));
  EXPECT_EQ(Position(host).x, 5);
  EXPECT_EQ(LastError(host), 0);
  EXPECT_EQ(JournalText(host), "S(T60)P[100,100]V[200,100]P[5,5]");
}

TEST_F(ScreenDelayHost, ACommandLeftOpenDuringTheWaitIsDropped) {
  React([this] { host.Feed("V(W(I2))[300"); });
  host.Feed("S(T60)P[5,5]");
  EXPECT_EQ(Position(host).x, 5);
  EXPECT_EQ(LastError(host), 0);
  EXPECT_EQ(host.Interpreter()->flags & kFlagRawCoordinates, 0u);
  EXPECT_EQ(host.Interpreter()->parseStack.Count(), 1);
}

TEST_F(ScreenDelayHost, ASemicolonDuringTheWaitDiscardsTheWaitingCommand) {
  React([this] { host.Feed(";P[7,7]"); });
  host.Feed("S(T60)P[5,5]");
  EXPECT_EQ(Position(host).x, 5);
  host.Feed("P[9,9]");
  EXPECT_EQ(Position(host).x, 9);
}

TEST_F(ScreenDelayHost, ARefreshFromTheJournalDuringTheWaitRedrawsEverything) {
  host.Feed("P[100,100]V[200,100]");
  int refreshed = -1;
  React([&] { refreshed = KXREG_RefreshFromBuf(host.Host()); });
  host.Feed("S(T60)V[200,200]");
  EXPECT_EQ(refreshed, 0);
  const int foreground = DefaultForeground(host);
  EXPECT_EQ(IndexAt(host, 150, 100), foreground);
  EXPECT_EQ(IndexAt(host, 200, 150), foreground);
  EXPECT_EQ(Position(host).y, 200);
  EXPECT_EQ(JournalText(host), "P[100,100]V[200,100]S(T60)V[200,200]");
  EXPECT_EQ(host.Interpreter()->live, 1);
  EXPECT_EQ(host.Interpreter()->flags & kFlagReplaying, 0u);
}

// Hard copies ----------------------------------------------------------------

struct CellsCase {
  const char* name;
  int pageWidth, pageHeight, cellWidth, cellHeight;
  int x1, y1, x2, y2;
  CHardCopyCells cells;
};
void PrintTo(const CellsCase& c, std::ostream* os) {
  *os << c.name;
}

const CellsCase kCellsCases[] = {
    {"TopLeftQuarter", 800, 480, 10, 20, 0, 0, 400, 240, {0, 0, 39, 11}},
    {"ScaledPage", 640, 384, 8, 16, 100, 50, 700, 400, {10, 2, 69, 19}},
    {"CellsTruncate", 800, 480, 10, 20, 19, 39, 21, 41, {1, 1, 1, 1}},
    {"NegativeCornersTruncateTowardZero", 800, 480, 10, 20, -15, -30, 5, 10, {-1, -1, -1, -1}},
    {"NoCellWidthGivesZeroColumns", 800, 480, 0, 0, 100, 100, 400, 240, {0, 0, -1, -1}},
    {"HugeCornersWrap", 800, 480, 10, 20, 0, 0, 2147483647, 2147483647, {0, 0, -1, -1}},
};

class HardCopyCells_ : public ::testing::TestWithParam<CellsCase> {};

TEST_P(HardCopyCells_, CoverTheRectangle) {
  const CellsCase& c = GetParam();
  const CHardCopyCells cells =
      HardCopyCells(c.pageWidth, c.pageHeight, c.cellWidth, c.cellHeight, c.x1, c.y1, c.x2, c.y2);
  EXPECT_EQ(cells.firstColumn, c.cells.firstColumn);
  EXPECT_EQ(cells.firstRow, c.cells.firstRow);
  EXPECT_EQ(cells.lastColumn, c.cells.lastColumn);
  EXPECT_EQ(cells.lastRow, c.cells.lastRow);
}

INSTANTIATE_TEST_SUITE_P(Values, HardCopyCells_, ::testing::ValuesIn(kCellsCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(HardCopyRegion, TheWholeScreenReachesRow439) {
  EXPECT_TRUE(IsWholeScreenHardCopy(0, 0, 799, 479));
  EXPECT_TRUE(IsWholeScreenHardCopy(0, 0, 799, 439));
  EXPECT_TRUE(IsWholeScreenHardCopy(-5, -5, 900, 900));
  EXPECT_FALSE(IsWholeScreenHardCopy(1, 0, 799, 479));
  EXPECT_FALSE(IsWholeScreenHardCopy(0, 1, 799, 479));
  EXPECT_FALSE(IsWholeScreenHardCopy(0, 0, 798, 479));
  EXPECT_FALSE(IsWholeScreenHardCopy(0, 0, 799, 438));
}

// What the host's region callback sees in the screen record.
struct CRegionSeen {
  KXREG_SCREEN* screen = nullptr;
  int calls = 0;
  int code = 0;
  int32_t fields[5] = {};
};
CRegionSeen g_region;

void KXREG_CALLBACK RecordRegion(HWND, int code) {
  ++g_region.calls;
  g_region.code = code;
  for (int i = 0; i < 5; ++i) g_region.fields[i] = g_region.screen->hardCopy[i];
}

class ScreenHardCopy : public ::testing::Test {
 protected:
  void SetUp() override {
    g_region = CRegionSeen{};
    g_region.screen = host.Screen();
    host.Surface()->regionCallback = &RecordRegion;
    for (int32_t& field : host.Screen()->hardCopy) field = 1234;
  }

  void ExpectSeen(int32_t c1, int32_t r1, int32_t c2, int32_t r2, int32_t set) {
    EXPECT_EQ(g_region.calls, 1);
    EXPECT_EQ(g_region.code, 1);
    EXPECT_EQ(g_region.fields[0], c1);
    EXPECT_EQ(g_region.fields[1], r1);
    EXPECT_EQ(g_region.fields[2], c2);
    EXPECT_EQ(g_region.fields[3], r2);
    EXPECT_EQ(g_region.fields[4], set);
  }

  void ExpectMarkedAfter(int32_t set) {
    for (int i = 0; i < 4; ++i) EXPECT_EQ(host.Screen()->hardCopy[i], kHardCopyUnused) << i;
    EXPECT_EQ(host.Screen()->hardCopy[4], set);
  }

  CTestHost host;
};

TEST_F(ScreenHardCopy, ARectangleIsWrittenInTextCellsBeforeTheCallback) {
  host.Feed("S(H[0,0][400,240])");
  ExpectSeen(0, 0, 39, 11, 1);
  ExpectMarkedAfter(1);
  EXPECT_EQ(LastError(host), 0);
}

TEST_F(ScreenHardCopy, TheWholeScreenCallsTheHostWithoutARegion) {
  host.Feed("S(H)");
  ExpectSeen(1234, 1234, 1234, 1234, 1234);
  ExpectMarkedAfter(1234);
}

TEST_F(ScreenHardCopy, OneCornerCopiesUpToTheCurrentPosition) {
  host.Feed("P[400,240]S(H[0,0])");
  ExpectSeen(0, 0, 39, 11, 1);
}

TEST_F(ScreenHardCopy, TheOffsetGroupSetsTheOffsetWithoutACopy) {
  host.Feed("S(H)");
  EXPECT_EQ(host.Surface()->hardCopyOffsetX, 50);  // until a P group sets another
  g_region.calls = 0;
  host.Feed("S(H(P[10,20]))");
  EXPECT_EQ(g_region.calls, 0);
  EXPECT_EQ(host.Context()->draw.hardCopyOffset.x, 10);
  EXPECT_EQ(host.Context()->draw.hardCopyOffset.y, 20);
  EXPECT_EQ(host.Surface()->hardCopyOffsetX, 50);
  EXPECT_EQ(LastError(host), 0);
  host.Feed("S(H)");
  EXPECT_EQ(host.Surface()->hardCopyOffsetX, 10);
  EXPECT_EQ(host.Surface()->hardCopyOffsetY, 20);
}

TEST_F(ScreenHardCopy, TheOffsetGroupMayGoOnWithCorners) {
  host.Feed("S(H(P[10,20][0,0][400,240]),E)");
  ExpectSeen(0, 0, 39, 11, 1);
  EXPECT_EQ(host.Surface()->hardCopyOffsetX, 10);
  EXPECT_EQ(LastError(host), 0);
  EXPECT_EQ(host.Interpreter()->parseStack.Count(), 1);
}

// The graphics cursor ---------------------------------------------------------

TEST(ScreenCursor, ZeroHidesTheCaretAndOneShowsItAtThePosition) {
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
}

struct StyleCase {
  const char* name;
  const char* text;
  int style;
  int error, errorChar;
};
void PrintTo(const StyleCase& c, std::ostream* os) {
  *os << c.name;
}

const StyleCase kStyleCases[] = {
    {"HAloneIsStyle1", "S(C(H))", 1, 0, 0},
    {"H2IsStyle0", "S(C(H2))", 0, 0, 0},
    {"IAloneIsStyle0", "S(C(H,I))", 0, 0, 0},
    {"I3IsStyle2", "S(C(I3))", 2, 0, 0},
    {"TheLastValueCounts", "S(C(I4,H0))", 1, 0, 0},
    {"AUserCursorIsStyle4", "S(C(I[5,6]\"AB\"))", 4, 0, 0},
    {"AnUnknownLetterIsError1", "S(C(Q", 0, 1, 'Q'},
    {"AWrongOpeningQuoteIsError1", "S(C(I[5,6]x", 0, 1, 'X'},
    {"AWrongClosingQuoteIsError1", "S(C(I[5,6]\"ABx", 0, 1, 'X'},
};

class ScreenCursorStyles : public ::testing::TestWithParam<StyleCase> {};

TEST_P(ScreenCursorStyles, AreStoredInTheGraphicsState) {
  const StyleCase& c = GetParam();
  CTestHost host;
  host.Feed(c.text);
  EXPECT_EQ(host.State()->cursorStyle, c.style);
  EXPECT_EQ(LastError(host), c.error);
  EXPECT_EQ(LastErrorChar(host), c.errorChar);
}

INSTANTIATE_TEST_SUITE_P(Strings, ScreenCursorStyles, ::testing::ValuesIn(kStyleCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(ScreenCursor, AUserCursorKeepsItsCharactersAndOffset) {
  CTestHost host;
  host.Feed("S(C(I[5,6]\"AB\"))");
  EXPECT_EQ(host.State()->userCursor[0], 'A');
  EXPECT_EQ(host.State()->userCursor[1], 'B');
  EXPECT_EQ(host.State()->userCursorX, 5);
  EXPECT_EQ(host.State()->userCursorY, 6);
}

// Screen addressing -------------------------------------------------------------

struct AddressCase {
  const char* name;
  const char* text;
  int x, y;
};
void PrintTo(const AddressCase& c, std::ostream* os) {
  *os << c.name;
}

const AddressCase kAddressCases[] = {
    {"TheDeviceRectangleIsTheIdentity", "S(A[0,0][799,479])P[123,45]", 123, 45},
    {"AFlippedYAxisPutsTheOriginBottomLeft", "S(A[0,479][799,0])P[100,0]", 100, 479},
    {"AFlippedYAxisPutsTheTopAt479", "S(A[0,479][799,0])P[100,479]", 100, 0},
    {"AnOffsetRectangleScalesBothAxesAlike", "S(A[100,200][900,-200])P[300,100]", 200, 100},
    {"RelativeStepsCountInUserUnits", "S(A[100,200][900,-200])P[300,100]P[+100,-50]", 300, 150},
    {"NoStepKeepsThePosition", "S(A[100,200][900,-200])P[300,100]P[+0,+0]", 200, 100},
    {"AWideRectangleFitsItsHeight", "S(A[0,0][1599,959])P[1599,959]", 799, 479},
    {"AnEmptyRectangleKeepsTheScales", "S(A[0,0][0,0])P[10,20]", 10, 20},
    {"AZeroWidthKeepsThePreviousScales", "S(A[0,0][1599,959])S(A[5,5][5,100])P[7,5]", 1, 0},
    {"AnInfiniteCornerKeepsTheScales", "S(A[0,0][1E400,5])P[10,20]", 10, 20},
    {"RelativeCornersCountFromTheCurrentPosition", "P[100,100]S(A[+0,+0][+799,+479])P[150,100]", 50, 0},
};

class ScreenAddress : public ::testing::TestWithParam<AddressCase> {};

TEST_P(ScreenAddress, MapsUserCoordinatesOntoTheScreen) {
  const AddressCase& c = GetParam();
  CTestHost host;
  host.Feed(c.text);
  EXPECT_EQ(Position(host).x, c.x);
  EXPECT_EQ(Position(host).y, c.y);
  EXPECT_EQ(LastError(host), 0);
  EXPECT_EQ(host.Interpreter()->flags & kFlagRawCoordinates, 0u);
}

INSTANTIATE_TEST_SUITE_P(Strings, ScreenAddress, ::testing::ValuesIn(kAddressCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(ScreenAddressTransform, TheDeviceRectangleResetsToTheIdentity) {
  CTestHost host;
  host.Feed("S(A[0,0][1599,959])S(A[0,0][799,479])");
  const CInterpreter& interp = *host.Interpreter();
  EXPECT_EQ(interp.sx, 1.0);
  EXPECT_EQ(interp.sy, 1.0);
  EXPECT_EQ(interp.ox, 0.0);
  EXPECT_EQ(interp.oy, 0.0);
  // The extents are those of the last rectangle that changed the transform.
  EXPECT_EQ(interp.userWidth, 1599.0);
  EXPECT_EQ(interp.userHeight, 959.0);
}

TEST(ScreenAddressTransform, ATallerRatioGivesBothScales479Over959) {
  CTestHost host;
  host.Feed("S(A[0,0][1599,959])");
  EXPECT_DOUBLE_EQ(host.Interpreter()->sx, 479.0 / 959.0);
  EXPECT_DOUBLE_EQ(host.Interpreter()->sy, 479.0 / 959.0);
}

TEST(ScreenAddressTransform, TheStandardRatioKeepsTheScalesAndZeroesTheOffsets) {
  CTestHost host;
  host.Feed("S(A[0,0][1599,959])S(A[10,10][1608,968])S(A[0,0][1598,958])");
  EXPECT_DOUBLE_EQ(host.Interpreter()->sx, 479.0 / 959.0);
  EXPECT_DOUBLE_EQ(host.Interpreter()->sy, 479.0 / 959.0);
  EXPECT_EQ(host.Interpreter()->ox, 0.0);
  EXPECT_EQ(host.Interpreter()->oy, 0.0);
}

TEST(ScreenAddressTransform, ADiscardedOptionStopsDeliveringRawCoordinates) {
  CTestHost host;
  host.Feed("S(A[0,0;P[10,20]");
  EXPECT_EQ(host.Interpreter()->flags & kFlagRawCoordinates, 0u);
  EXPECT_EQ(Position(host).x, 10);
  EXPECT_EQ(Position(host).y, 20);
}

}  // namespace
