// The examples that tools/demo renders: each one draws a picture.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "cli_support.h"

namespace {

TEST(ExamplesTest, AtLeastSixExamplesEachDrawSomethingOnTheirPage) {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(ZIZIDER_EXAMPLES_DIR))
    if (entry.path().extension() == ".regis") names.push_back(entry.path().filename().string());
  std::sort(names.begin(), names.end());
  EXPECT_GE(names.size(), 6u);
  CTempDir out;
  for (const std::string& name : names) {
    const std::string png = out.File(name + ".png");
    const CProgramRun run = RunZizider({"render", std::string(ZIZIDER_EXAMPLES_DIR) + "/" + name, "-o", png});
    ASSERT_EQ(run.exitCode, 0) << name << "\n" << run.err;
    const CPng picture = ReadPng(png);
    ASSERT_TRUE(picture.ok) << name;
    EXPECT_GE(std::set<uint8_t>(picture.indices.begin(), picture.indices.end()).size(), 2u)
        << name << " leaves the page blank";
  }
}

}  // namespace
