// The load command: alphabet cells, bad data, and the corpus's alphabet.
#include "commands/load.h"

#include <gtest/gtest.h>

#include <string>

#include "regis_probe.h"
#include "surface/graphics_context.h"

namespace {

using commands_test::Current;

// The twenty digit values of a cell as hexadecimal text.
std::string CellText(const CTextState& t, int alphabet, char character) {
  std::string s;
  for (int i = 0; i < 20; ++i)
    s += "0123456789ABCDEF"[t.loaded[alphabet - 1].cells[character - 0x20].digits[i] & 15];
  return s;
}

TEST(LoadCommand, DefinitionsFillTheCellsOfTheLoadingAlphabet) {
  const struct {
    const char* text;
    int alphabet;
    char character;
    const char* digits;
    int error, errorChar;
  } rows[] = {
      {"L'A'FF818181818181818181", 1, 'A', "FF818181818181818181", 0, 0},
      {"L'a'F0;", 1, 'a', "F0000000000000000000", 0, 0},        // a semicolon keeps a short definition
      {"L'A'ff,81,81P", 1, 'A', "FF818100000000000000", 0, 0},  // commas between rows are skipped
      {"L'A'abcdef;", 1, 'A', "ABCDEF00000000000000", 0, 0},
      {"L'AB'FF;", 1, 'A', "FF000000000000000000", 1, 'B'},
      {"L(A3)L\"z\"12;", 3, 'z', "12000000000000000000", 0, 0},
      {"L\"q'1;", 1, 'q', "10000000000000000000", 0, 0},  // either quote closes
      {"L'A'0123456789ABCDEF01234", 1, 'A', "0123456789ABCDEF0123", 1,
       '4'},  // extra digits to the dispatcher
  };
  for (const auto& c : rows) {
    SCOPED_TRACE(c.text);
    CTestHost host;
    host.Feed(c.text);
    EXPECT_EQ(Current(host).loadingAlphabet, c.alphabet);
    EXPECT_EQ(CellText(Current(host), c.alphabet, c.character), c.digits);
    EXPECT_EQ(CellText(*host.Context()->text->pair.saved, c.alphabet, c.character), c.digits);
    EXPECT_EQ(commands_test::LastError(host), c.error);
    EXPECT_EQ(commands_test::LastErrorChar(host), c.errorChar);
    EXPECT_EQ(host.Interpreter()->flags & kFlagLiteral, 0u);
  }
  CTestHost host;  // a name keeps its first ten characters
  host.Feed("L(A2\"ABCDEFGHIJKL\")");
  EXPECT_STREQ(Current(host).loaded[1].name, "ABCDEFGHIJ");
}

}  // namespace
