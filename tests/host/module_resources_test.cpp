// The files the resource step writes for the Windows build: headers as the
// resource compiler reads them, and pixels that agree with the soft
// platform's copy of the same text art.
#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <iterator>
#include <string>

#include "host/instance.h"
#include "platform/soft/inspect.h"

namespace {

std::string ReadGenerated(const std::string& name) {
  std::ifstream in(std::string(ZIZIDER_GENERATED_DIR) + "/" + name, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

uint32_t Le(const std::string& bytes, size_t at, int size) {
  uint32_t v = 0;
  for (int i = size - 1; i >= 0; --i) v = (v << 8) | static_cast<uint8_t>(bytes[at + static_cast<size_t>(i)]);
  return v;
}

struct FieldRow {
  const char* name;
  size_t at;
  int size;
  uint32_t expected;
};

void ExpectFields(const std::string& file, const std::string& bytes, std::initializer_list<FieldRow> rows) {
  for (const FieldRow& r : rows) EXPECT_EQ(Le(bytes, r.at, r.size), r.expected) << file << ": " << r.name;
}

TEST(ModuleResources, TheBitmapFileIsA4BitPictureOf420By252WithSixteenColours) {
  const std::string bmp = ReadGenerated("SplashScrBmp.bmp");
  ASSERT_EQ(bmp.substr(0, 2), "BM");
  const uint32_t image = 212 * 252;  // 420 pixels of 4 bits padded to 212 bytes
  ExpectFields("bmp", bmp,
               {{"file size", 2, 4, 118 + image},
                {"pixel offset", 10, 4, 118},
                {"header size", 14, 4, 40},
                {"width", 18, 4, 420},
                {"height", 22, 4, 252},
                {"planes", 26, 2, 1},
                {"bits", 28, 2, 4},
                {"compression", 30, 4, 0},
                {"image size", 34, 4, image},
                {"colours used", 46, 4, 16}});
  ASSERT_EQ(bmp.size(), 118 + image);

  // Every pixel shows the colour the soft platform's resource shows.
  HBITMAP loaded = LoadBitmapA(ModuleInstance(), "SplashScrBmp");
  const soft::inspect::Image soft = soft::inspect::ReadBitmap(loaded);
  DeleteObject(loaded);
  ASSERT_EQ(soft.width, 420);
  int mismatches = 0;
  for (int y = 0; y < 252; ++y) {
    for (int x = 0; x < 420; ++x) {
      const uint8_t byte = static_cast<uint8_t>(bmp[118 + (251 - y) * 212 + x / 2]);
      const size_t quad = 54 + 4 * static_cast<size_t>(x % 2 ? byte & 0xF : byte >> 4);
      const COLORREF colour = RGB(static_cast<uint8_t>(bmp[quad + 2]), static_cast<uint8_t>(bmp[quad + 1]),
                                  static_cast<uint8_t>(bmp[quad]));
      mismatches += colour != soft.RgbAt(x, y);
    }
  }
  EXPECT_EQ(mismatches, 0) << "the picture's colours are all shown exactly on the display";
}

TEST(ModuleResources, TheCursorFileHoldsOne32By32CursorWithItsHotSpot) {
  const std::string cur = ReadGenerated("ReGisCursor.cur");
  ExpectFields("cur", cur,
               {{"reserved", 0, 2, 0},
                {"type cursor", 2, 2, 2},
                {"count", 4, 2, 1},
                {"width", 6, 1, 32},
                {"height", 7, 1, 32},
                {"hot spot x", 10, 2, 15},
                {"hot spot y", 12, 2, 15},
                {"image bytes", 14, 4, 40 + 8 + 256},
                {"image offset", 18, 4, 22},
                {"header size", 22, 4, 40},
                {"double height", 30, 4, 64},
                {"bits", 36, 2, 1}});
  ASSERT_EQ(cur.size(), 22u + 40 + 8 + 256);
}

TEST(ModuleResources, TheScriptNamesBothResourcesByTheirFiles) {
  const std::string rc = ReadGenerated("zizider.rc");
  EXPECT_NE(rc.find("ReGisCursor CURSOR \"ReGisCursor.cur\""), std::string::npos);
  EXPECT_NE(rc.find("SplashScrBmp BITMAP \"SplashScrBmp.bmp\""), std::string::npos);
}

}  // namespace
