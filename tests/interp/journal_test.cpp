// The journal file: appending, reading back, cutting back to an erase, and a
// temporary file that cannot be made.
#include "interp/journal.h"

#include <gtest/gtest.h>

#include <string>

#include "interp/interpreter.h"
#include "platform/soft/inspect.h"
#include "support/test_host.h"

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

// Makes the journal's temporary file fail for the life of the object.
struct CFailingTempFiles {
  CFailingTempFiles() : previous(SetTempFileOpener(&NoTempFile)) {}
  ~CFailingTempFiles() { SetTempFileOpener(previous); }
  TempFileOpener previous;
};

}  // namespace

TEST(Journal, ReadsBackWhatWasAppendedWhereverTheReadStoppedAndClearEmptiesIt) {
  CJournal journal;
  AppendAll(journal, "P[1,2]");
  EXPECT_EQ(ReadAll(journal), "P[1,2]");
  EXPECT_EQ(journal.GetChar(), 'P') << "the end rewinds to the first byte";
  journal.Append('d');
  EXPECT_EQ(ReadAll(journal), "P[1,2]d") << "appended after an interrupted read, at the end";
  journal.Clear();
  EXPECT_EQ(ReadAll(journal), "");
  journal.Append('x');
  EXPECT_EQ(ReadAll(journal), "x");
}

TEST(Journal, TruncatingKeepsOnlyTheErasingCommand) {
  const struct {
    const char* behaviour;
    std::string before, after;
  } rows[] = {
      {"an upper-case erase", "P[100,100]V[200,200]S(E", "S(E"},
      {"lower-case letters are kept but the erase raised", "p[1,1]s(e", "s(E"},
      {"options before the erase are kept", "V[]S(C1I2E", "S(C1I2E"},
      {"the nearest letter wins", "S(E)V[]S(E", "S(E"},
      {"no letter leaves the journal empty", "V[1,1](E", ""},
      {"a one-byte journal becomes empty", "E", ""},
      {"a letter exactly 256 bytes back is found", "S" + std::string(255, 'x') + "E",
       "S" + std::string(255, 'x') + "E"},
      {"a letter beyond 256 bytes is not", "S" + std::string(256, 'x') + "E", ""},
  };
  for (const auto& c : rows) {
    CJournal journal;
    AppendAll(journal, c.before);
    journal.TruncateAtErase();
    EXPECT_EQ(ReadAll(journal), c.after) << c.behaviour;
  }
}

TEST(Journal, TruncatingTakesAFreshSnapshotOfTheState) {
  CTestHost host;
  KXREG_SetRegisCurPos(host.Host(), 10, 20, 1);
  host.Interpreter()->journal.TruncateAtErase();
  KXREG_SetRegisCurPos(host.Host(), 300, 400, 1);
  ASSERT_EQ(KXREG_RefreshFromBuf(host.Host()), 0);
  const POINT at = KXREG_GetRegisCurPos(host.Host());
  EXPECT_EQ(at.x, 10);
  EXPECT_EQ(at.y, 20);
}

TEST(Journal, WithoutATempFileEveryRecordedCharacterIsReported) {
  CFailingTempFiles failing;
  CJournal journal;
  EXPECT_EQ(journal.file, nullptr);
  soft::inspect::ClearDebugOutput();
  journal.Append('P');
  journal.Append('V');
  EXPECT_EQ(soft::inspect::DebugOutput(), "can not open temp filecan not open temp file");
  EXPECT_EQ(journal.GetChar(), 0);
}

TEST(Journal, WithoutATempFileInterpretationGoesOnButRefreshFails) {
  CFailingTempFiles failing;
  CTestHost host;
  soft::inspect::ClearDebugOutput();
  EXPECT_EQ(host.Feed("Q"), 0);
  EXPECT_EQ(host.Interpreter()->lastError, 1);
  EXPECT_EQ(host.Interpreter()->lastErrorChar, 'Q');
  EXPECT_NE(soft::inspect::DebugOutput().find("can not open temp file"), std::string::npos);
  EXPECT_EQ(KXREG_RefreshFromBuf(host.Host()), 1);
}
