// The splash window: the library's picture, centred on the screen above all
// other windows from the moment the library is loaded until the host calls
// KXREG_DeleteSplash.
#pragma once

#include "platform/win32.h"

// The top-left corner of a width x height window centred on the screen.
POINT SplashPosition(int screenWidth, int screenHeight, int width, int height);

// Registers the "SplashScr" class, loads "SplashScrBmp" and shows it. Any
// failure leaves no window and is not reported: loading goes on without.
void CreateSplash();

// The splash window while it exists, else nullptr.
HWND SplashWindow();
