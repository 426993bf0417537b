// Redrawing from the journal: what a replay feeds, the state it starts from,
// and how it reacts to messages dispatched while it yields.
#include <gtest/gtest.h>

#include <string>

#include "interp/interpreter.h"
#include "support/scripted_parser.h"
#include "support/test_host.h"
#include "surface/graphics_state.h"

namespace {

constexpr UINT kPoke = WM_USER + 1;  // a message the tests post to re-enter the library

void PushRecorder(CTestHost& host, std::string* seen) {
  host.Interpreter()->parseStack.Push(new CScriptedParser(seen));
}

POINT Position(CTestHost& host) {
  return KXREG_GetRegisCurPos(host.Host());
}

}  // namespace

TEST(Replay, RefreshFeedsTheJournalThroughTheParsersAgainAndJournalsNothing) {
  CTestHost host;
  std::string seen;
  PushRecorder(host, &seen);
  host.Feed("abc");
  host.Feed("d\re");
  EXPECT_EQ(KXREG_RefreshFromBuf(host.Host()), 0);
  EXPECT_EQ(seen, "ABCDEABCDE");
  EXPECT_EQ(KXREG_RefreshFromBuf(host.Host()), 0);
  EXPECT_EQ(seen, "ABCDEABCDEABCDE");
}

TEST(Replay, ErrorsOfTheJournalAreRecordedAgain) {
  CTestHost host;
  host.Feed("Q");
  host.Interpreter()->SetError(0, 0);
  ASSERT_EQ(KXREG_RefreshFromBuf(host.Host()), 0);
  EXPECT_EQ(host.Interpreter()->lastError, 1);
  EXPECT_EQ(host.Interpreter()->lastErrorChar, 'Q');
}

TEST(Replay, AfterAClearFeedsNothingAndStartsFromThePositionOfTheClear) {
  CTestHost host;
  std::string seen;
  PushRecorder(host, &seen);
  host.Feed("abc");
  KXREG_SetRegisCurPos(host.Host(), 100, 200, 1);
  ASSERT_EQ(KXREG_ClearParserBuf(host.Host()), 0);
  EXPECT_EQ(host.Host()->graphicsData, 0);
  KXREG_SetRegisCurPos(host.Host(), 300, 400, 1);
  ASSERT_EQ(KXREG_RefreshFromBuf(host.Host()), 0);
  EXPECT_EQ(seen, "ABC");
  EXPECT_EQ(Position(host).x, 100);
  EXPECT_EQ(Position(host).y, 200);
}

TEST(Replay, KeepsTheOutputCursorBitOfTheCaller) {
  CTestHost host;
  ASSERT_TRUE(host.State()->OutputCursorOn());
  ASSERT_EQ(KXREG_RefreshFromBuf(host.Host()), 0);
  EXPECT_TRUE(host.State()->OutputCursorOn());
  host.State()->flags &= ~kOutputCursorOn;
  ASSERT_EQ(KXREG_RefreshFromBuf(host.Host()), 0);
  EXPECT_FALSE(host.State()->OutputCursorOn());
}

TEST(Replay, AGeometryChangeWithoutResetIsRefused) {
  CTestHost host;
  std::string seen;
  PushRecorder(host, &seen);
  host.Feed("a");
  host.Host()->rows = 25;
  EXPECT_EQ(KXREG_RefreshFromBuf(host.Host()), 1);
  EXPECT_EQ(seen, "A");
  ASSERT_EQ(KXREG_Reset(host.Host(), 0xFFFFFF, 0, 0, 0), 0);
  EXPECT_EQ(KXREG_RefreshFromBuf(host.Host()), 0);
  EXPECT_EQ(seen, "AA");
}

class ReplayReentrance : public testing::Test {
 protected:
  void SetUp() override {
    PushRecorder(host, &seen);
    host.Feed(std::string(kLength, 'a'));
    seen.clear();
    PostMessageA(host.Window(), kPoke, 0, 0);
  }

  // Runs the action the first time the poke arrives while the library pumps.
  void OnPoke(std::function<void()> action) {
    host.onMessage = [this, action](UINT message, WPARAM, LPARAM) {
      if (message != kPoke) return false;
      replayingDuringPoke = (host.Interpreter()->flags & kFlagReplaying) != 0;
      action();
      return true;
    };
  }

  static constexpr size_t kLength = 5000;  // more than one yield of 4096
  CTestHost host;
  std::string seen;
  bool replayingDuringPoke = false;
};

TEST_F(ReplayReentrance, MessagesAreDispatchedWhileTheReplayYields) {
  OnPoke([] {});
  EXPECT_EQ(KXREG_RefreshFromBuf(host.Host()), 0);
  EXPECT_TRUE(replayingDuringPoke);
  EXPECT_EQ(seen.size(), kLength);
}

TEST_F(ReplayReentrance, AStringArrivingDuringARefreshIsRefused) {
  int result = -1;
  OnPoke([&] { result = host.Feed("b"); });
  EXPECT_EQ(KXREG_RefreshFromBuf(host.Host()), 0);
  EXPECT_EQ(result, 1);
  EXPECT_EQ(seen.find('B'), std::string::npos);
}

TEST_F(ReplayReentrance, ARefreshDuringARefreshRestartsItFromTheFirstByte) {
  int inner = -1;
  OnPoke([&] { inner = KXREG_RefreshFromBuf(host.Host()); });
  EXPECT_EQ(KXREG_RefreshFromBuf(host.Host()), 0);
  EXPECT_EQ(inner, 1);
  EXPECT_EQ(seen.size(), 4096 + kLength);
  EXPECT_EQ(host.Interpreter()->flags & (kFlagReplaying | kFlagReplayAgain), 0u);
}

TEST_F(ReplayReentrance, AnAbortStopsTheRefreshAndTheNextOneStartsAfresh) {
  OnPoke([&] { host.SetSetting(KXREG_SETTING_ABORT); });
  EXPECT_EQ(KXREG_RefreshFromBuf(host.Host()), 1);
  EXPECT_FALSE(host.Setting(KXREG_SETTING_ABORT));
  EXPECT_EQ(host.Interpreter()->flags & kFlagReplaying, 0u);
  EXPECT_EQ(host.Interpreter()->live, 1);
  EXPECT_EQ(seen.size(), 4096u);
  seen.clear();
  EXPECT_EQ(KXREG_RefreshFromBuf(host.Host()), 0);
  EXPECT_EQ(seen.size(), kLength);
}

TEST_F(ReplayReentrance, ALostWindowStopsTheRefreshAndLeavesItLive) {
  OnPoke([&] { host.DetachWindow(); });
  EXPECT_EQ(KXREG_RefreshFromBuf(host.Host()), 1);
  host.AttachWindow();
  EXPECT_EQ(host.Interpreter()->flags & kFlagReplaying, 0u);
  EXPECT_EQ(host.Interpreter()->live, 1);
  EXPECT_EQ(host.Feed(""), 0);
}

TEST_F(ReplayReentrance, AQuitDuringARefreshIsPostedAgainForTheHost) {
  OnPoke([] { PostQuitMessage(3); });
  EXPECT_EQ(KXREG_RefreshFromBuf(host.Host()), 1);
  host.Pump();
  EXPECT_TRUE(host.quitSeen);
  EXPECT_EQ(host.quitCode, 3);
}
