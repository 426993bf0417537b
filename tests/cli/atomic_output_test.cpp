#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <fstream>
#include <sstream>

#include "cli_support.h"
#include "tools/zizider/atomic_output.h"

namespace {

std::string Contents(const std::string& path) {
  std::stringstream text;
  text << std::ifstream(path).rdbuf();
  return text.str();
}

// The picture takes a plain file's place only at Commit, from a hidden file
// beside it; a link stays and its target gets the picture; a pipe is written
// into, not replaced.
TEST(AtomicOutputTest, AFileIsReplacedWholeOnlyAtCommitWhileLinksAndPipesAreWrittenThrough) {
  CTempDir dir;
  dir.Write("a.png", "old");
  ASSERT_EQ(mkdir(dir.File("real").c_str(), 0700), 0);
  dir.Write("real/pic.png", "old");
  ASSERT_EQ(symlink("real/pic.png", dir.File("link.png").c_str()), 0);
  ASSERT_EQ(mkfifo(dir.File("pipe").c_str(), 0600), 0);
  const int reader = open(dir.File("pipe").c_str(), O_RDONLY | O_NONBLOCK);
  std::string error;
  {
    CAtomicOutput uncommitted(dir.File("a.png"));
    ASSERT_TRUE(uncommitted.Open(&error)) << error;
    std::fputs("new", uncommitted.file());
    EXPECT_EQ(dir.List().at(0).rfind(".a.png.", 0), 0u) << dir.List().at(0);
  }
  EXPECT_EQ(Contents(dir.File("a.png")), "old");
  for (const char* name : {"a.png", "link.png", "pipe"}) {
    CAtomicOutput output(dir.File(name));
    ASSERT_TRUE(output.Open(&error)) << error;
    std::fputs(name, output.file());
    ASSERT_TRUE(output.Commit(&error)) << error;
  }
  char piped[16] = {};
  EXPECT_EQ(read(reader, piped, sizeof piped - 1), 4);
  close(reader);
  EXPECT_STREQ(piped, "pipe");
  EXPECT_EQ(Contents(dir.File("a.png")) + Contents(dir.File("real/pic.png")), "a.pnglink.png");
  struct stat linkInfo, pipeInfo;
  ASSERT_EQ(lstat(dir.File("link.png").c_str(), &linkInfo) | lstat(dir.File("pipe").c_str(), &pipeInfo), 0);
  EXPECT_TRUE(S_ISLNK(linkInfo.st_mode) && S_ISFIFO(pipeInfo.st_mode));
  EXPECT_EQ(dir.List(), (std::vector<std::string>{"a.png", "link.png", "pipe", "real"}));
}

}  // namespace
