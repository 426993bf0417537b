// The journal and redrawing from it, including re-entrance while it yields.
#include "interp/journal.h"

#include <gtest/gtest.h>

#include <string>

#include "interp/interpreter.h"
#include "platform/soft/inspect.h"
#include "support/scripted_parser.h"
#include "support/test_host.h"
#include "surface/graphics_state.h"

namespace {

std::string ReadAll(CJournal& journal) {
  std::string text;
  journal.Rewind();
  for (char ch = journal.GetChar(); ch != 0; ch = journal.GetChar()) text.push_back(ch);
  return text;
}

void AppendAll(CJournal& journal, const std::string& text) {
  for (char ch : text) journal.Append(ch);
}

FILE* NoTempFile() {
  return nullptr;
}

struct CFailingTempFiles {
  CFailingTempFiles() : previous(SetTempFileOpener(&NoTempFile)) {}
  ~CFailingTempFiles() { SetTempFileOpener(previous); }
  TempFileOpener previous;
};

void PushRecorder(CTestHost& host, std::string* seen) {
  host.Interpreter()->parseStack.Push(new CScriptedParser(seen));
}

}  // namespace

TEST(Journal, TruncatingKeepsOnlyTheErasingCommand) {
  const std::string x255(255, 'x');
  const struct {
    std::string before, after;
  } rows[] = {
      {"P[100,100]V[200,200]S(E", "S(E"},
      {"p[1,1]s(e", "s(E"},                  // lower-case letters are kept but the erase raised
      {"V[]S(C1I2E", "S(C1I2E"},             // options before the erase are kept
      {"S(E)V[]S(E", "S(E"},                 // the nearest letter wins
      {"V[1,1](E", ""},                      // no letter leaves the journal empty
      {"E", ""},                             // and so does a one-byte journal
      {"S" + x255 + "E", "S" + x255 + "E"},  // a letter exactly 256 bytes back is found
      {"S" + x255 + "xE", ""},               // one beyond is not
  };
  for (const auto& c : rows) {
    CJournal journal;
    AppendAll(journal, c.before);
    journal.TruncateAtErase();
    EXPECT_EQ(ReadAll(journal), c.after) << c.before;
  }
}

TEST(Journal, WithoutATempFileEveryRecordedCharacterIsReportedAndRefreshFails) {
  CFailingTempFiles failing;
  CJournal journal;
  EXPECT_EQ(journal.file, nullptr);
  soft::inspect::ClearDebugOutput();
  journal.Append('P');
  journal.Append('V');
  EXPECT_EQ(soft::inspect::DebugOutput(), "can not open temp filecan not open temp file");
  EXPECT_EQ(journal.GetChar(), 0);
  CTestHost host;
  EXPECT_EQ(host.Feed("Q"), 0) << "interpretation goes on";
  EXPECT_EQ(host.Interpreter()->lastErrorChar, 'Q');
  EXPECT_EQ(KXREG_RefreshFromBuf(host.Host()), 1);
}

class ReplayReentrance : public testing::Test {
 protected:
  static constexpr UINT kPoke = WM_USER + 1;  // a message the tests post to re-enter the library
  static constexpr size_t kLength = 5000;     // more than one yield of 4096

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
  void ExpectStoppedAndLive() {
    EXPECT_EQ(host.Interpreter()->flags & (kFlagReplaying | kFlagReplayAgain), 0u);
    EXPECT_EQ(host.Interpreter()->live, 1);
  }

  CTestHost host;
  std::string seen;
  bool replayingDuringPoke = false;
};

TEST_F(ReplayReentrance, MessagesAreDispatchedWhileTheReplayYieldsButAStringArrivingThenIsRefused) {
  int result = -1;
  OnPoke([&] { result = host.Feed("b"); });
  EXPECT_EQ(KXREG_RefreshFromBuf(host.Host()), 0);
  EXPECT_TRUE(replayingDuringPoke);
  EXPECT_EQ(result, 1);
  EXPECT_EQ(seen, std::string(kLength, 'A'));
}

TEST_F(ReplayReentrance, ARefreshDuringARefreshRestartsItFromTheFirstByte) {
  int inner = -1;
  OnPoke([&] { inner = KXREG_RefreshFromBuf(host.Host()); });
  EXPECT_EQ(KXREG_RefreshFromBuf(host.Host()), 0);
  EXPECT_EQ(inner, 1);
  EXPECT_EQ(seen.size(), 4096 + kLength);
  ExpectStoppedAndLive();
}

TEST_F(ReplayReentrance, AnAbortStopsTheRefreshAndTheNextOneStartsAfresh) {
  OnPoke([&] { host.SetSetting(KXREG_SETTING_ABORT); });
  EXPECT_EQ(KXREG_RefreshFromBuf(host.Host()), 1);
  EXPECT_FALSE(host.Setting(KXREG_SETTING_ABORT));
  ExpectStoppedAndLive();
  EXPECT_EQ(seen.size(), 4096u);
  seen.clear();
  EXPECT_EQ(KXREG_RefreshFromBuf(host.Host()), 0);
  EXPECT_EQ(seen.size(), kLength);
}

TEST_F(ReplayReentrance, ALostWindowStopsTheRefreshAndLeavesItLive) {
  OnPoke([&] { host.DetachWindow(); });
  EXPECT_EQ(KXREG_RefreshFromBuf(host.Host()), 1);
  host.AttachWindow();
  ExpectStoppedAndLive();
  EXPECT_EQ(host.Feed(""), 0);
}

TEST_F(ReplayReentrance, AQuitDuringARefreshIsPostedAgainForTheHost) {
  OnPoke([] { PostQuitMessage(3); });
  EXPECT_EQ(KXREG_RefreshFromBuf(host.Host()), 1);
  host.Pump();
  EXPECT_TRUE(host.quitSeen);
  EXPECT_EQ(host.quitCode, 3);
}

TEST(Replay, ANullStringOrAGeometryChangeWithoutResetIsRefused) {
  CTestHost host;
  EXPECT_EQ(KXREG_HandleNextString(host.Host(), nullptr), 1);
  EXPECT_EQ(host.Host()->graphicsData, 0);
  host.Feed("P[1,1]");
  KXREG_HOST& h = *host.Host();
  for (int32_t* field : {&h.columns, &h.cellWidth, &h.cellHeight, &h.rows}) {
    ++*field;
    EXPECT_EQ(KXREG_RefreshFromBuf(host.Host()), 1);
    if (field != &h.rows) --*field;
  }
  ASSERT_EQ(KXREG_Reset(host.Host(), 0xFFFFFF, 0, 0, 0), 0);
  EXPECT_EQ(KXREG_RefreshFromBuf(host.Host()), 0);
}
