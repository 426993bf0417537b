// Macrographs: invocation, nesting and self-naming texts.
#include "commands/macro.h"

#include <gtest/gtest.h>

#include <string>

#include "regis_probe.h"

namespace {

TEST(MacroInvocation, FeedsTheTextThroughTheParsers) {
  const commands_test::CCase cases[] = {
      {"a definition draws when invoked", "@:AP[100,100]V[200,200]@;@A", "at=200,200 drawn=100"},
      {"a lower-case name invokes", "@:AP[100,100]V[200,200]@;@a", "at=200,200 drawn=100"},
      {"an undefined name does nothing", "P[5,5]@A[9,9]", "at=5,5 drawn=0 err=1']'"},
      {"a nested name runs in place", "@:AV[50,50]@;@:BP[10,10]@AV[20,10]@;@B", "at=20,10"},
      {"';' in a text is no reset", "@:AP[10,10];[20,20]@;@A", "at=20,20 err=1';'"},
      {"an open command takes received input", "@:AP[10,@;@A10]", "at=10,10"},
      {"a self-invoking text stops", "@:A@A@;@AP[7,7]", "at=7,7 drawn=0"},
      {"two self-invocations per text", "@:AV1@A@A@;@AP[7,7]", "at=7,7"},
      {"an open @ joins the next text", "@:CV[50,50]@;@:B@@@;@:A@BC@;@A", "at=50,50"},
      {"@. frees what runs only afterwards", "@:AP[10,10]@. P[20,20]@;@AP(E)", "at=20,20 err=8'E'"},
      {"inside a fill @: is handed back", "F(@:)", "err=1':'"},
      {"after the 9999 cut come commands", "@:D" + std::string(9999, 'x') + "!P[30,40]", "at=30,40"},
  };
  commands_test::ExpectCases(cases);
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

}  // namespace
