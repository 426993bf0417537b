// The examples that tools/demo renders: each one draws a picture.
#include <dirent.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "cli_support.h"

namespace {

std::vector<std::string> Examples() {
  std::vector<std::string> names;
  if (DIR* dir = opendir(ZIZIDER_EXAMPLES_DIR)) {
    while (dirent* entry = readdir(dir)) {
      const std::string name = entry->d_name;
      if (name.size() > 6 && name.compare(name.size() - 6, 6, ".regis") == 0) names.push_back(name);
    }
    closedir(dir);
  }
  std::sort(names.begin(), names.end());
  return names;
}

TEST(ExamplesTest, ThereAreAtLeastSix) {
  EXPECT_GE(Examples().size(), 6u);
}

TEST(ExamplesTest, EveryExampleDrawsSomethingOnItsPage) {
  CTempDir out;
  for (const std::string& name : Examples()) {
    const std::string png = out.File(name + ".png");
    const CProgramRun run = RunZizider({"render", std::string(ZIZIDER_EXAMPLES_DIR) + "/" + name, "-o", png});
    ASSERT_EQ(run.exitCode, 0) << name << "\n" << run.err;
    const CPng picture = ReadPng(png);
    ASSERT_TRUE(picture.ok) << name;
    std::vector<uint8_t> used(picture.indices);
    std::sort(used.begin(), used.end());
    used.erase(std::unique(used.begin(), used.end()), used.end());
    EXPECT_GE(used.size(), 2u) << name << " leaves the page blank";
  }
}

}  // namespace
