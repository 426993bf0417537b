// The splash window: centred, topmost, painted from the library's picture,
// and gone after KXREG_DeleteSplash however often it is called.
#include "host/splash.h"

#include <gtest/gtest.h>

#include "host/instance.h"
#include "platform/soft/inspect.h"
#include "zizider/zizider.h"

namespace {

namespace inspect = soft::inspect;

struct PositionRow {
  const char* name;
  int screenWidth, screenHeight;
  POINT expected;
};

TEST(Splash, PositionCentresThePictureWithTruncatingHalves) {
  const PositionRow rows[] = {
      {"1024 x 768", 1024, 768, {302, 258}},
      {"odd sizes truncate", 1025, 769, {302, 258}},
      {"a screen smaller than the picture", 400, 200, {-10, -26}},
  };
  for (const PositionRow& r : rows) {
    const POINT got = SplashPosition(r.screenWidth, r.screenHeight, 420, 252);
    EXPECT_EQ(got.x, r.expected.x) << r.name;
    EXPECT_EQ(got.y, r.expected.y) << r.name;
  }
}

// Every test starts as a freshly loaded library would: no class, no window.
class SplashWindowTest : public ::testing::Test {
 protected:
  void SetUp() override { baseline_ = inspect::LiveHandles(); }
  void TearDown() override {
    KXREG_DeleteSplash();
    UnregisterClassA("SplashScr", ModuleInstance());
    inspect::SetScreenSize(1280, 1024);
    EXPECT_EQ(inspect::LiveHandles(), baseline_);
  }
  size_t baseline_ = 0;
};

TEST_F(SplashWindowTest, ShowsThePictureCentredAndTopmostAndRepaintsItFromTheBitmap) {
  inspect::SetScreenSize(1024, 768);
  CreateSplash();
  HWND window = SplashWindow();
  ASSERT_TRUE(IsWindow(window));
  RECT r;
  GetWindowRect(window, &r);
  EXPECT_EQ(r.left, 302);
  EXPECT_EQ(r.top, 258);
  EXPECT_EQ(r.right - r.left, 420);
  EXPECT_EQ(r.bottom - r.top, 252);
  EXPECT_TRUE(IsWindowVisible(window));
  EXPECT_NE(GetWindowLongA(window, GWL_EXSTYLE) & WS_EX_TOPMOST, 0);

  HBITMAP picture = LoadBitmapA(ModuleInstance(), "SplashScrBmp");
  const inspect::Image expected = inspect::ReadBitmap(picture);
  DeleteObject(picture);
  EXPECT_EQ(inspect::ReadWindow(window).pixels, expected.pixels) << "painted at once";
  // Uncovered: the window is cleared and repainted.
  HDC dc = GetDC(window);
  PatBlt(dc, 0, 0, 420, 252, BLACKNESS);
  ReleaseDC(window, dc);
  InvalidateRect(window, nullptr, FALSE);
  UpdateWindow(window);
  EXPECT_EQ(inspect::ReadWindow(window).pixels, expected.pixels);
}

TEST_F(SplashWindowTest, DeleteSplashBeforeAfterAndTwiceIsHarmless) {
  KXREG_DeleteSplash();
  CreateSplash();
  HWND window = SplashWindow();
  ASSERT_NE(window, nullptr);
  KXREG_DeleteSplash();
  EXPECT_FALSE(IsWindow(window));
  EXPECT_EQ(SplashWindow(), nullptr);
  KXREG_DeleteSplash();
}

TEST_F(SplashWindowTest, AClassAlreadyRegisteredMeansNoSplash) {
  CreateSplash();
  KXREG_DeleteSplash();
  CreateSplash();  // the class stays registered for the process
  EXPECT_EQ(SplashWindow(), nullptr);
}

}  // namespace
