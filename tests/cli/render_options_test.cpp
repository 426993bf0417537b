#include "tools/zizider/render_options.h"

#include <gtest/gtest.h>

#include <cctype>
#include <string>
#include <vector>

namespace {

CCommandLine Parse(std::vector<std::string> words) {
  words.insert(words.begin(), "zizider");
  std::vector<const char*> argv;
  for (const std::string& w : words) argv.push_back(w.c_str());
  return ParseCommandLine(static_cast<int>(argv.size()), argv.data());
}

TEST(RenderOptionsTest, RenderAloneReadsStandardInputWithTheDefaults) {
  const CCommandLine line = Parse({"render"});
  ASSERT_TRUE(line.ok) << line.error;
  const CRenderOptions& o = line.options;
  EXPECT_TRUE(o.inputs.empty());
  EXPECT_EQ(o.columns, 80);
  EXPECT_EQ(o.rows, 24);
  EXPECT_EQ(o.cellWidth, 10);
  EXPECT_EQ(o.cellHeight, 20);
  EXPECT_EQ(o.foreground, RGB(255, 255, 255));
  EXPECT_EQ(o.background, RGB(0, 0, 0));
  EXPECT_EQ(o.chunk, 4096u);
  EXPECT_EQ(o.page, PageChoice::Output);
  EXPECT_FALSE(o.window || o.state || o.realTime);
}

TEST(RenderOptionsTest, TakesValuesAsNextWordOrAfterAnEqualsSign) {
  const CCommandLine line = Parse({"render", "a.regis", "--cols", "40", "--rows=12", "--cell=8x16", "-o",
                                   "x.png", "--fg", "102030", "--bg=#A0b0C0", "--page", "screen", "--chunk=1",
                                   "--state", "b.regis", "--real-time", "--input", "plain"});
  ASSERT_TRUE(line.ok) << line.error;
  const CRenderOptions& o = line.options;
  EXPECT_EQ(o.inputs, (std::vector<std::string>{"a.regis", "b.regis"}));
  EXPECT_EQ(o.columns, 40);
  EXPECT_EQ(o.rows, 12);
  EXPECT_EQ(o.cellWidth, 8);
  EXPECT_EQ(o.cellHeight, 16);
  EXPECT_EQ(o.output, "x.png");
  EXPECT_EQ(o.foreground, RGB(0x10, 0x20, 0x30));
  EXPECT_EQ(o.background, RGB(0xA0, 0xB0, 0xC0));
  EXPECT_EQ(o.page, PageChoice::Screen);
  EXPECT_EQ(o.chunk, 1u);
  EXPECT_EQ(o.input, InputMode::Plain);
  EXPECT_TRUE(o.state);
  EXPECT_TRUE(o.realTime);
}

TEST(RenderOptionsTest, AttachedOutputNameAndDoubleDashAreUnderstood) {
  const CCommandLine line = Parse({"render", "-opic.png", "-", "--", "--odd-name"});
  ASSERT_TRUE(line.ok) << line.error;
  EXPECT_EQ(line.options.output, "pic.png");
  EXPECT_EQ(line.options.inputs, (std::vector<std::string>{"-", "--odd-name"}));
}

TEST(RenderOptionsTest, HelpAndVersionNeedNoCommand) {
  EXPECT_TRUE(Parse({"--help"}).options.help);
  EXPECT_TRUE(Parse({"--version"}).options.version);
  EXPECT_TRUE(Parse({"render", "--help"}).options.help);
}

struct UsageErrorCase {
  const char* behaviour;
  std::vector<std::string> words;
  const char* mentions;  // the error names what is wrong
};
// Names the row, not its bytes, in test listings.
void PrintTo(const UsageErrorCase& c, std::ostream* os) {
  *os << c.behaviour;
}

const UsageErrorCase kUsageErrors[] = {
    {"no command", {}, "missing command"},
    {"an unknown command", {"draw"}, "'draw'"},
    {"an unknown option", {"render", "--bogus"}, "'--bogus'"},
    {"an unknown option with a value", {"render", "--bogus=1"}, "'--bogus'"},
    {"an option without its value", {"render", "--cols"}, "--cols"},
    {"zero columns", {"render", "--cols", "0"}, "--cols"},
    {"columns that are not a number", {"render", "--cols", "12a"}, "12a"},
    {"negative rows", {"render", "--rows", "-3"}, "--rows"},
    {"a cell without its height", {"render", "--cell", "10"}, "--cell"},
    {"a cell of zero width", {"render", "--cell", "0x20"}, "--cell"},
    {"a three-digit colour", {"render", "--fg", "fff"}, "--fg"},
    {"a colour with a non-hex digit", {"render", "--bg", "00g000"}, "--bg"},
    {"a page that is neither", {"render", "--page", "both"}, "--page"},
    {"a zero chunk", {"render", "--chunk", "0"}, "--chunk"},
    {"a chunk beyond 16 MiB", {"render", "--chunk", "16777217"}, "--chunk"},
    {"an empty output name", {"render", "-o", ""}, "-o"},
    {"an unknown input mode", {"render", "--input", "sixel"}, "--input"},
    {"a page too wide", {"render", "--cols", "1000", "--cell", "10x20"}, "too large"},
    {"a page of too many pixels",
     {"render", "--cols", "800", "--rows", "400", "--cell", "10x20"},
     "too large"},
    {"the window together with the screen page", {"render", "--window", "--page", "screen"}, "--window"},
    {"an output file for show", {"show", "-o", "x.six"}, "standard output"},
    {"run without a command", {"run", "--cols", "40"}, "needs a command"},
};

class UsageErrorTest : public testing::TestWithParam<UsageErrorCase> {};

TEST_P(UsageErrorTest, IsRefusedWithOneLineNamingTheProblem) {
  const CCommandLine line = Parse(GetParam().words);
  EXPECT_FALSE(line.ok);
  EXPECT_NE(line.error.find(GetParam().mentions), std::string::npos) << line.error;
  EXPECT_EQ(line.error.find('\n'), std::string::npos);
}

INSTANTIATE_TEST_SUITE_P(CommandLines, UsageErrorTest, testing::ValuesIn(kUsageErrors), [](const auto& info) {
  std::string name;
  for (const char* p = info.param.behaviour; *p; ++p)
    name += std::isalnum(static_cast<unsigned char>(*p)) ? *p : '_';
  return name;
});

TEST(RenderOptionsTest, RunTakesEveryWordFromTheCommandOnAsItsArguments) {
  const CCommandLine line = Parse({"run", "--cell", "8x16", "--", "ls", "-l", "--cols", "3"});
  ASSERT_TRUE(line.ok) << line.error;
  EXPECT_EQ(line.options.command, "run");
  EXPECT_EQ(line.options.inputs, (std::vector<std::string>{"ls", "-l", "--cols", "3"}));
  EXPECT_TRUE(line.options.cellGiven);
  EXPECT_FALSE(line.options.gridGiven);  // left to the terminal
}

TEST(RenderOptionsTest, TheLargestAllowedPageIsAccepted) {
  EXPECT_TRUE(Parse({"render", "--cols", "512", "--rows", "256", "--cell", "8x16"}).ok);  // 4096 x 4096
}

struct OutputNameCase {
  const char* input;
  const char* expected;
};

TEST(RenderOptionsTest, DerivesThePngNameFromTheFirstInput) {
  const OutputNameCase cases[] = {
      {"pic.regis", "pic.png"},
      {"dir/pic.regis", "dir/pic.png"},
      {"dir.v2/pic", "dir.v2/pic.png"},
      {"x.tar.gz", "x.tar.png"},
      {".hidden", ".hidden.png"},
      {"a.png", "a.png.png"},  // never the input itself
      {"-", "out.png"},
      {"", "out.png"},
  };
  for (const OutputNameCase& c : cases) EXPECT_EQ(DefaultOutputName(c.input), c.expected) << c.input;
}

}  // namespace
