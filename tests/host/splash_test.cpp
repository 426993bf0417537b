// The splash window and KXREG_DeleteSplash.
#include "host/splash.h"

#include <gtest/gtest.h>

#include <vector>

#include "host/instance.h"
#include "platform/soft/inspect.h"
#include "zizider/zizider.h"

namespace {

namespace inspect = soft::inspect;

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

TEST_F(SplashWindowTest, ShowsThePictureCentredAndTopmostRepaintsItAndGoesOnlyOnce) {
  KXREG_DeleteSplash();  // before any splash: harmless
  inspect::SetScreenSize(1024, 768);
  CreateSplash();
  HWND window = SplashWindow();
  RECT r{};
  ASSERT_TRUE(GetWindowRect(window, &r));
  EXPECT_EQ(std::vector<LONG>({r.left, r.top, r.right, r.bottom}), std::vector<LONG>({302, 258, 722, 510}));
  EXPECT_TRUE(IsWindowVisible(window));
  EXPECT_NE(GetWindowLongA(window, GWL_EXSTYLE) & WS_EX_TOPMOST, 0);
  HBITMAP picture = LoadBitmapA(ModuleInstance(), "SplashScrBmp");
  const inspect::Image expected = inspect::ReadBitmap(picture);
  DeleteObject(picture);
  EXPECT_EQ(inspect::ReadWindow(window).pixels, expected.pixels) << "painted at once";
  HDC dc = GetDC(window);  // covered by something black, then uncovered
  PatBlt(dc, 0, 0, 420, 252, BLACKNESS);
  ReleaseDC(window, dc);
  InvalidateRect(window, nullptr, FALSE);
  UpdateWindow(window);
  EXPECT_EQ(inspect::ReadWindow(window).pixels, expected.pixels);
  KXREG_DeleteSplash();
  EXPECT_FALSE(IsWindow(window));
  EXPECT_EQ(SplashWindow(), nullptr);
  KXREG_DeleteSplash();
  CreateSplash();  // the class is still registered: registration fails, no splash
  EXPECT_EQ(SplashWindow(), nullptr);
}

}  // namespace
