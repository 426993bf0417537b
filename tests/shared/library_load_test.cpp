// The shared library at load: the splash is up until the host deletes it.
#include <gtest/gtest.h>

#include "host/splash.h"
#include "zizider/zizider.h"

TEST(LibraryLoad, TheSplashIsShownAtLoadUntilTheHostDeletesIt) {
  HWND splash = SplashWindow();
  ASSERT_TRUE(IsWindow(splash));
  EXPECT_TRUE(IsWindowVisible(splash));
  KXREG_DeleteSplash();
  KXREG_DeleteSplash();
  EXPECT_FALSE(IsWindow(splash));
  EXPECT_EQ(SplashWindow(), nullptr);
}
