// zizider print and zizider splash: their options, and the programs run as a
// user runs them.
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

struct AreaRow {
  const char* name;
  std::vector<const char*> words;
  CPrintArea expected;
};

TEST(PrintOptions, PaperAndResolutionGiveTheSheetAndItsPrintableArea) {
  const AreaRow rows[] = {
      {"A4 at 150 dpi with 10 mm margins", {}, {1240, 1754, 59, 59, 1122, 1636}},
      {"letter turned, 100 dpi, no margin",
       {"--paper", "letter", "--landscape", "--dpi=100", "--margin", "0"},
       {1100, 850, 0, 0, 1100, 850}},
      {"render's options pass through",
       {"--cols", "132", "--paper=a5", "-o", "x.png", "in.regis"},
       {874, 1240, 59, 59, 756, 1122}},
  };
  for (const AreaRow& r : rows) {
    const CPrintCommandLine line = Parse(r.words);
    ASSERT_TRUE(line.ok) << r.name << ": " << line.error;
    const CPrintArea a = PrintAreaOf(line.options);
    EXPECT_EQ(std::vector<int>({a.sheetWidth, a.sheetHeight, a.left, a.top, a.width, a.height}),
              std::vector<int>({r.expected.sheetWidth, r.expected.sheetHeight, r.expected.left,
                                r.expected.top, r.expected.width, r.expected.height}))
        << r.name;
  }
  EXPECT_EQ(Parse({"--cols", "132"}).options.render.columns, 132);
}

TEST(PrintOptions, MistakesAreUsageErrorsOfOneLine) {
  const std::vector<std::vector<const char*>> rows = {
      {"--paper", "b5"},
      {"--dpi", "5"},
      {"--dpi"},
      {"--margin", "60"},
      {"--window"},
      {"--page=screen"},
      {"--dpi", "1200", "--paper", "a3"},
      {"--bogus"},
  };
  for (const auto& words : rows) {
    const CPrintCommandLine line = Parse(words);
    EXPECT_FALSE(line.ok) << words[0];
    EXPECT_EQ(line.error.find('\n'), std::string::npos) << line.error;
  }
}

TEST(PrintProgram, PrintsTheExampleOntoAWhiteA4SheetInItsColours) {
  CTempDir dir;
  const std::string png = dir.File("skyline.png");
  const CProgramRun run =
      RunZizider({"print", std::string(ZIZIDER_EXAMPLES_DIR) + "/skyline.regis", "-o", png});
  ASSERT_EQ(run.exitCode, 0) << run.err;
  const CPng sheet = ReadPng(png);
  EXPECT_EQ(sheet.width, 1240);
  EXPECT_EQ(sheet.height, 1754);
  EXPECT_EQ(sheet.colourType, 2) << "RGB";
  ASSERT_EQ(sheet.indices.size(), 1240u * 1754 * 3);
  const auto rgb = [&](int x, int y) {
    const size_t at = (static_cast<size_t>(y) * 1240 + x) * 3;
    return std::vector<int>{sheet.indices[at], sheet.indices[at + 1], sheet.indices[at + 2]};
  };
  EXPECT_EQ(rgb(10, 10), std::vector<int>({255, 255, 255})) << "the margin stays white";
  EXPECT_EQ(rgb(620, 1500), std::vector<int>({255, 255, 255})) << "below the picture";
  EXPECT_NE(rgb(620, 300), std::vector<int>({255, 255, 255})) << "inside the picture";
}

TEST(SplashProgram, WritesThe420By252Picture) {
  CTempDir dir;
  const CProgramRun run = RunZizider({"splash", "-o", dir.File("splash.png")});
  ASSERT_EQ(run.exitCode, 0) << run.err;
  const CPng picture = ReadPng(dir.File("splash.png"));
  ASSERT_TRUE(picture.ok);
  EXPECT_EQ(picture.width, 420);
  EXPECT_EQ(picture.height, 252);
  EXPECT_EQ(RunZizider({"splash", "--bogus"}).exitCode, 2);
}

}  // namespace
