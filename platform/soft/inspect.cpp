// The soft platform seen from tests and the command-line host.
#include "platform/soft/inspect.h"

#include <algorithm>

#include "platform/soft/kernel.h"
#include "platform/soft/palette.h"
#include "platform/soft/window.h"

namespace soft::inspect {
namespace {

Image FromBitmap(const BitmapObj* bmp) {
  Image img;
  if (!bmp) return img;
  img.width = bmp->width;
  img.height = bmp->height;
  img.bpp = bmp->bpp;
  const size_t count = static_cast<size_t>(bmp->width) * bmp->height;
  img.pixels.reserve(count);
  img.rgb.reserve(count);
  for (int y = 0; y < bmp->height; ++y) {
    for (int x = 0; x < bmp->width; ++x) {
      const uint32_t p = bmp->Get(x, y);
      img.pixels.push_back(p);
      img.rgb.push_back(PixelToColor(*bmp, p));
    }
  }
  return img;
}

IndexImage IndicesOf(const BitmapObj* bmp) {
  IndexImage img;
  if (!bmp) return img;
  img.width = bmp->width;
  img.height = bmp->height;
  img.bpp = bmp->bpp;
  if (bmp->bpp != 8) return img;
  // Appended row by row: no pass clears the copy first.
  img.indices.reserve(static_cast<size_t>(bmp->width) * bmp->height);
  for (int y = 0; y < bmp->height; ++y)
    img.indices.insert(img.indices.end(), bmp->Row(y), bmp->Row(y) + bmp->width);
  return img;
}

}  // namespace

IndexImage ReadIndicesOfDC(HDC dc) {
  return IndicesOf(Target(GetDCObj(dc)));
}
IndexView ViewIndicesOfDC(HDC dc) {
  IndexView view;
  const BitmapObj* bmp = Target(GetDCObj(dc));
  if (!bmp) return view;
  view.width = bmp->width;
  view.height = bmp->height;
  view.bpp = bmp->bpp;
  if (bmp->bpp != 8 || bmp->height <= 0) return view;
  view.first = bmp->Row(0);
  view.step = bmp->bottomUp ? -static_cast<ptrdiff_t>(bmp->stride) : static_cast<ptrdiff_t>(bmp->stride);
  return view;
}
IndexImage ReadIndicesOfWindow(HWND hwnd) {
  return IndicesOf(WindowFramebuffer(hwnd));
}

Image ReadBitmap(HBITMAP bmp) {
  return FromBitmap(GetBitmap(bmp));
}
Image ReadDC(HDC dc) {
  return FromBitmap(Target(GetDCObj(dc)));
}
std::vector<uint8_t> ReadDCBytes(HDC dc) {
  std::vector<uint8_t> out;
  const BitmapObj* bmp = Target(GetDCObj(dc));
  if (!bmp) return out;
  const size_t size = static_cast<size_t>(bmp->stride) * bmp->height;
  if (!bmp->bottomUp) return std::vector<uint8_t>(bmp->bits, bmp->bits + size);  // rows already top first
  out.reserve(size);
  for (int y = 0; y < bmp->height; ++y) out.insert(out.end(), bmp->Row(y), bmp->Row(y) + bmp->stride);
  return out;
}
Image ReadWindow(HWND hwnd) {
  return FromBitmap(WindowFramebuffer(hwnd));
}

std::vector<PALETTEENTRY> SystemPalette() {
  const PALETTEENTRY* sys = soft::SystemPalette();
  return std::vector<PALETTEENTRY>(sys, sys + kSystemPaletteSize);
}

CaretState Caret() {
  const CaretInfo& c = ThreadCaret();
  CaretState s;
  if (!c.owner) return s;
  s.owner = c.owner;
  s.bitmap = c.bitmap;
  s.x = c.x;
  s.y = c.y;
  s.width = c.width;
  s.height = c.height;
  s.shown = c.hideCount == 0;
  return s;
}

HCURSOR CurrentCursor() {
  return CurrentCursorHandle();
}

HCURSOR ClassCursor(HWND hwnd) {
  WindowObj* w = GetWindowObj(hwnd);
  return w ? w->cls->cursor : nullptr;
}

std::string CursorName(HCURSOR cursor) {
  const CursorObj* c = GetCursorObj(cursor);
  if (!c) return "";
  if (c->system) return "IDC_" + c->name.substr(1);  // stored as "#32512"
  return c->name;
}

std::vector<MessageBoxRecord> MessageBoxes() {
  std::vector<MessageBoxRecord> out;
  for (const MessageBoxEntry& e : RecordedMessageBoxes()) out.push_back({e.owner, e.text, e.caption, e.type});
  return out;
}

void ClearMessageBoxes() {
  ClearRecordedMessageBoxes();
}
void EchoMessageBoxes(bool on) {
  SetMessageBoxEcho(on);
}

std::string DebugOutput() {
  return CapturedDebugOutput();
}
void ClearDebugOutput() {
  ClearCapturedDebugOutput();
}
void EchoDebugOutput(bool on) {
  SetDebugEcho(on);
}

std::vector<RECT> Invalidations(HWND hwnd) {
  WindowObj* w = GetWindowObj(hwnd);
  return w ? w->invalidations : std::vector<RECT>{};
}

void ClearInvalidations(HWND hwnd) {
  if (WindowObj* w = GetWindowObj(hwnd)) w->invalidations.clear();
}

bool PendingUpdate(HWND hwnd, RECT* bounds) {
  WindowObj* w = GetWindowObj(hwnd);
  const bool pending = w && !RectEmpty(w->update);
  if (bounds) *bounds = pending ? w->update : RECT{0, 0, 0, 0};
  return pending;
}

void UseTrueColourDisplay(bool on) {
  SetDisplayBitsPerPixel(on ? 32 : 8);
}

void UseVirtualClock(bool on) {
  SetVirtualClock(on);
}
void AdvanceClock(DWORD ms) {
  AdvanceVirtualClock(ms);
}
void SetAdvancePerEmptyPoll(DWORD ms) {
  SetEmptyPollStep(ms);
}

void SetScreenSize(int width, int height) {
  ScreenSize() = SIZE{width, height};
}

void SetGlobalAllocLimit(size_t bytes) {
  SetAllocLimit(bytes);
}

size_t LiveHandles() {
  return LiveObjectCount() - LiveMoveableBlocks();
}

}  // namespace soft::inspect
