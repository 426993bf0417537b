#include "tools/zizider/render_options.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

CCommandLine Parse(std::vector<std::string> words) {
  words.insert(words.begin(), "zizider");
  std::vector<const char*> argv;
  for (const std::string& w : words) argv.push_back(w.c_str());
  return ParseCommandLine(static_cast<int>(argv.size()), argv.data());
}

using Strings = std::vector<std::string>;

// The program's own runs show the other options taking effect.
TEST(RenderOptionsTest, TakesAnAttachedOutputNameTheInputModeAndFilesAfterADoubleDash) {
  const CCommandLine line =
      Parse({"render", "-opic.png", "-", "--input=dcs", "--real-time", "--", "--odd-name"});
  ASSERT_TRUE(line.ok) << line.error;
  EXPECT_EQ(line.options.output, "pic.png");
  EXPECT_EQ(line.options.inputs, (Strings{"-", "--odd-name"}));
  EXPECT_EQ(line.options.input, InputMode::Dcs);
  EXPECT_TRUE(line.options.realTime);
  EXPECT_EQ(Parse({"render", "--input", "plain"}).options.input, InputMode::Plain);
  EXPECT_TRUE(Parse({"--help"}).options.help);  // --help and --version need no command
  EXPECT_TRUE(Parse({"--version"}).options.version);
  EXPECT_TRUE(Parse({"render", "--help"}).options.help);
  EXPECT_TRUE(Parse({"render", "--cols", "512", "--rows", "256", "--cell", "8x16"}).ok) << "the largest page";
  // run takes every word from the command on as its arguments
  const CCommandLine run = Parse({"run", "--cell", "8x16", "--", "ls", "-l", "--cols", "3"});
  ASSERT_TRUE(run.ok) << run.error;
  EXPECT_EQ(run.options.command, "run");
  EXPECT_EQ(run.options.inputs, (Strings{"ls", "-l", "--cols", "3"}));
  EXPECT_TRUE(run.options.cellGiven && !run.options.gridGiven);  // the grid is left to the terminal
}

TEST(RenderOptionsTest, MistakesAreRefusedWithOneLineNamingTheProblem) {
  const struct {
    Strings words;
    const char* mentions;
  } rows[] = {
      {{}, "missing command"},
      {{"draw"}, "'draw'"},
      {{"render", "--bogus"}, "'--bogus'"},
      {{"render", "--bogus=1"}, "'--bogus'"},
      {{"render", "--cols"}, "--cols"},
      {{"render", "--cols", "0"}, "--cols"},
      {{"render", "--cols", "12a"}, "12a"},
      {{"render", "--rows", "-3"}, "--rows"},
      {{"render", "--cell", "10"}, "--cell"},
      {{"render", "--cell", "0x20"}, "--cell"},
      {{"render", "--fg", "fff"}, "--fg"},
      {{"render", "--bg", "00g000"}, "--bg"},
      {{"render", "--page", "both"}, "--page"},
      {{"render", "--display", "mono"}, "--display"},
      {{"render", "--chunk", "0"}, "--chunk"},
      {{"render", "--chunk", "16777217"}, "--chunk"},
      {{"render", "-o", ""}, "-o"},
      {{"render", "--input", "sixel"}, "--input"},
      {{"render", "--cols", "1000", "--cell", "10x20"}, "too large"},                  // too wide
      {{"render", "--cols", "800", "--rows", "400", "--cell", "10x20"}, "too large"},  // too many pixels
      {{"render", "--window", "--page", "screen"}, "--window"},
      {{"show", "-o", "x.six"}, "standard output"},
      {{"run", "--cols", "40"}, "needs a command"},
  };
  for (const auto& r : rows) {
    const CCommandLine line = Parse(r.words);
    EXPECT_FALSE(line.ok) << r.mentions;
    EXPECT_NE(line.error.find(r.mentions), std::string::npos) << line.error;
    EXPECT_EQ(line.error.find('\n'), std::string::npos) << line.error;
  }
}

TEST(RenderOptionsTest, DerivesThePngNameFromTheFirstInput) {
  const std::pair<const char*, const char*> rows[] = {
      {"pic.regis", "pic.png"},
      {"dir/pic.regis", "dir/pic.png"},
      {"dir.v2/pic", "dir.v2/pic.png"},
      {"x.tar.gz", "x.tar.png"},
      {".hidden", ".hidden.png"},
      {"a.png", "a.png.png"},  // never the input
      {"-", "out.png"},
      {"", "out.png"},
  };
  for (const auto& [input, expected] : rows) EXPECT_EQ(DefaultOutputName(input), expected) << input;
}

}  // namespace
