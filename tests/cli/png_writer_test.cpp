#include "tools/zizider/png_writer.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <fstream>
#include <sstream>

#include "cli_support.h"
#include "tools/zizider/atomic_output.h"

namespace {

CIndexedPicture SmallPicture() {
  CIndexedPicture picture;
  picture.width = 3;
  picture.height = 2;
  picture.indices = {0, 10, 255, 7, 7, 246};
  picture.palette.resize(256);
  for (int i = 0; i < 256; ++i)
    picture.palette[i] =
        PALETTEENTRY{static_cast<BYTE>(i), static_cast<BYTE>(255 - i), static_cast<BYTE>(i / 2), 0};
  return picture;
}

TEST(PngWriterTest, WritesIndicesAndPaletteThatReadBackUnchanged) {
  CTempDir dir;
  CAtomicOutput output(dir.File("p.png"));
  std::string error;
  ASSERT_TRUE(output.Open(&error)) << error;
  const CIndexedPicture picture = SmallPicture();
  ASSERT_TRUE(WriteIndexedPng(output.file(), picture, &error)) << error;
  ASSERT_TRUE(output.Commit(&error)) << error;

  const CPng png = ReadPng(dir.File("p.png"));
  ASSERT_TRUE(png.ok);
  EXPECT_EQ(png.width, 3);
  EXPECT_EQ(png.height, 2);
  EXPECT_EQ(png.bitDepth, 8);
  EXPECT_EQ(png.colourType, 3);  // indexed
  EXPECT_EQ(png.indices, picture.indices);
  ASSERT_EQ(png.palette.size(), 256u);
  EXPECT_EQ(png.palette[10], (std::array<uint8_t, 3>{10, 245, 5}));
}

TEST(PngWriterTest, RefusesAPictureWhoseSizeDoesNotMatchItsPixels) {
  CTempDir dir;
  CAtomicOutput output(dir.File("p.png"));
  std::string error;
  ASSERT_TRUE(output.Open(&error));
  CIndexedPicture picture = SmallPicture();
  picture.indices.pop_back();
  EXPECT_FALSE(WriteIndexedPng(output.file(), picture, &error));
  EXPECT_FALSE(error.empty());
}

TEST(AtomicOutputTest, TheFileAppearsOnlyAtCommit) {
  CTempDir dir;
  CAtomicOutput output(dir.File("a.png"));
  std::string error;
  ASSERT_TRUE(output.Open(&error)) << error;
  std::fputs("data", output.file());
  const std::vector<std::string> before = dir.List();
  ASSERT_EQ(before.size(), 1u);
  EXPECT_EQ(before[0].rfind(".a.png.", 0), 0u) << before[0];  // hidden, beside the target
  ASSERT_TRUE(output.Commit(&error)) << error;
  EXPECT_EQ(dir.List(), (std::vector<std::string>{"a.png"}));
}

TEST(AtomicOutputTest, AnUncommittedOutputLeavesNothingAndKeepsAnOldFile) {
  CTempDir dir;
  dir.Write("a.png", "old");
  {
    CAtomicOutput output(dir.File("a.png"));
    std::string error;
    ASSERT_TRUE(output.Open(&error)) << error;
    std::fputs("new", output.file());
  }
  EXPECT_EQ(dir.List(), (std::vector<std::string>{"a.png"}));
  std::stringstream text;
  text << std::ifstream(dir.File("a.png")).rdbuf();
  EXPECT_EQ(text.str(), "old");
}

TEST(AtomicOutputTest, AMissingFolderOrAFolderInTheWayFailsAtOpenSayingWhy) {
  CTempDir dir;
  std::string error;
  EXPECT_FALSE(CAtomicOutput(dir.File("no/such/folder/a.png")).Open(&error));
  EXPECT_NE(error.find("no/such/folder/a.png"), std::string::npos) << error;
  EXPECT_TRUE(dir.List().empty());
  mkdir(dir.File("taken.png").c_str(), 0700);
  EXPECT_FALSE(CAtomicOutput(dir.File("taken.png")).Open(&error));
  EXPECT_NE(error.find("Is a directory"), std::string::npos) << error;
  rmdir(dir.File("taken.png").c_str());
}

TEST(AtomicOutputTest, APipeInTheWayIsWrittenIntoNotReplaced) {
  CTempDir dir;
  ASSERT_EQ(mkfifo(dir.File("pipe").c_str(), 0600), 0);
  const int reader = open(dir.File("pipe").c_str(), O_RDONLY | O_NONBLOCK);
  ASSERT_GE(reader, 0);
  {
    CAtomicOutput output(dir.File("pipe"));
    std::string error;
    ASSERT_TRUE(output.Open(&error)) << error;
    std::fputs("picture", output.file());
    ASSERT_TRUE(output.Commit(&error)) << error;
  }
  char text[16] = {};
  EXPECT_EQ(read(reader, text, sizeof text - 1), 7);
  close(reader);
  EXPECT_STREQ(text, "picture");
  struct stat info;
  ASSERT_EQ(lstat(dir.File("pipe").c_str(), &info), 0);
  EXPECT_TRUE(S_ISFIFO(info.st_mode));
  EXPECT_EQ(dir.List(), (std::vector<std::string>{"pipe"}));
}

TEST(AtomicOutputTest, ASymbolicLinkStaysAndItsTargetGetsThePicture) {
  CTempDir dir;
  mkdir(dir.File("real").c_str(), 0700);
  dir.Write("real/pic.png", "old");
  ASSERT_EQ(symlink("real/pic.png", dir.File("link.png").c_str()), 0);
  CAtomicOutput output(dir.File("link.png"));
  std::string error;
  ASSERT_TRUE(output.Open(&error)) << error;
  std::fputs("new", output.file());
  ASSERT_TRUE(output.Commit(&error)) << error;
  struct stat info;
  ASSERT_EQ(lstat(dir.File("link.png").c_str(), &info), 0);
  EXPECT_TRUE(S_ISLNK(info.st_mode));
  ASSERT_EQ(stat(dir.File("real/pic.png").c_str(), &info), 0);
  EXPECT_EQ(info.st_size, 3);
  unlink(dir.File("real/pic.png").c_str());
  rmdir(dir.File("real").c_str());
}

}  // namespace
