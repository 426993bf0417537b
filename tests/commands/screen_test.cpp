// The screen command: scroll, pages, map, waits, hard copy, cursor, address.
#include "commands/screen.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "regis_probe.h"
#include "surface/graphics_context.h"
#include "surface/hard_copy_region.h"

namespace {

using commands_test::DefaultForeground;
using commands_test::ExpectFacts;
using commands_test::IndexAt;
using commands_test::LastError;
using commands_test::Position;

// Virtual time that moves by a millisecond whenever a pump finds the queue
// empty, so that waits run at once.
struct CPollClock {
  CPollClock() { soft::inspect::SetAdvancePerEmptyPoll(1); }
  ~CPollClock() { soft::inspect::SetAdvancePerEmptyPoll(0); }
};

TEST(ScreenOptions, ParseAndRecord) {
  const struct {
    const char* text;
    int error, errorChar;
    int screenPage, background;
  } rows[] = {
      {"S()", 0, 0, 0, 0},
      {"S(X)", 1, 'X', 0, 0},
      {"S(P1)", 0, 0, 1, 0},
      {"S(PX1)", 1, 'X', 1, 0},  // the page stays open after a letter
      {"S(I3)", 0, 0, 0, 3},     // only stored
      {"S(I16)", 0, 0, 0, 0},
      {"S(I(G))", 0, 0, 0, 3},  // the nearest map entry
      {"S(P1,I2 P0)", 0, 0, 0, 2},
      {"S(A[0,0][799,479][5,5])", 2, 0, 0, 0},
      {"S(H[0,0][10,10][5,5])", 2, 0, 0, 0},
      {"S(E[5,5])", 1, ']', 0, 0},
      {"S(C1Q)", 1, 'Q', 0, 0},  // the cursor hands back what ends it
      {"S((", 1, '(', 0, 0},
      // A W without a list leaves its flag for the dispatcher: the foreground stays.
      {"S(W))W(I2)", 1, ')', 0, 0},
  };
  for (const auto& c : rows) {
    SCOPED_TRACE(c.text);
    CTestHost host;
    host.Feed(c.text);
    EXPECT_EQ(LastError(host), c.error);
    EXPECT_EQ(commands_test::LastErrorChar(host), c.errorChar);
    EXPECT_EQ(host.State()->screenPage, c.screenPage);
    EXPECT_EQ(host.State()->background, c.background);
    EXPECT_EQ(commands_test::Permanent(host).foreground, DefaultForeground(host));
  }
}

TEST(ScreenScroll, MovesThePictureTheOppositeWayAndLeavesThePosition) {
  const struct {
    const char* text;
    int dx, dy;  // where the drawn pixel went
  } rows[] = {
      {"S[400,220]", 0, 20}, {"S[,+20]", 0, -20}, {"S4", 1, 0},
      {"S7", -1, -1},        {"W(M10)S4", 10, 0}, {"S(W(M5))4", 5, 0},  // the W steps the digits after it
  };
  for (const auto& c : rows) {
    SCOPED_TRACE(c.text);
    CTestHost host;
    host.Feed("P[400,240]");
    SetPixel(host.Surface()->pageDC[0], 400, 240, PALETTEINDEX(5));
    host.Feed(c.text);
    EXPECT_EQ(IndexAt(host, 400 + c.dx, 240 + c.dy), 5);
    EXPECT_EQ(IndexAt(host, 400, 240), 0);
    EXPECT_EQ(Position(host).y, 240);
  }
  CTestHost host;  // the band scrolled in takes the host's background colour, whatever the index
  host.Feed("S(I3)S[,+20]");
  EXPECT_EQ(host.PageImage().RgbAt(10, 470), host.options().background);
}

TEST(ScreenDelay, WaitsItsTicksWithTheWindowUpToDate) {
  const struct {
    const char* text;
    DWORD atLeast;  // milliseconds of virtual time, and less than 3 more
    int error, errorChar;
  } rows[] = {
      {"S(T)", 0, 0, 0},         {"S(T60)", 1000, 0, 0},
      {"S(T6 E)", 100, 0, 0},    {"S(T6X)", 100, 1, 'X'},       // the wait goes on after the error
      {"S(TX)", 0, 1, 'X'},      {"S(T4294967301)", 83, 0, 0},  // the count wraps at 32 bits
      {"S(T4294968)", 11, 0, 0},                                // and so do the milliseconds
  };
  for (const auto& c : rows) {
    SCOPED_TRACE(c.text);
    CTestHost host;
    CPollClock clock;
    host.Feed("P[100,100]V[200,200]");
    host.Surface()->redrawSuspended = 1;
    soft::inspect::ClearInvalidations(host.Window());
    const DWORD start = GetTickCount();
    EXPECT_EQ(host.Feed(c.text), 0);
    EXPECT_GE(GetTickCount() - start, c.atLeast);
    EXPECT_LT(GetTickCount() - start, c.atLeast + 3);
    EXPECT_EQ(LastError(host), c.error);
    EXPECT_EQ(commands_test::LastErrorChar(host), c.errorChar);
    if (c.atLeast == 0) continue;  // a wait that ran has repainted the whole window, still suspended
    const std::vector<RECT> rects = soft::inspect::Invalidations(host.Window());
    ASSERT_FALSE(rects.empty());
    EXPECT_EQ(rects.front().right * rects.front().bottom, 800 * 480);
    EXPECT_EQ(host.Surface()->redrawSuspended, 1);
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
  CPollClock clock;
  int reactions = 0;
};

TEST_F(ScreenDelayHost, AnAbortRequestOrALostWindowSeenWithAMessageCutsTheWaitShort) {
  for (const bool abort : {true, false}) {
    React([&] {
      abort ? host.SetSetting(KXREG_SETTING_ABORT) : host.DetachWindow();
      PostMessageA(host.Window(), WM_NULL, 0, 0);
    });
    const DWORD start = GetTickCount();
    host.Feed("P[10,10]S(T4294967295)P[300,300]");
    EXPECT_LT(GetTickCount() - start, 1000u);
    host.AttachWindow();
    ExpectFacts(host, "at=10,10");
    EXPECT_FALSE(host.Setting(KXREG_SETTING_ABORT));
    host.Feed("P[20,30]");  // the screen command ended with the wait
    ExpectFacts(host, "at=20,30");
  }
  EXPECT_EQ(reactions, 2);
}

TEST_F(ScreenDelayHost, AHostErasingTheInstanceDuringTheWaitOrARedrawEndsIt) {
  // A terminal window closed during an animation: the wait must not touch
  // the deleted surface, interpreter or parser again.
  React([this] { host.Erase(); });
  host.Feed("P[10,10]S(T4294967295)P[300,300]");
  EXPECT_EQ(host.Host()->grDrv, nullptr);
  host.Init(1);
  host.Feed("V" + std::string(5000, ' '));  // the replay yields to the host after 4096 characters
  React([this] { host.Erase(); });
  EXPECT_EQ(KXREG_RefreshFromBuf(host.Host()), 1);
  EXPECT_EQ(reactions, 2);
  EXPECT_EQ(host.Host()->interpreter, nullptr);
}

TEST_F(ScreenDelayHost, InputHandedOverDuringTheWaitIsDrawnAndJournalledInOrder) {
  int nested = -1;
  React([&] { nested = host.Feed("P[100,100]V[200,100]"); });
  host.Feed("S(T60)P[5,5]");
  EXPECT_EQ(nested, 0);
  ExpectFacts(host, "px=150,100:fg at=5,5");
  std::string journal;
  host.Interpreter()->journal.Rewind();
  for (char ch; (ch = host.Interpreter()->journal.GetChar()) != 0;) journal += ch;
  EXPECT_EQ(journal, "S(T60)P[100,100]V[200,100]P[5,5]");
  // A command the input leaves open is dropped; a semicolon in it discards nothing of ours.
  for (const char* nestedText : {"V(W(I2))[300", ";P[7,7]"}) {
    React([&] { host.Feed(nestedText); });
    host.Feed("S(T60)P[6,6]");
    ExpectFacts(host, "at=6,6 parse=1");
    EXPECT_EQ(host.Interpreter()->flags & kFlagRawCoordinates, 0u);
  }
}

// The five fields of the screen record's region and the code, as the host's
// region callback sees them.
KXREG_SCREEN* g_screen = nullptr;
std::vector<std::vector<int32_t>> g_regions;

void KXREG_CALLBACK RecordRegion(HWND, int code) {
  g_regions.emplace_back(g_screen->hardCopy, g_screen->hardCopy + 5);
  g_regions.back().push_back(code);
}

TEST(ScreenHardCopy, TheRegionIsWrittenInTextCellsForTheCallbackAndMarkedUnusedAfter) {
  const std::vector<int32_t> quarter = {0, 0, 39, 11, 1, 1}, untouched = {1234, 1234, 1234, 1234, 1234, 1};
  const struct {
    const char* text;
    std::vector<int32_t> seen;
    int32_t offsetX, offsetY;
  } rows[] = {
      {"S(H[0,0][400,240])", quarter, 50, 0},    {"S(H)", untouched, 50, 0},
      {"P[400,240]S(H[0,0])", quarter, 50, 0},   {"S(H(P[10,20][0,0][400,240]),E)", quarter, 10, 20},
      {"S(H(P[10,20]))S(H)", untouched, 10, 20},  // the offset alone copies nothing
  };
  for (const auto& c : rows) {
    SCOPED_TRACE(c.text);
    CTestHost host;
    g_screen = host.Screen();
    g_regions.clear();
    host.Surface()->regionCallback = &RecordRegion;
    for (int32_t& field : host.Screen()->hardCopy) field = 1234;
    host.Feed(c.text);
    EXPECT_EQ(g_regions, std::vector<std::vector<int32_t>>{c.seen});
    EXPECT_EQ(std::vector<int32_t>(host.Screen()->hardCopy, host.Screen()->hardCopy + 5),
              std::vector<int32_t>(
                  {kHardCopyUnused, kHardCopyUnused, kHardCopyUnused, kHardCopyUnused, c.seen[4]}));
    EXPECT_EQ(host.Surface()->hardCopyOffsetX, c.offsetX);
    EXPECT_EQ(host.Surface()->hardCopyOffsetY, c.offsetY);
    ExpectFacts(host, "parse=1");
  }
}

TEST(ScreenCursor, ZeroHidesTheCaretOneShowsItAtThePositionAndItFollowsMoves) {
  CTestHost host;
  host.Feed("P[400,240]S(C0)");
  EXPECT_FALSE(host.State()->OutputCursorOn());
  EXPECT_FALSE(soft::inspect::Caret().shown);
  host.Feed("S(C1)");
  EXPECT_TRUE(host.State()->OutputCursorOn());
  EXPECT_TRUE(soft::inspect::Caret().shown);
  EXPECT_EQ(soft::inspect::Caret().x, 390);  // a box two cells wide and one high, centred
  host.Feed("P[100,200]");
  EXPECT_EQ(soft::inspect::Caret().x, 90);
  EXPECT_EQ(soft::inspect::Caret().y, 190);
}

TEST(ScreenCursor, StylesAreStoredInTheGraphicsState) {
  const struct {
    const char* text;
    int style;
    int error, errorChar;
  } rows[] = {
      {"S(C(H))", 1, 0, 0},           {"S(C(H,I))", 0, 0, 0},
      {"S(C(I3))", 2, 0, 0},          {"S(C(I4,H0))", 1, 0, 0},
      {"S(C(Q", 0, 1, 'Q'},           {"S(C(I[5,6]x", 0, 1, 'X'},  // a wrong quote
      {"S(C(I[5,6]\"ABx", 0, 1, 'X'}, {"S(C(I[5,6]\"AB\"))", 4, 0, 0},
      {"S(C(I[5,6]'AB'))", 4, 0, 0},  {"S(C(I/))", 0, 1, '/'},
  };
  for (const auto& c : rows) {
    SCOPED_TRACE(c.text);
    CTestHost host;
    host.Feed(c.text);
    EXPECT_EQ(host.State()->cursorStyle, c.style);
    EXPECT_EQ(LastError(host), c.error);
    EXPECT_EQ(commands_test::LastErrorChar(host), c.errorChar);
    if (c.style == 4) {
      EXPECT_EQ(std::string(host.State()->userCursor, 2), "AB");
      EXPECT_EQ(std::vector<int>({host.State()->userCursorX, host.State()->userCursorY}),
                std::vector<int>({5, 6}));
    }
  }
}

TEST(ScreenAddress, MapsUserCoordinatesOntoTheScreen) {
  const commands_test::CCase cases[] = {
      {"the device rectangle", "S(A[0,0][799,479])P[123,45]", "at=123,45"},
      {"a flipped y axis", "S(A[0,479][799,0])P[100,0]", "at=100,479"},
      {"an offset rectangle", "S(A[100,200][900,-200])P[300,100]", "at=200,100"},
      {"an empty rectangle keeps the scales", "S(A[0,0][0,0])P[10,20]", "at=10,20"},
      {"an infinite corner keeps the scales", "S(A[0,0][1E400,5])P[10,20]", "at=10,20"},
      {"relative corners", "P[100,100]S(A[+0,+0][+799,+479])P[150,100]", "at=50,0"},
      {"a discarded option ends raw coordinates", "S(A[0,0;P[10,20]", "at=10,20"},
  };
  commands_test::ExpectCases(cases);
}

}  // namespace
