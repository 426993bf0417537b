// The load command: definitions land in the selected alphabet's cells as
// digit values, names are kept to ten characters, and bad data ends a
// definition without harm.
#include "commands/load.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>

#include "regis_probe.h"
#include "surface/graphics_context.h"

namespace {

using commands_test::LastError;
using commands_test::LastErrorChar;

const CTextState& Current(CTestHost& host) {
  return *host.Context()->text->pair.current;
}

// The twenty digit values of a cell as hexadecimal text.
std::string CellText(const CCharCell& cell) {
  std::string s;
  for (int i = 0; i < 20; ++i) s += "0123456789ABCDEF"[cell.digits[i] & 15];
  return s;
}

TEST(LoadCommand, DefinitionsFillTheCellsOfTheLoadingAlphabet) {
  const struct {
    const char* behaviour;
    const char* text;
    int alphabet;
    char character;
    const char* digits;
    int error, errorChar;
  } rows[] = {
      {"all ten rows", "L'A'FF818181818181818181", 1, 'A', "FF818181818181818181", 0, 0},
      {"a semicolon keeps a short definition", "L'a'F0;", 1, 'a', "F0000000000000000000", 0, 0},
      {"commas between rows are skipped", "L'A'ff,81,81P", 1, 'A', "FF818100000000000000", 0, 0},
      {"a second character is an error", "L'AB'FF;", 1, 'A', "FF000000000000000000", 1, 'B'},
      {"the alphabet option selects where definitions go", "L(A3)L\"z\"12;", 3, 'z', "12000000000000000000",
       0, 0},
      {"either quote closes", "L\"q'1;", 1, 'q', "10000000000000000000", 0, 0},
      {"extra digits go to the dispatcher", "L'A'0123456789ABCDEF01234", 1, 'A', "0123456789ABCDEF0123", 1,
       '4'},
  };
  for (const auto& c : rows) {
    SCOPED_TRACE(c.behaviour);
    CTestHost host;
    host.Feed(c.text);
    const CTextState& t = Current(host);
    EXPECT_EQ(t.loadingAlphabet, c.alphabet);
    EXPECT_EQ(CellText(t.loaded[c.alphabet - 1].cells[c.character - 0x20]), c.digits);
    EXPECT_EQ(CellText(host.Context()->text->pair.saved->loaded[c.alphabet - 1].cells[c.character - 0x20]),
              c.digits);
    EXPECT_EQ(LastError(host), c.error);
    EXPECT_EQ(LastErrorChar(host), c.errorChar);
    EXPECT_EQ(host.Interpreter()->flags & kFlagLiteral, 0u);
  }
}

TEST(LoadCommand, NamesKeepTenCharactersInUpperCase) {
  CTestHost host;
  host.Feed("L(A2'math')L(A3\"abcdefghijkl')");
  EXPECT_STREQ(Current(host).loaded[1].name, "MATH");
  EXPECT_STREQ(Current(host).loaded[2].name, "ABCDEFGHIJ");
  EXPECT_EQ(Current(host).loadingAlphabet, 3);
}

TEST(LoadCommand, HostileDataFinishes) {
  const std::string rows[] = {
      "L'A'" + std::string(1 << 20, 'F'), "L'\x01'FFF", "L'\xff'FF", "L(" + std::string(1 << 16, 'B'), "L'",
  };
  for (const std::string& text : rows) {
    CTestHost host;
    host.Feed(text);
    host.Feed(";");
    EXPECT_EQ(host.Interpreter()->parseStack.Count(), 1);
    EXPECT_EQ(host.Interpreter()->flags & kFlagLiteral, 0u);
  }
}

TEST(LoadCommand, TheGreekAlphabetOfThePublicCorpusLoads) {
  std::ifstream file(ZIZIDER_CORPUS_DIR "/hackerb9-vt340test/regis/greek.fnt", std::ios::binary);
  if (!file) GTEST_SKIP() << "corpus absent";
  std::stringstream text;
  text << file.rdbuf();
  CTestHost host;
  host.Feed(text.str());
  const CTextState& t = Current(host);
  EXPECT_STREQ(t.loaded[0].name, "GREEK");
  EXPECT_EQ(CellText(t.loaded[0].cells['A' - 0x20]), "00081436223E22222277");
}

}  // namespace
