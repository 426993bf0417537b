// Print layout and the packed bitmap the print travels in.
#include <gtest/gtest.h>

#include <climits>

#include "surface/bitmap_to_dib.h"
#include "surface/print_layout.h"
#include "surface_window.h"

namespace {

// 80 x 24 cells of 10 x 20: an 800 x 480 page.
constexpr CPrintPageGeometry kPage{24, 10, 20, 800, 480};

TEST(PrintLayout, DestinationKeepsTheAspectAndGivesTheOffsetItsShare) {
  const struct {
    const char* name;
    int toCol, width, height, offsetX, offsetY;
    CPrintRect expected;
  } rows[] = {
      {"tall area: aspect by width", 80, 1000, 2000, 0, 0, {0, 0, 1000, 600}},
      {"wide area: aspect by height", 80, 2000, 600, 0, 0, {0, 0, 1000, 600}},
      {"offset right: the picture gives up its share", 80, 1000, 2000, 50, 0, {58, 0, 942, 565}},
      {"offset that pushes past the bottom: by height", 80, 2000, 600, 50, 48, {56, 54, 910, 546}},
      {"half the columns: scaled to the printed columns", 40, 1000, 2000, 50, 0, {53, 0, 447, 510}},
  };
  const CPrintRows printed = PrintRows(24, 1, 24);
  for (const auto& r : rows) {
    const CPrintRect source = PrintSource(kPage, printed, 1, r.toCol);
    const CPrintRect got =
        PrintDestination(kPage, printed, source, r.toCol, r.width, r.height, r.offsetX, r.offsetY);
    EXPECT_EQ(got, r.expected) << r.name << ": " << got.x << "," << got.y << " " << got.w << "x" << got.h;
  }
  // Extreme values wrap without trapping (the sanitizer build checks).
  const CPrintRows extreme = PrintRows(INT_MAX, INT_MIN, INT_MAX);
  const CPrintRect source =
      PrintSource(CPrintPageGeometry{INT_MAX, INT_MAX, INT_MAX, 0, 0}, extreme, INT_MIN, INT_MAX);
  PrintDestination(kPage, extreme, source, INT_MAX, INT_MAX, INT_MIN, INT_MAX, INT_MIN);
  PrintDestination(kPage, extreme, CPrintRect{0, 0, -50, 0}, 0, 10, 10, 50, 0);  // oxp + sw == 0
}

// A bitmap of the given format; 32 bits come as a DIB section.
HBITMAP MakeBitmap(int bits, int width, int height) {
  if (bits != 32) return CreateBitmap(width, height, 1, static_cast<UINT>(bits), nullptr);
  BITMAPINFO info{};
  info.bmiHeader = BITMAPINFOHEADER{sizeof(BITMAPINFOHEADER), width, height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  void* bitsOut = nullptr;
  return CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bitsOut, nullptr, 0);
}

TEST(BitmapToDib, HeaderFieldsFollowTheBitmapsFormatRoundedUp) {
  const struct {
    const char* name;
    int bitsPerPixel, width, height;
    WORD dibBits;
    size_t colours;
    DWORD imageSize;
  } rows[] = {
      {"monochrome: rows padded to 32 bits", 1, 5, 3, 1, 2, 12},
      {"palette page", 8, 800, 480, 8, 256, 384000},
      {"32 bits become 24 without a table", 32, 3, 2, 24, 0, 24},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(r.name);
    HBITMAP bitmap = MakeBitmap(r.bitsPerPixel, r.width, r.height);
    HGLOBAL dib = BitmapToDib(bitmap, nullptr);
    ASSERT_NE(dib, nullptr);
    const auto* h = static_cast<const BITMAPINFOHEADER*>(GlobalLock(dib));
    EXPECT_EQ((std::vector<long>{long(h->biSize), h->biWidth, h->biHeight, h->biPlanes, h->biBitCount,
                                 long(h->biCompression), long(h->biSizeImage)}),
              (std::vector<long>{40, r.width, r.height, 1, r.dibBits, BI_RGB, long(r.imageSize)}));
    EXPECT_EQ(h->biXPelsPerMeter | h->biYPelsPerMeter | h->biClrUsed | h->biClrImportant, 0u);
    EXPECT_EQ(DibColourCount(*h), r.colours);
    EXPECT_EQ(GlobalSize(dib), 40 + r.colours * 4 + r.imageSize);
    GlobalUnlock(dib);
    GlobalFree(dib);
    DeleteObject(bitmap);
  }
}

TEST(BitmapToDib, ColourTableGivesEachPagePixelItsColourBottomRowFirst) {
  surface_test::SurfaceWindow w;
  w.Paint(2, RECT{0, 470, 800, 480});  // bottom band red
  w.Paint(3, RECT{0, 0, 800, 10});     // top band green
  HGLOBAL dib = BitmapToDib(w.surface->pageBitmap[0], w.surface->palette);
  ASSERT_NE(dib, nullptr);
  const auto* bytes = static_cast<const uint8_t*>(GlobalLock(dib));
  const auto* table = reinterpret_cast<const RGBQUAD*>(bytes + 40);
  const auto colourOf = [&](int storedRow, int x) {
    const RGBQUAD q = table[bytes[40 + 256 * 4 + static_cast<size_t>(storedRow) * 800 + x]];
    return RGB(q.rgbRed, q.rgbGreen, q.rgbBlue);
  };
  EXPECT_EQ(colourOf(0, 5), w.PageColour(1, 5, 479));
  EXPECT_EQ(colourOf(479, 5), w.PageColour(1, 5, 0));
  EXPECT_EQ(colourOf(240, 400), w.PageColour(1, 400, 240));
  EXPECT_NE(colourOf(0, 5), colourOf(479, 5));
  GlobalUnlock(dib);
  GlobalFree(dib);
}

}  // namespace
