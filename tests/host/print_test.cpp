// KXREG_Print as a host uses it: the output page onto the host's device
// context, the hard-copy offset used once, and the sizes a printer driver
// may hand over.
#include <gtest/gtest.h>

#include "platform/soft/inspect.h"
#include "support/test_host.h"
#include "surface/graphics_state.h"
#include "surface/grdrv.h"

namespace {

namespace inspect = soft::inspect;

// A device context with a bitmap of its own, standing in for a printer's:
// 32 bits and white, or a monochrome one as made.
class CPaper {
 public:
  CPaper(int width, int height, int bits = 32) : dc_(CreateCompatibleDC(nullptr)) {
    BITMAPINFO info{};
    info.bmiHeader = BITMAPINFOHEADER{sizeof(BITMAPINFOHEADER), width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* pixels = nullptr;
    bitmap_ = bits == 32 ? CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &pixels, nullptr, 0)
                         : CreateBitmap(width, height, 1, 1, nullptr);
    previous_ = SelectObject(dc_, bitmap_);
    if (bits == 32) PatBlt(dc_, 0, 0, width, height, WHITENESS);
  }
  ~CPaper() {
    SelectObject(dc_, previous_);
    DeleteDC(dc_);
    DeleteObject(bitmap_);
  }
  HDC dc() const { return dc_; }
  COLORREF At(int x, int y) const { return GetPixel(dc_, x, y); }

 private:
  HDC dc_;
  HBITMAP bitmap_;
  HGDIOBJ previous_;
};

constexpr COLORREF kWhite = RGB(255, 255, 255);

// Page 1 all red, page 2 all green.
void PaintPages(CTestHost& host) {
  HBRUSH red = CreateSolidBrush(RGB(255, 0, 0)), green = CreateSolidBrush(RGB(0, 255, 0));
  const RECT all{0, 0, 800, 480};
  FillRect(host.Surface()->pageDC[0], &all, red);
  FillRect(host.Surface()->pageDC[1], &all, green);
  DeleteObject(red);
  DeleteObject(green);
}

int PrintAll(CTestHost& host, HDC dc, int width, int height) {
  return KXREG_Print(host.Host(), dc, width, height, 1, 24, 1, 80);
}

TEST(Print, WithoutAnInstanceNothingIsDoneAndTheResultIsOne) {
  CPaper paper(100, 100);
  CTestHost host;
  host.Erase();
  EXPECT_EQ(KXREG_Print(nullptr, paper.dc(), 100, 100, 1, 24, 1, 80), 1);
  EXPECT_EQ(PrintAll(host, paper.dc(), 100, 100), 1);
  EXPECT_EQ(paper.At(50, 50), kWhite);
}

TEST(Print, TheOutputPageFillsTheWidthWithItsAspectAndTheCursorComesBack) {
  CTestHost host;
  PaintPages(host);
  CPaper paper(400, 400);
  const HCURSOR before = inspect::CurrentCursor();
  for (int outputPage : {0, 1}) {
    host.State()->outputPage = outputPage;  // the screen shows page 0 throughout
    EXPECT_EQ(PrintAll(host, paper.dc(), 400, 400), 0);
    const COLORREF colour = outputPage ? RGB(0, 255, 0) : RGB(255, 0, 0);
    EXPECT_EQ(paper.At(0, 0), colour) << outputPage;
    EXPECT_EQ(paper.At(399, 239), colour) << outputPage;
    EXPECT_EQ(paper.At(399, 240), kWhite) << "400 wide keeps 800 x 480 at 400 x 240";
  }
  EXPECT_EQ(inspect::CurrentCursor(), before);
}

TEST(Print, AHardCopyOffsetShiftsOnePrintOnly) {
  CTestHost host;
  PaintPages(host);
  host.Feed("S(H)");  // copies the context's offset (50, 0) for the print
  ASSERT_EQ(host.Surface()->hardCopyOffsetX, 50);
  CPaper first(1000, 2000), second(1000, 2000);
  EXPECT_EQ(PrintAll(host, first.dc(), 1000, 2000), 0);
  EXPECT_EQ(first.At(57, 10), kWhite);
  EXPECT_EQ(first.At(58, 10), RGB(255, 0, 0));
  EXPECT_EQ(host.Surface()->hardCopyOffsetX, 0);
  EXPECT_EQ(PrintAll(host, second.dc(), 1000, 2000), 0);
  EXPECT_EQ(second.At(0, 10), RGB(255, 0, 0));
}

TEST(Print, WhenThePackedBitmapCannotBeMadeNothingIsPrintedAndTheOffsetStays) {
  CTestHost host;
  PaintPages(host);
  host.Surface()->hardCopyOffsetX = 50;
  CPaper paper(100, 100);
  inspect::SetGlobalAllocLimit(1000);
  EXPECT_EQ(PrintAll(host, paper.dc(), 100, 100), 0);
  inspect::SetGlobalAllocLimit(0);
  EXPECT_EQ(paper.At(60, 10), kWhite);
  EXPECT_EQ(host.Surface()->hardCopyOffsetX, 50);
}

TEST(Print, HugeTinyAndEmptyDevicesFinish) {
  CTestHost host;
  PaintPages(host);
  for (int side : {20000, 1, 0}) {
    CPaper paper(side, side, side > 1 ? 1 : 32);  // 20000 x 20000 fits memory at one bit
    EXPECT_EQ(PrintAll(host, paper.dc(), side, side), 0) << side;
  }
}

}  // namespace
