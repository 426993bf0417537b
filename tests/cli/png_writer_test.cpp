// Pictures the pages rarely make: no repeats at all, a single pixel, and
// colours used as unequally as the Fibonacci numbers, whose codes would grow
// longer than deflate allows.
#include "tools/zizider/png_writer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "tests/cli/cli_support.h"

TEST(PngWriterTest, ReadsBackAsTheSameIndices) {
  struct {
    const char* name;
    int width, height;
    void (*fill)(std::vector<uint8_t>&, std::mt19937&);
  } const kCases[] = {
      {"noise", 97, 31,
       [](std::vector<uint8_t>& v, std::mt19937& r) {
         for (auto& i : v) i = r() % 256;
       }},
      {"one pixel", 1, 1, [](std::vector<uint8_t>& v, std::mt19937&) { v[0] = 7; }},
      {"Fibonacci counts", 400, 304,
       [](std::vector<uint8_t>& v, std::mt19937& r) {
         auto at = v.begin();
         for (int k = 0, a = 1, b = 1; k < 24; ++k, b += a, a = b - a) at = std::fill_n(at, a, 11 * k + 1);
         std::shuffle(v.begin(), v.end(), r);
       }},
  };
  CTempDir dir;
  for (const auto& c : kCases) {
    std::mt19937 random(1);
    CIndexedPicture picture;
    picture.width = c.width;
    picture.height = c.height;
    picture.indices.resize(static_cast<size_t>(c.width * c.height));
    c.fill(picture.indices, random);
    for (int i = 0; i < 256; ++i)
      picture.palette.push_back(
          {static_cast<BYTE>(i), static_cast<BYTE>(i * 7), static_cast<BYTE>(255 - i), 0});
    FILE* file = std::fopen(dir.File("p.png").c_str(), "wb");
    std::string error;
    ASSERT_TRUE(WriteIndexedPng(file, picture, &error)) << c.name << ": " << error;
    std::fclose(file);
    const CPng png = ReadPng(dir.File("p.png"));
    ASSERT_TRUE(png.ok) << c.name;
    EXPECT_EQ(png.width, c.width) << c.name;
    EXPECT_EQ(png.indices, picture.indices) << c.name;
    EXPECT_EQ(png.palette.size(), 256u) << c.name;
  }
}
