// Every file of the public ReGIS corpus, malformed ones included, renders
// with success: real-world input never makes the program fail.
#include <dirent.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <string>
#include <vector>

#include "cli_support.h"

namespace {

void CollectFiles(const std::string& folder, std::vector<std::string>& files) {
  DIR* dir = opendir(folder.c_str());
  if (!dir) return;
  while (dirent* entry = readdir(dir)) {
    const std::string name = entry->d_name;
    if (name == "." || name == "..") continue;
    const std::string path = folder + "/" + name;
    struct stat info;
    if (stat(path.c_str(), &info) != 0) continue;
    if (S_ISDIR(info.st_mode))
      CollectFiles(path, files);
    else if (S_ISREG(info.st_mode))
      files.push_back(path);
  }
  closedir(dir);
}

TEST(CorpusTest, EveryCorpusFileRendersWithSuccess) {
  struct stat info;
  if (stat(ZIZIDER_CORPUS_DIR, &info) != 0 || !S_ISDIR(info.st_mode))
    GTEST_SKIP() << "the ReGIS corpus is not at " ZIZIDER_CORPUS_DIR;
  std::vector<std::string> files;
  CollectFiles(ZIZIDER_CORPUS_DIR, files);
  std::sort(files.begin(), files.end());
  ASSERT_FALSE(files.empty()) << "the corpus folder " ZIZIDER_CORPUS_DIR " is empty";

  CTempDir out;
  int index = 0;
  for (const std::string& file : files) {
    const std::string png = out.File(std::to_string(index++) + ".png");
    const CProgramRun run = RunZizider({"render", file, "-o", png});
    EXPECT_EQ(run.exitCode, 0) << file << "\n" << run.err;
    EXPECT_TRUE(ReadPng(png).ok) << file;
    unlink(png.c_str());
  }
}

}  // namespace
