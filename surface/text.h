// Text on the page: the transparent copy through which overlay, complement
// and erase put a glyph mask onto a page.
#pragma once

#include "platform/win32.h"

// Paints the glyph dots (0 bits) of the w x h monochrome mask selected in
// maskDC onto the page at (px, py) in the page's text colour, leaving the
// page unchanged under the background dots (1 bits). key is the page
// background colour in force for the character, restored afterwards.
void TransparentCopy(HDC pageDC, HDC maskDC, int px, int py, int w, int h, COLORREF key);
