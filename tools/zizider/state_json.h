// What the exports do not tell: the instance's drawing state as JSON, and
// which page the screen shows. The one place where the command-line host
// looks inside the library's objects.
#pragma once

#include <string>

#include "platform/win32.h"
#include "zizider/zizider.h"

// One JSON object on one line: position, last_error, pages, output_page,
// screen_page, writing, text, colour_map. "null" without an instance.
std::string StateJson(KXREG_HOST* host);

// The screen page as KXREG_GetMemDC numbers pages (1 or 2); 0 without an
// instance.
int ScreenPageNumber(KXREG_HOST* host);
