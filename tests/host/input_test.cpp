// KXREG_HandleNextString: refusals, the abort request, the pump.
#include <gtest/gtest.h>

#include <string>

#include "interp/interpreter.h"
#include "platform/soft/inspect.h"
#include "support/scripted_parser.h"
#include "support/test_host.h"

namespace {

constexpr UINT kPoke = WM_USER + 2;

// Runs the action when the poke arrives while the library pumps; a second
// message makes the pump look at the records again.
void OnPoke(CTestHost& host, std::function<void()> action) {
  host.onMessage = [action](UINT message, WPARAM, LPARAM) {
    if (message != kPoke) return false;
    action();
    return true;
  };
  PostMessageA(host.Window(), kPoke, 0, 0);
  PostMessageA(host.Window(), WM_USER + 3, 0, 0);
}

TEST(HandleNextString, AnAbortALostRecordOrAQuitDuringThePumpIsReported) {
  for (int cause = 0; cause < 4; ++cause) {
    SCOPED_TRACE(cause);
    CTestHost host;
    OnPoke(host, [&] {
      if (cause == 0) host.SetSetting(KXREG_SETTING_ABORT);
      if (cause == 1) host.DetachWindow();
      if (cause == 2) host.Host()->screen = nullptr;
    });
    if (cause == 3) PostQuitMessage(7);
    EXPECT_EQ(host.Feed("Q"), 1);
    host.AttachWindow();
    host.Host()->screen = host.Screen();
    EXPECT_FALSE(host.Setting(KXREG_SETTING_ABORT));
    EXPECT_EQ(host.Interpreter()->lastErrorChar, 'Q');
    host.Pump();
    EXPECT_EQ(host.quitCode, cause == 3 ? 7 : 0) << "a quit is posted again";
  }
}

TEST(HandleNextString, QueuedPaintsAreHandledBeforeItReturnsAndTheCaretIsHiddenWhileInterpreting) {
  CTestHost host;
  InvalidateRect(host.Window(), nullptr, FALSE);
  host.paints = 0;
  EXPECT_EQ(host.Feed(""), 0);
  EXPECT_EQ(host.paints, 1);
  ASSERT_EQ(KXREG_OutCursor(host.Host(), 2), 0);
  bool shownWhileParsing = true;
  host.Interpreter()->parseStack.Push(new CScriptedParser(nullptr, [&](char, CInterpreter&) {
    shownWhileParsing = soft::inspect::Caret().shown;
    return PARSE_DONE;
  }));
  host.Feed("x");
  EXPECT_FALSE(shownWhileParsing);
  EXPECT_TRUE(soft::inspect::Caret().shown);
  host.SetSetting(KXREG_SETTING_ABORT);
  EXPECT_EQ(host.Feed("x"), 1) << "an abort request refuses the string";
  EXPECT_FALSE(host.Setting(KXREG_SETTING_ABORT)) << "and is consumed";
  EXPECT_FALSE(soft::inspect::Caret().shown) << "and after a refusal";
  EXPECT_EQ(host.Feed("x"), 0);
}

}  // namespace
