// KXREG_Print onto a host's device context.
#include <gtest/gtest.h>

#include "platform/soft/inspect.h"
#include "support/test_host.h"
#include "surface/graphics_state.h"
#include "surface/grdrv.h"

namespace {

namespace inspect = soft::inspect;

constexpr COLORREF kWhite = RGB(255, 255, 255), kRed = RGB(255, 0, 0), kGreen = RGB(0, 255, 0);

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

// A host whose page 1 is all red and page 2 all green.
class Print : public ::testing::Test {
 protected:
  void SetUp() override {
    const RECT all{0, 0, 800, 480};
    for (int page : {0, 1}) {
      HBRUSH brush = CreateSolidBrush(page ? kGreen : kRed);
      FillRect(host.Surface()->pageDC[page], &all, brush);
      DeleteObject(brush);
    }
  }
  int PrintOn(const CPaper& paper, int width, int height) {
    return KXREG_Print(host.Host(), paper.dc(), width, height, 1, 24, 1, 80);
  }
  CTestHost host;
};

TEST_F(Print, TheOutputPageFillsTheWidthWithItsAspectAndTheCursorComesBack) {
  CPaper paper(400, 400);
  const HCURSOR before = inspect::CurrentCursor();
  for (int outputPage : {0, 1}) {
    host.State()->outputPage = outputPage;  // the screen shows page 0 throughout
    EXPECT_EQ(PrintOn(paper, 400, 400), 0);
    EXPECT_EQ(paper.At(0, 0), outputPage ? kGreen : kRed) << outputPage;
    EXPECT_EQ(paper.At(399, 239), outputPage ? kGreen : kRed) << outputPage;
    EXPECT_EQ(paper.At(399, 240), kWhite) << "400 wide keeps 800 x 480 at 400 x 240";
  }
  EXPECT_EQ(inspect::CurrentCursor(), before);
}

TEST_F(Print, AHardCopyOffsetShiftsOnePrintOnlyAndStaysWhenNothingCanBePrinted) {
  host.Feed("S(H)");  // copies the context's offset (50, 0) for the print
  CPaper tooBig(100, 100), first(1000, 2000), second(1000, 2000);
  inspect::SetGlobalAllocLimit(1000);  // the packed bitmap cannot be made
  EXPECT_EQ(PrintOn(tooBig, 100, 100), 0);
  inspect::SetGlobalAllocLimit(0);
  EXPECT_EQ(tooBig.At(60, 10), kWhite);
  ASSERT_EQ(host.Surface()->hardCopyOffsetX, 50);
  EXPECT_EQ(PrintOn(first, 1000, 2000), 0);
  EXPECT_EQ(first.At(57, 10), kWhite);
  EXPECT_EQ(first.At(58, 10), kRed);
  EXPECT_EQ(host.Surface()->hardCopyOffsetX, 0);
  EXPECT_EQ(PrintOn(second, 1000, 2000), 0);
  EXPECT_EQ(second.At(0, 10), kRed);
}

TEST_F(Print, HugeTinyAndEmptyDevicesFinishAndNoInstancePrintsNothing) {
  for (int side : {20000, 1, 0}) {
    CPaper paper(side, side, side > 1 ? 1 : 32);  // 20000 x 20000 fits memory at one bit
    EXPECT_EQ(PrintOn(paper, side, side), 0) << side;
  }
  CPaper paper(100, 100);
  host.Erase();
  EXPECT_EQ(KXREG_Print(nullptr, paper.dc(), 100, 100, 1, 24, 1, 80), 1);
  EXPECT_EQ(PrintOn(paper, 100, 100), 1);
  EXPECT_EQ(paper.At(50, 50), kWhite);
}

}  // namespace
