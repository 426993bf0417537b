// Macrographs: definitions stored as received, invocations fed through the
// parsers with nested texts expanded in place, redraws from the journal, and
// hostile definitions and invocations that must stay bounded.
#include "commands/macro.h"

#include <gtest/gtest.h>

#include <string>

#include "regis_probe.h"

namespace {

using commands_test::DrawnPixels;
using commands_test::IndexAt;
using commands_test::LastError;
using commands_test::LastErrorChar;
using commands_test::Position;

std::string Stored(CTestHost& host, char letter) {
  const char* text = host.Interpreter()->MacroText(letter - 'A');
  return text ? text : "<none>";
}

TEST(MacroDefinition, KeepsTheTextAsReceived) {
  const struct {
    const char* behaviour;
    std::string text;
    char letter;
    std::string stored;
  } rows[] = {
      {"';', '@@', control characters and lower case stay", "@:Ap[1,1];@@x\r\n\x01V@;", 'A',
       "p[1,1];@@x\r\n\x01V"},
      {"a lower-case name is raised", "@:bV@;", 'B', "V"},
      {"a new definition replaces the old one", "@:AV@;@:AP@;", 'A', "P"},
      {"an empty definition deletes", "@:AV@;@:A@;", 'A', "<none>"},
      {"@. clears every definition", "@:AV@;@:ZP@;@.", 'Z', "<none>"},
      {"a bad name is an error and the command waits for a letter", "@:1CV@;", 'C', "V"},
      {"a definition is cut at 9999 characters", "@:D" + std::string(10005, 'x'), 'D',
       std::string(9999, 'x')},
  };
  for (const auto& c : rows) {
    SCOPED_TRACE(c.behaviour);
    CTestHost host;
    host.Feed(c.text);
    EXPECT_EQ(Stored(host, c.letter), c.stored);
    EXPECT_EQ(host.Interpreter()->flags & (kFlagLiteral | kFlagSemicolonData), 0u);
  }
}

TEST(MacroDefinition, CharactersAfterTheCutAreCommandsAgain) {
  CTestHost host;
  host.Feed("@:D" + std::string(9999, 'x') + "!P[30,40]");
  EXPECT_EQ(Position(host).x, 30);
  EXPECT_EQ(Position(host).y, 40);
}

TEST(MacroInvocation, FeedsTheTextThroughTheParsers) {
  const struct {
    const char* behaviour;
    const char* text;
    int x, y;
    int drawn;  // -1: not checked
    int error, errorChar;
  } rows[] = {
      {"a definition draws when invoked", "@:AP[100,100]V[200,200]@;@A", 200, 200, 100, 0, 0},
      {"a lower-case name invokes", "@:AP[100,100]V[200,200]@;@a", 200, 200, 100, 0, 0},
      {"an undefined name is taken and does nothing", "P[5,5]@A[9,9]", 5, 5, 0, 1, ']'},
      {"a nested name runs in place", "@:AV[50,50]@;@:BP[10,10]@AV[20,10]@;@B", 20, 10, -1, 0, 0},
      {"';' in a text is no reset", "@:AP[10,10];[20,20]@;@A", 20, 20, 0, 1, ';'},
      {"a command left open by a text goes on with received input", "@:AP[10,@;@A10]", 10, 10, 0, 0, 0},
      {"a self-invoking definition stops by itself", "@:A@A@;@AP[7,7]", 7, 7, 0, 0, 0},
      {"two self-invocations per text stop too", "@:AV1@A@A@;@AP[7,7]", 7, 7, -1, 0, 0},
      {"a name reaching an open @ from the next text joins the invocation", "@:CV[50,50]@;@:B@@@;@:A@BC@;@A",
       50, 50, -1, 0, 0},
      {"@. in a running text frees what it reads only afterwards", "@:AP[10,10]@. P[20,20]@;@AP(E)", 20, 20,
       0, 8, 'E'},
      {"inside a fill @: is handed back", "F(@:)", 0, 0, 0, 1, ':'},
  };
  for (const auto& c : rows) {
    SCOPED_TRACE(c.behaviour);
    CTestHost host;
    host.Feed(c.text);
    EXPECT_EQ(Position(host).x, c.x);
    EXPECT_EQ(Position(host).y, c.y);
    if (c.drawn >= 0) {
      EXPECT_EQ(DrawnPixels(host), c.drawn);
    }
    EXPECT_EQ(LastError(host), c.error);
    EXPECT_EQ(LastErrorChar(host), c.errorChar);
    EXPECT_FALSE(host.Interpreter()->macroRunning);
    EXPECT_EQ(host.Interpreter()->macroStack.Count(), 0);
  }
}

TEST(MacroInvocation, ARedrawFromTheJournalDefinesAndRunsItAgain) {
  CTestHost host;
  host.Feed("@:AP[100,100]V[200,100]@;@A");
  host.Interpreter()->ClearMacros();
  host.Surface()->EraseAllPages(host.State());
  ASSERT_EQ(IndexAt(host, 150, 100), 0);
  ASSERT_EQ(KXREG_RefreshFromBuf(host.Host()), 0);
  EXPECT_EQ(IndexAt(host, 150, 100), commands_test::DefaultForeground(host));
  EXPECT_EQ(Stored(host, 'A'), "P[100,100]V[200,100]");
}

TEST(MacroInvocation, AHostErasingTheInstanceFromACallbackEndsIt) {
  CTestHost host;
  host.onCallback = [&host](const CTestHost::Callback& c) {
    if (c.kind == CTestHost::Callback::Input) host.Erase();
  };
  host.Feed("@:AR(P)P[300,300]@;");
  host.Feed("@AP[1,1]");
  EXPECT_EQ(host.Host()->interpreter, nullptr);
  EXPECT_EQ(host.Feed("@A"), 1);
}

// Inputs that must end soon and leave the interpreter usable.
TEST(MacroHostileInput, StaysBounded) {
  std::string everyByte, everyByteBody;
  for (int b = 1; b < 256; ++b) {
    everyByte += std::string("@") + static_cast<char>(b) + "@;";
    if (b != ';') everyByteBody += std::string("@") + static_cast<char>(b);
  }
  const struct {
    const char* behaviour;
    std::string text;
  } rows[] = {
      {"'@' followed by every byte", everyByte},
      {"every byte after '@' in a text that names itself", "@:Q" + everyByteBody + "@;@Q"},
      {"a definition that never ends", "@:E" + std::string(100000, 'v')},
      {"100000 invocations of a self-invoking definition", "@:A@A@;" +
                                                               [] {
                                                                 std::string s;
                                                                 for (int i = 0; i < 100000; ++i) s += "@A";
                                                                 return s;
                                                               }()},
  };
  for (const auto& c : rows) {
    SCOPED_TRACE(c.behaviour);
    CTestHost host;
    host.Feed(c.text);
    host.Feed(";P[3,4]");
    EXPECT_EQ(Position(host).x, 3);
    EXPECT_EQ(Position(host).y, 4);
    EXPECT_FALSE(host.Interpreter()->macroRunning);
  }
}

TEST(MacroHostileInput, ATextNamingItselfThousandsOfTimesStopsWhenTheReserveIsSpent) {
  CTestHost host;
  std::string selfNaming = "@:A";
  for (int i = 0; i < 4900; ++i) selfNaming += "@A";
  host.Feed(selfNaming + "@;");
  host.Interpreter()->macroReserve = 0;  // as after a long expansion
  host.Feed("@AP[7,7]");
  EXPECT_EQ(Position(host).x, 7);
  EXPECT_FALSE(host.Interpreter()->macroRunning);
  EXPECT_EQ(host.Interpreter()->macroStack.Count(), 0);
}

}  // namespace
