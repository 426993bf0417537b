// zizider print and zizider splash: their options and the programs run.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "cli_support.h"
#include "tools/zizider/print_options.h"

namespace {

CPrintCommandLine Parse(std::vector<const char*> words) {
  words.insert(words.begin(), {"zizider", "print"});
  return ParsePrintCommandLine(static_cast<int>(words.size()), words.data());
}

TEST(PrintOptions, PaperAndResolutionGiveTheSheetAndItsPrintableAreaAndMistakesAreUsageErrors) {
  const struct {
    std::vector<const char*> words;
    std::vector<int> sheetAndArea;  // sheet width, height; area left, top, width, height; none: refused
  } rows[] = {
      {{}, {1240, 1754, 59, 59, 1122, 1636}},  // A4 at 150 dpi, 10 mm margins
      {{"--paper", "letter", "--landscape", "--dpi=100", "--margin", "0"}, {1100, 850, 0, 0, 1100, 850}},
      {{"--cols", "132", "--paper=a5", "-o", "x.png", "in.regis"}, {874, 1240, 59, 59, 756, 1122}},
      {{"--paper", "b5"}, {}},
      {{"--dpi", "5"}, {}},
      {{"--dpi"}, {}},
      {{"--margin", "60"}, {}},
      {{"--window"}, {}},
      {{"--page=screen"}, {}},
      {{"--dpi", "1200", "--paper", "a3"}, {}},  // too many pixels
      {{"--bogus"}, {}},                         // refused by render's options
  };
  for (const auto& r : rows) {
    const CPrintCommandLine line = Parse(r.words);
    SCOPED_TRACE(r.words.empty() ? "" : r.words[0]);
    EXPECT_EQ(line.ok, !r.sheetAndArea.empty()) << line.error;
    EXPECT_EQ(line.error.find('\n'), std::string::npos) << line.error;
    const CPrintArea a = PrintAreaOf(line.options);
    const std::vector<int> area{a.sheetWidth, a.sheetHeight, a.left, a.top, a.width, a.height};
    EXPECT_TRUE(!line.ok || area == r.sheetAndArea) << ::testing::PrintToString(area);
  }
  EXPECT_EQ(Parse({"--cols", "132"}).options.render.columns, 132) << "render's options pass through";
}

TEST(PrintProgram, PrintsTheExampleOntoAWhiteA4SheetAndWritesTheSplash) {
  CTempDir dir;
  const CProgramRun run =
      RunZizider({"print", std::string(ZIZIDER_EXAMPLES_DIR) + "/skyline.regis", "-o", dir.File("p.png")});
  ASSERT_EQ(run.exitCode, 0) << run.err;
  const CPng sheet = ReadPng(dir.File("p.png"));
  ASSERT_EQ(std::vector<int>({sheet.width, sheet.height, sheet.colourType}),
            std::vector<int>({1240, 1754, 2}));
  const auto white = [&](int x, int y) {
    const size_t at = (static_cast<size_t>(y) * 1240 + x) * 3;
    return sheet.indices.at(at) == 255 && sheet.indices.at(at + 1) == 255 && sheet.indices.at(at + 2) == 255;
  };
  EXPECT_TRUE(white(10, 10)) << "the margin";
  EXPECT_TRUE(white(620, 1500)) << "below the picture";
  EXPECT_FALSE(white(620, 300)) << "inside the picture";

  ASSERT_EQ(RunZizider({"splash", "-o", dir.File("s.png")}).exitCode, 0);
  const CPng splash = ReadPng(dir.File("s.png"));
  EXPECT_EQ(std::vector<int>({splash.width, splash.height}), std::vector<int>({420, 252}));
  EXPECT_EQ(RunZizider({"splash", "--bogus"}).exitCode, 2);
}

}  // namespace
