// The soft platform's object model: every handle the Win32 subset hands out
// names one of these objects in a single handle table. A handle carries its
// slot in the table and the slot's generation, so looking it up is one index
// and one comparison, and a stale handle fails a call exactly like a
// wrong-typed one (until its slot has been reused 2047 times).
#pragma once

#include <algorithm>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "common/block_pool.h"
#include "platform/soft/pixel_storage.h"
#include "platform/win32.h"

namespace soft {

enum class ObjType { Bitmap, Pen, Brush, Font, Palette, DC, Window, Cursor, Global };

// Drawing calls create and delete a pen or brush per primitive: the memory
// of objects is pooled. The fuzz build pools it under the sanitizers too:
// the library reaches an object only through its handle, which fails once
// the object is gone, so a fresh block per object would catch nothing more
// there and costs a sanitized allocation per pen, brush, bitmap and DC.
#ifdef ZIZIDER_SOFT_OBJECTS_POOLED
constexpr bool kObjectsPooledEvenSanitized = true;
#else
constexpr bool kObjectsPooledEvenSanitized = false;
#endif
struct Object : CPooledBy<kObjectsPooledEvenSanitized> {
  explicit Object(ObjType t) : type(t) {}
  virtual ~Object() = default;
  ObjType type;
  bool stock = false;          // stock objects ignore DeleteObject
  bool pendingDelete = false;  // deleted while selected: goes when deselected
  int selections = 0;          // DC slots that hold it now
};

// Pixel values by format: 1 bpp 0/1, 8 bpp a palette index (the system
// palette for device bitmaps, the colour table for DIB sections), 32 bpp
// 0x00RRGGBB.
struct BitmapObj : Object {
  BitmapObj(int w, int h, int bpp);
  int width = 0, height = 0, bpp = 1;
  int stride = 0;                   // bytes per row: word-aligned for device bitmaps, dword-aligned for DIBs
  bool bottomUp = false;            // DIB sections with a positive height store the last row first
  bool dib = false;                 // made by CreateDIBSection
  std::vector<RGBQUAD> colorTable;  // 1- and 8-bit DIB sections
  uint8_t* bits = nullptr;          // points into storage
  PixelStorage storage;
  HDC selectedIn = nullptr;

  uint8_t* Row(int y) { return bits + static_cast<size_t>(bottomUp ? height - 1 - y : y) * stride; }
  const uint8_t* Row(int y) const {
    return bits + static_cast<size_t>(bottomUp ? height - 1 - y : y) * stride;
  }
  uint32_t Get(int x, int y) const;
  void Set(int x, int y, uint32_t v);
  bool Contains(int x, int y) const { return x >= 0 && y >= 0 && x < width && y < height; }
};

struct PenObj : Object {
  PenObj() : Object(ObjType::Pen) {}
  int style = PS_SOLID;
  int width = 1;
  COLORREF color = 0;
};

struct BrushObj : Object {
  BrushObj() : Object(ObjType::Brush) {}
  UINT style = BS_SOLID;
  COLORREF color = 0;
  std::unique_ptr<BitmapObj> pattern;  // a private copy of the bitmap given to CreatePatternBrush
};

struct FontObj : Object {
  FontObj() : Object(ObjType::Font) {}
  LOGFONTA log{};
};

struct PaletteObj : Object {
  PaletteObj() : Object(ObjType::Palette) {}
  std::vector<PALETTEENTRY> entries;
  std::vector<int> systemIndex;  // where each entry sits in the system palette once realized
  bool realized = false;
};

struct CursorObj : Object {
  CursorObj() : Object(ObjType::Cursor) {}
  std::string name;  // resource name, or "#32512" style for system cursors
  bool system = false;
  int width = 32, height = 32, hotX = 0, hotY = 0;
};

struct WindowObj;

struct DCObj : Object {
  DCObj() : Object(ObjType::DC) {}
  enum class Kind { Memory, Window, Screen } kind = Kind::Memory;
  HWND hwnd = nullptr;       // Window kind
  HBITMAP bitmap = nullptr;  // Memory kind: the selected bitmap
  HPEN pen = nullptr;
  HBRUSH brush = nullptr;
  HFONT font = nullptr;
  HPALETTE palette = nullptr;
  // The objects behind bitmap, pen, brush and font: an object lives on while
  // a DC holds it, so drawing and selection reach it without a lookup.
  BitmapObj* bitmapObj = nullptr;
  PenObj* penObj = nullptr;
  BrushObj* brushObj = nullptr;
  FontObj* fontObj = nullptr;
  COLORREF textColor = RGB(0, 0, 0);
  COLORREF bkColor = RGB(255, 255, 255);
  int bkMode = OPAQUE;
  int rop2 = R2_COPYPEN;
  int stretchMode = BLACKONWHITE;
  int polyFillMode = ALTERNATE;
  UINT textAlign = TA_TOP | TA_LEFT;
  POINT pos{0, 0};
  POINT brushOrg{0, 0};
  bool paletteBackground = false;  // the palette was selected for background realization
  bool fromBeginPaint = false;
};

// The handle table. Lookups happen several times in every drawing call, so
// they are always inline.
namespace handles {

// A handle is (generation << 20) | (slot << 4): small multiples of 16 below
// 2^31, so that they survive a round trip through 32-bit window and class
// longs. Freed slots are reused oldest first, each time with the next
// generation, so a stale handle stays unknown for as long as possible.
constexpr int kSlotShift = 4;
constexpr int kGenerationShift = 20;
constexpr uint32_t kMaxSlots = 1u << (kGenerationShift - kSlotShift);
constexpr uint32_t kMaxGeneration = (1u << (31 - kGenerationShift)) - 1;

// Trivial, so that the slot array below is zero-filled static storage: a
// lookup needs no initialisation guard and no bounds test, and the pages of
// slots never used are never touched.
struct HandleSlot {
  uint32_t handle;      // the live object's handle, 0 while the slot is free
  uint32_t generation;  // of the live object, or of the last one
  Object* object;       // owned; deleted by Unregister
};

// Slot 0 is never used, so no handle is 0.
inline HandleSlot slots[kMaxSlots];

[[gnu::always_inline]] inline HandleSlot* SlotOf(HANDLE h) {
  const uintptr_t value = reinterpret_cast<uintptr_t>(h);
  HandleSlot& entry = slots[(value >> kSlotShift) & (kMaxSlots - 1)];
  return value != 0 && value == entry.handle ? &entry : nullptr;
}

}  // namespace handles

HANDLE Register(std::unique_ptr<Object> obj);
[[gnu::always_inline]] inline Object* Lookup(HANDLE h) {
  handles::HandleSlot* entry = handles::SlotOf(h);
  return entry ? entry->object : nullptr;
}
template <class T>
[[gnu::always_inline]] inline T* LookupAs(HANDLE h, ObjType t) {
  Object* o = Lookup(h);
  return o && o->type == t ? static_cast<T*>(o) : nullptr;
}
inline BitmapObj* GetBitmap(HANDLE h) {
  return LookupAs<BitmapObj>(h, ObjType::Bitmap);
}
inline PenObj* GetPen(HANDLE h) {
  return LookupAs<PenObj>(h, ObjType::Pen);
}
inline BrushObj* GetBrush(HANDLE h) {
  return LookupAs<BrushObj>(h, ObjType::Brush);
}
inline FontObj* GetFont(HANDLE h) {
  return LookupAs<FontObj>(h, ObjType::Font);
}
inline PaletteObj* GetPalette(HANDLE h) {
  return LookupAs<PaletteObj>(h, ObjType::Palette);
}
inline DCObj* GetDCObj(HANDLE h) {
  return LookupAs<DCObj>(h, ObjType::DC);
}
inline CursorObj* GetCursorObj(HANDLE h) {
  return LookupAs<CursorObj>(h, ObjType::Cursor);
}
void Unregister(HANDLE h);  // destroys the object
size_t LiveObjectCount();   // live handles, stock objects excluded

// Stock objects made on first use.
HGDIOBJ Stock(int index);
HBITMAP DefaultBitmap();  // the 1 x 1 monochrome bitmap of a fresh memory DC

// The client framebuffer of a window (display format), nullptr for a
// handle that is not a live window. Implemented with the windows.
BitmapObj* WindowFramebuffer(HWND hwnd);

// The surface a DC draws on: the selected bitmap of a memory DC, the client
// framebuffer of a window DC, or nullptr when there is none.
BitmapObj* WindowTarget(const DCObj& dc);
inline BitmapObj* Target(DCObj* dc) {
  if (!dc || dc->kind == DCObj::Kind::Screen) return nullptr;
  return dc->kind == DCObj::Kind::Memory ? dc->bitmapObj : WindowTarget(*dc);
}

// A new window DC (hwnd set) or screen DC (hwnd null) with the default
// pen, brush, font and palette selected.
HDC CreateDisplayDC(HWND hwnd);

// A handle's pointer value and back; also used for windows and cursors.
template <class H>
H As(HANDLE h) {
  return reinterpret_cast<H>(h);
}

}  // namespace soft
