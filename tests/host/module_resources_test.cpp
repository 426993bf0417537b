// The resource files generated for the Windows build.
#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "host/instance.h"
#include "platform/soft/inspect.h"

namespace {

std::string ReadGenerated(const std::string& name) {
  std::ifstream in(std::string(ZIZIDER_GENERATED_DIR) + "/" + name, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Little-endian fields, given as triples: offset, size, expected value.
void ExpectFields(const std::string& bytes, const std::vector<uint32_t>& fields) {
  for (size_t f = 0; f + 2 < fields.size(); f += 3) {
    uint32_t v = 0;
    for (uint32_t i = fields[f + 1]; i-- > 0;) v = (v << 8) | static_cast<uint8_t>(bytes.at(fields[f] + i));
    EXPECT_EQ(v, fields[f + 2]) << "field at " << fields[f];
  }
}

TEST(ModuleResources, TheBitmapIsA16Colour420By252PictureShownExactlyOnTheDisplay) {
  const std::string bmp = ReadGenerated("SplashScrBmp.bmp");
  const uint32_t image = 212 * 252;  // rows of 420 pixels at 4 bits, padded to 32 bits
  ASSERT_EQ(bmp.size(), 118 + image);
  EXPECT_EQ(bmp.substr(0, 2), "BM");
  ExpectFields(bmp, {2,  4, 118 + image, 10, 4, 118, 14, 4, 40, 18, 4, 420,   22, 4, 252,
                     26, 2, 1,           28, 2, 4,   30, 4, 0,  34, 4, image, 46, 4, 16});
  HBITMAP loaded = LoadBitmapA(ModuleInstance(), "SplashScrBmp");
  const soft::inspect::Image soft = soft::inspect::ReadBitmap(loaded);
  DeleteObject(loaded);
  ASSERT_EQ(soft.width, 420);
  int mismatches = 0;
  for (int y = 0; y < 252; ++y) {
    for (int x = 0; x < 420; ++x) {
      const uint8_t byte = static_cast<uint8_t>(bmp[118 + (251 - y) * 212 + x / 2]);
      const size_t quad = 54 + 4 * static_cast<size_t>(x % 2 ? byte & 0xF : byte >> 4);
      mismatches += RGB(static_cast<uint8_t>(bmp[quad + 2]), static_cast<uint8_t>(bmp[quad + 1]),
                        static_cast<uint8_t>(bmp[quad])) != soft.RgbAt(x, y);
    }
  }
  EXPECT_EQ(mismatches, 0);
}

}  // namespace
