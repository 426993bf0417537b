// A window of the library's own for hosts that have none to give (a
// terminal drawing with X11, Wayland or a framebuffer leaves the record's
// window null): the pages, the pump and the callbacks all hang on a window,
// so the instance gets an invisible one and the host reads its pixels with
// KXREG_RefreshPixels.
#pragma once

#include "platform/win32.h"
#include "zizider/zizider.h"

// When the record's window is null, makes an invisible window of the host's
// graphics size whose long 0 holds the record, and stores it as the record's
// window and, when the screen record has none, as its pump window. False
// when the window was needed and could not be made.
bool AdoptDisplayWindow(KXREG_HOST* host);

// Gives the library's window the host's current graphics size.
void ResizeDisplayWindow(KXREG_HOST* host);

// Destroys the library's window and empties the record fields that held it;
// a window of the host's own is left alone.
void ReleaseDisplayWindow(KXREG_HOST* host);
