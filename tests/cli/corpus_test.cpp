// Every file of the public ReGIS corpus, malformed ones included, renders
// with success: real-world input never makes the program fail.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "cli_support.h"

namespace {

namespace fs = std::filesystem;

TEST(CorpusTest, EveryCorpusFileRendersWithSuccess) {
  std::error_code error;
  if (!fs::is_directory(ZIZIDER_CORPUS_DIR, error))
    GTEST_SKIP() << "the ReGIS corpus is not at " ZIZIDER_CORPUS_DIR;
  std::vector<std::string> files;
  for (const auto& entry : fs::recursive_directory_iterator(ZIZIDER_CORPUS_DIR, error))
    if (entry.is_regular_file()) files.push_back(entry.path().string());
  std::sort(files.begin(), files.end());
  ASSERT_FALSE(files.empty()) << "the corpus folder " ZIZIDER_CORPUS_DIR " is empty";

  CTempDir out;
  const std::string png = out.File("corpus.png");
  for (const std::string& file : files) {
    const CProgramRun run = RunZizider({"render", file, "-o", png});
    EXPECT_EQ(run.exitCode, 0) << file << "\n" << run.err;
    EXPECT_TRUE(ReadPng(png).ok) << file;
    fs::remove(png, error);
  }
}

}  // namespace
