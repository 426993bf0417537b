// Handles, stock objects, selection and deletion, and the creation of DCs,
// bitmaps, pens and brushes.
#include "platform/soft/objects.h"

#include <array>
#include <cstring>
#include <type_traits>

#include "platform/soft/palette.h"

namespace soft {
namespace {

// Freed slots, oldest first: a ring that only grows, so that freeing and
// reusing handles allocates nothing once it has room for them. Its size is
// a power of two, so positions wrap with a mask. Trivial, so that the table
// below is ready before any constructor runs and stays usable through
// static destruction; the ring is never given back.
class SlotQueue {
 public:
  bool empty() const { return count_ == 0; }
  uint32_t Pop() {
    const uint32_t slot = ring_[head_];
    head_ = (head_ + 1) & (size_ - 1);
    --count_;
    return slot;
  }
  void Push(uint32_t slot) {
    if (count_ == size_) Grow();
    ring_[(head_ + count_) & (size_ - 1)] = slot;
    ++count_;
  }

 private:
  [[gnu::noinline]] void Grow() {
    const size_t size = std::max<size_t>(64, 2 * size_);
    auto* larger = new uint32_t[size];
    for (size_t i = 0; i < count_; ++i) larger[i] = ring_[(head_ + i) & (size_ - 1)];
    delete[] ring_;
    ring_ = larger;
    size_ = size;
    head_ = 0;
  }

  uint32_t* ring_ = nullptr;
  size_t size_ = 0, head_ = 0, count_ = 0;
};

struct Table {
  uint32_t used = 1;  // slots [1, used) have held an object
  SlotQueue freeSlots;
  size_t live = 0;
  size_t stockCount = 0;
};
static_assert(std::is_trivially_destructible_v<Table>);

Table theTable;

// The largest bitmap we agree to allocate: 256 MiB of pixels.
constexpr int64_t kMaxBitmapBytes = int64_t{1} << 28;

int DeviceStride(int width, int bpp) {
  return static_cast<int>(((int64_t{width} * bpp + 15) / 16) * 2);
}
int DibStride(int width, int bpp) {
  return static_cast<int>(((int64_t{width} * bpp + 31) / 32) * 4);
}

std::unique_ptr<BitmapObj> NewBitmap(int width, int height, int bpp, bool dib) {
  if (width <= 0 || height <= 0 || (bpp != 1 && bpp != 8 && bpp != 32)) return nullptr;
  const int stride = dib ? DibStride(width, bpp) : DeviceStride(width, bpp);
  if (int64_t{stride} * height > kMaxBitmapBytes) return nullptr;
  auto bmp = std::make_unique<BitmapObj>(width, height, bpp);
  bmp->dib = dib;
  bmp->stride = stride;
  // A DIB section hands its pixels to the caller: those stay out of the pool
  // under the sanitizers, so that a use after free is caught.
  if (!bmp->storage.Allocate(static_cast<size_t>(stride) * height, kObjectsPooledEvenSanitized && !dib))
    return nullptr;
  bmp->bits = bmp->storage.data();
  return bmp;
}

// Stock objects are never deleted, so only the selections of the others
// are counted.
void Selected(Object* o) {
  if (!o->stock) ++o->selections;
}

// Called when object o, named h, leaves a DC slot: a deferred delete happens
// now.
void Deselected(Object* o, HANDLE h) {
  if (!o || o->stock) return;
  if (o->selections > 0) --o->selections;
  if (o->pendingDelete && o->selections == 0) Unregister(h);
}

template <class T>
T* StockAs(int index) {
  return static_cast<T*>(Lookup(Stock(index)));
}

HDC NewDC(DCObj::Kind kind, HWND hwnd) {
  // The stock objects every DC starts with, and where they live.
  struct Defaults {
    HPEN pen = As<HPEN>(Stock(BLACK_PEN));
    HBRUSH brush = As<HBRUSH>(Stock(WHITE_BRUSH));
    HFONT font = As<HFONT>(Stock(SYSTEM_FONT));
    HPALETTE palette = As<HPALETTE>(Stock(DEFAULT_PALETTE));
    HBITMAP bitmap = DefaultBitmap();
    PenObj* penObj = StockAs<PenObj>(BLACK_PEN);
    BrushObj* brushObj = StockAs<BrushObj>(WHITE_BRUSH);
    FontObj* fontObj = StockAs<FontObj>(SYSTEM_FONT);
    BitmapObj* bitmapObj = GetBitmap(bitmap);
  };
  static const Defaults defaults;
  auto dc = std::make_unique<DCObj>();
  dc->kind = kind;
  dc->hwnd = hwnd;
  dc->pen = defaults.pen;
  dc->penObj = defaults.penObj;
  dc->brush = defaults.brush;
  dc->brushObj = defaults.brushObj;
  dc->font = defaults.font;
  dc->fontObj = defaults.fontObj;
  dc->palette = defaults.palette;
  if (kind == DCObj::Kind::Memory) {
    dc->bitmap = defaults.bitmap;
    dc->bitmapObj = defaults.bitmapObj;
  }
  return As<HDC>(Register(std::move(dc)));
}

}  // namespace

BitmapObj::BitmapObj(int w, int h, int b) : Object(ObjType::Bitmap), width(w), height(h), bpp(b) {}

uint32_t BitmapObj::Get(int x, int y) const {
  const uint8_t* row = Row(y);
  switch (bpp) {
    case 1:
      return (row[x >> 3] >> (7 - (x & 7))) & 1u;
    case 8:
      return row[x];
    default: {
      uint32_t v;
      std::memcpy(&v, row + static_cast<size_t>(x) * 4, 4);
      return v & 0xFFFFFFu;
    }
  }
}

void BitmapObj::Set(int x, int y, uint32_t v) {
  uint8_t* row = Row(y);
  switch (bpp) {
    case 1: {
      const uint8_t bit = static_cast<uint8_t>(0x80u >> (x & 7));
      row[x >> 3] = static_cast<uint8_t>((v & 1) ? (row[x >> 3] | bit) : (row[x >> 3] & ~bit));
      break;
    }
    case 8:
      row[x] = static_cast<uint8_t>(v);
      break;
    default: {
      const uint32_t w = v & 0xFFFFFFu;
      std::memcpy(row + static_cast<size_t>(x) * 4, &w, 4);
    }
  }
}

HANDLE Register(std::unique_ptr<Object> obj) {
  Table& t = theTable;
  uint32_t slot;
  if (!t.freeSlots.empty()) {
    slot = t.freeSlots.Pop();
  } else if (t.used < handles::kMaxSlots) {
    slot = t.used++;
  } else {
    return nullptr;  // as many live objects as a handle can name
  }
  handles::HandleSlot& entry = handles::slots[slot];
  entry.generation = entry.generation >= handles::kMaxGeneration ? 1 : entry.generation + 1;
  entry.handle = (entry.generation << handles::kGenerationShift) | (slot << handles::kSlotShift);
  if (obj->stock) ++t.stockCount;
  entry.object = obj.release();
  ++t.live;
  return reinterpret_cast<HANDLE>(uintptr_t{entry.handle});
}

void Unregister(HANDLE h) {
  handles::HandleSlot* entry = handles::SlotOf(h);
  if (!entry) return;
  Table& t = theTable;
  // The slot is free before the object goes.
  const std::unique_ptr<Object> obj(entry->object);
  entry->object = nullptr;
  entry->handle = 0;
  t.freeSlots.Push(static_cast<uint32_t>(entry - handles::slots));
  --t.live;
  if (obj->stock) --t.stockCount;
}

size_t LiveObjectCount() {
  return theTable.live - theTable.stockCount;
}

namespace {

std::array<HGDIOBJ, 20> stockObjects{};

// The stock object made on its first use; drawing code asks for the null
// brush with every primitive, so the lookup of a made one stays apart.
[[gnu::noinline]] HGDIOBJ MakeStock(int index) {
  std::unique_ptr<Object> obj;
  auto brush = [](UINT style, COLORREF c) {
    auto b = std::make_unique<BrushObj>();
    b->style = style;
    b->color = c;
    return b;
  };
  auto pen = [](int style, COLORREF c) {
    auto p = std::make_unique<PenObj>();
    p->style = style;
    p->color = c;
    return p;
  };
  switch (index) {
    case WHITE_BRUSH:
      obj = brush(BS_SOLID, RGB(255, 255, 255));
      break;
    case LTGRAY_BRUSH:
      obj = brush(BS_SOLID, RGB(192, 192, 192));
      break;
    case GRAY_BRUSH:
      obj = brush(BS_SOLID, RGB(128, 128, 128));
      break;
    case DKGRAY_BRUSH:
      obj = brush(BS_SOLID, RGB(64, 64, 64));
      break;
    case BLACK_BRUSH:
      obj = brush(BS_SOLID, RGB(0, 0, 0));
      break;
    case NULL_BRUSH:
      obj = brush(BS_NULL, 0);
      break;
    case WHITE_PEN:
      obj = pen(PS_SOLID, RGB(255, 255, 255));
      break;
    case BLACK_PEN:
      obj = pen(PS_SOLID, RGB(0, 0, 0));
      break;
    case NULL_PEN:
      obj = pen(PS_NULL, 0);
      break;
    case OEM_FIXED_FONT:
    case ANSI_FIXED_FONT:
    case ANSI_VAR_FONT:
    case SYSTEM_FONT:
    case DEVICE_DEFAULT_FONT:
    case SYSTEM_FIXED_FONT: {
      auto f = std::make_unique<FontObj>();
      f->log.lfHeight = 16;
      f->log.lfWeight = index == SYSTEM_FONT ? FW_BOLD : FW_NORMAL;
      f->log.lfPitchAndFamily = index == ANSI_VAR_FONT ? VARIABLE_PITCH : FIXED_PITCH | FF_MODERN;
      obj = std::move(f);
      break;
    }
    case DEFAULT_PALETTE: {
      auto pal = std::make_unique<PaletteObj>();
      const PALETTEENTRY* sys = SystemPalette();
      for (int i = 0; i < kStaticColours; ++i) {
        const int s = i < 10 ? i : kSystemPaletteSize - kStaticColours + i;
        PALETTEENTRY e = sys[s];
        e.peFlags = 0;
        pal->entries.push_back(e);
        pal->systemIndex.push_back(s);
      }
      pal->realized = true;
      obj = std::move(pal);
      break;
    }
    default:
      return nullptr;
  }
  obj->stock = true;
  stockObjects[index] = Register(std::move(obj));
  return stockObjects[index];
}

}  // namespace

HGDIOBJ Stock(int index) {
  if (index < 0 || index >= static_cast<int>(stockObjects.size())) return nullptr;
  if (HGDIOBJ made = stockObjects[index]) return made;
  return MakeStock(index);
}

HBITMAP DefaultBitmap() {
  static HBITMAP bmp = nullptr;
  if (!bmp) {
    auto b = NewBitmap(1, 1, 1, false);
    b->stock = true;
    bmp = As<HBITMAP>(Register(std::move(b)));
  }
  return bmp;
}

BitmapObj* WindowTarget(const DCObj& dc) {
  return WindowFramebuffer(dc.hwnd);
}

// A window or screen DC of the display; used by the windowing code.
HDC CreateDisplayDC(HWND hwnd) {
  return NewDC(hwnd ? DCObj::Kind::Window : DCObj::Kind::Screen, hwnd);
}

}  // namespace soft

using namespace soft;

extern "C" {

HDC WINAPI CreateCompatibleDC(HDC hdc) {
  if (hdc && !GetDCObj(hdc)) return nullptr;
  return NewDC(DCObj::Kind::Memory, nullptr);
}

BOOL WINAPI DeleteDC(HDC hdc) {
  DCObj* dc = GetDCObj(hdc);
  if (!dc) return FALSE;
  if (dc->bitmapObj) dc->bitmapObj->selectedIn = nullptr;
  const HANDLE handles[] = {dc->bitmap, dc->pen, dc->brush, dc->font};
  Object* const objects[] = {dc->bitmapObj, dc->penObj, dc->brushObj, dc->fontObj};
  const HPALETTE palette = dc->palette;
  Unregister(hdc);
  for (int i = 0; i < 4; ++i) Deselected(objects[i], handles[i]);
  Deselected(Lookup(palette), palette);
  return TRUE;
}

HBITMAP WINAPI CreateCompatibleBitmap(HDC hdc, int cx, int cy) {
  DCObj* dc = GetDCObj(hdc);
  if (!dc || cx < 0 || cy < 0) return nullptr;
  int bpp = DisplayBitsPerPixel();
  if (dc->kind == DCObj::Kind::Memory) {
    BitmapObj* cur = GetBitmap(dc->bitmap);
    bpp = cur ? cur->bpp : 1;
  }
  if (cx == 0 || cy == 0) {  // Win32 answers an empty size with a 1 x 1 monochrome bitmap
    cx = cy = 1;
    bpp = 1;
  }
  auto bmp = NewBitmap(cx, cy, bpp, false);
  return bmp ? As<HBITMAP>(Register(std::move(bmp))) : nullptr;
}

HBITMAP WINAPI CreateBitmap(int nWidth, int nHeight, UINT nPlanes, UINT nBitCount, const void* lpBits) {
  if (nPlanes != 1) return nullptr;
  if (nWidth == 0 || nHeight == 0) return As<HBITMAP>(Register(NewBitmap(1, 1, 1, false)));
  auto bmp = NewBitmap(nWidth, nHeight, static_cast<int>(nBitCount), false);
  if (!bmp) return nullptr;
  if (lpBits) std::memcpy(bmp->bits, lpBits, bmp->storage.size());  // rows are word-aligned on both sides
  return As<HBITMAP>(Register(std::move(bmp)));
}

HBITMAP WINAPI CreateDIBSection(HDC hdc, const BITMAPINFO* pbmi, UINT usage, void** ppvBits, HANDLE, DWORD) {
  if (ppvBits) *ppvBits = nullptr;
  if (!pbmi || pbmi->bmiHeader.biCompression != BI_RGB || pbmi->bmiHeader.biPlanes != 1) return nullptr;
  const BITMAPINFOHEADER& h = pbmi->bmiHeader;
  const int height = h.biHeight;
  if (height == INT32_MIN) return nullptr;
  auto bmp = NewBitmap(h.biWidth, height < 0 ? -height : height, h.biBitCount, true);
  if (!bmp) return nullptr;
  bmp->bottomUp = height > 0;
  if (bmp->bpp <= 8) {
    const DWORD full = 1u << bmp->bpp;
    const DWORD count = h.biClrUsed && h.biClrUsed < full ? h.biClrUsed : full;
    DCObj* dc = GetDCObj(hdc);
    const PaletteObj* pal = dc ? GetPalette(dc->palette) : nullptr;
    for (DWORD i = 0; i < count; ++i) {
      if (usage == DIB_PAL_COLORS) {
        const WORD idx = reinterpret_cast<const WORD*>(pbmi->bmiColors)[i];
        RGBQUAD q{0, 0, 0, 0};
        if (pal && idx < pal->entries.size()) {
          const PALETTEENTRY& e = pal->entries[idx];
          q = RGBQUAD{e.peBlue, e.peGreen, e.peRed, 0};
        }
        bmp->colorTable.push_back(q);
      } else {
        bmp->colorTable.push_back(pbmi->bmiColors[i]);
      }
    }
    bmp->colorTable.resize(full, RGBQUAD{0, 0, 0, 0});
  }
  if (ppvBits) *ppvBits = bmp->bits;
  return As<HBITMAP>(Register(std::move(bmp)));
}

int WINAPI GetObjectA(HANDLE h, int c, LPVOID pv) {
  Object* o = Lookup(h);
  if (!o || c < 0) return 0;
  auto put = [&](const void* data, int size) {
    if (!pv) return size;
    const int n = c < size ? c : size;
    std::memcpy(pv, data, static_cast<size_t>(n));
    return n;
  };
  switch (o->type) {
    case ObjType::Bitmap: {
      auto* b = static_cast<BitmapObj*>(o);
      DIBSECTION ds{};
      ds.dsBm.bmWidth = b->width;
      ds.dsBm.bmHeight = b->height;
      ds.dsBm.bmWidthBytes = b->dib ? DibStride(b->width, b->bpp) : b->stride;
      ds.dsBm.bmPlanes = 1;
      ds.dsBm.bmBitsPixel = static_cast<WORD>(b->bpp);
      ds.dsBm.bmBits = b->dib ? b->bits : nullptr;
      if (b->dib && (c >= static_cast<int>(sizeof(DIBSECTION)) || !pv)) {
        ds.dsBmih.biSize = sizeof(BITMAPINFOHEADER);
        ds.dsBmih.biWidth = b->width;
        ds.dsBmih.biHeight = b->bottomUp ? b->height : -b->height;
        ds.dsBmih.biPlanes = 1;
        ds.dsBmih.biBitCount = static_cast<WORD>(b->bpp);
        ds.dsBmih.biSizeImage = static_cast<DWORD>(b->storage.size());
        ds.dsBmih.biClrUsed = static_cast<DWORD>(b->colorTable.size());
        return put(&ds, sizeof(DIBSECTION));
      }
      return put(&ds.dsBm, sizeof(BITMAP));
    }
    case ObjType::Pen: {
      auto* p = static_cast<PenObj*>(o);
      LOGPEN lp{static_cast<UINT>(p->style), POINT{p->width, 0}, p->color};
      return put(&lp, sizeof lp);
    }
    case ObjType::Brush: {
      auto* b = static_cast<BrushObj*>(o);
      LOGBRUSH lb{b->style, b->color, 0};
      return put(&lb, sizeof lb);
    }
    case ObjType::Font:
      return put(&static_cast<FontObj*>(o)->log, sizeof(LOGFONTA));
    case ObjType::Palette: {
      const WORD n = static_cast<WORD>(static_cast<PaletteObj*>(o)->entries.size());
      return put(&n, sizeof n);
    }
    default:
      return 0;
  }
}

DWORD WINAPI GetObjectType(HGDIOBJ h) {
  Object* o = Lookup(h);
  if (!o) return 0;
  switch (o->type) {
    case ObjType::Pen:
      return OBJ_PEN;
    case ObjType::Brush:
      return OBJ_BRUSH;
    case ObjType::Font:
      return OBJ_FONT;
    case ObjType::Palette:
      return OBJ_PAL;
    case ObjType::Bitmap:
      return OBJ_BITMAP;
    case ObjType::DC:
      return static_cast<DCObj*>(o)->kind == DCObj::Kind::Memory ? OBJ_MEMDC : OBJ_DC;
    default:
      return 0;
  }
}

HGDIOBJ WINAPI SelectObject(HDC hdc, HGDIOBJ h) {
  DCObj* dc = GetDCObj(hdc);
  Object* o = Lookup(h);
  if (!dc || !o) return nullptr;
  HANDLE previous;
  Object* old;
  // Each slot keeps a handle and its object side by side.
  auto swap = [&](auto& handle, auto*& object) {
    previous = handle;
    old = object;
    handle = static_cast<std::remove_reference_t<decltype(handle)>>(h);
    object = static_cast<std::remove_reference_t<decltype(object)>>(o);
  };
  switch (o->type) {
    case ObjType::Pen:
      swap(dc->pen, dc->penObj);
      break;
    case ObjType::Brush:
      swap(dc->brush, dc->brushObj);
      break;
    case ObjType::Font:
      swap(dc->font, dc->fontObj);
      break;
    case ObjType::Bitmap: {
      if (dc->kind != DCObj::Kind::Memory) return nullptr;
      auto* bmp = static_cast<BitmapObj*>(o);
      // A bitmap lives in one DC at a time; the shared default bitmap is the exception.
      if (!bmp->stock && bmp->selectedIn && bmp->selectedIn != hdc && GetDCObj(bmp->selectedIn))
        return nullptr;
      if (dc->bitmapObj) dc->bitmapObj->selectedIn = nullptr;
      if (!bmp->stock) bmp->selectedIn = hdc;
      swap(dc->bitmap, dc->bitmapObj);
      break;
    }
    default:
      return nullptr;  // palettes go through SelectPalette
  }
  if (previous != h) {
    Selected(o);
    Deselected(old, previous);
  }
  return previous;
}

BOOL WINAPI DeleteObject(HGDIOBJ h) {
  Object* o = Lookup(h);
  if (!o || o->type == ObjType::DC || o->type == ObjType::Window || o->type == ObjType::Cursor ||
      o->type == ObjType::Global)
    return FALSE;
  if (o->stock) return TRUE;
  if (o->type == ObjType::Bitmap) {
    auto* bmp = static_cast<BitmapObj*>(o);
    if (bmp->selectedIn && GetDCObj(bmp->selectedIn)) return FALSE;  // a selected bitmap cannot go
  }
  if (o->selections > 0) {
    o->pendingDelete = true;
    return TRUE;
  }
  Unregister(h);
  return TRUE;
}

HGDIOBJ WINAPI GetStockObject(int i) {
  return Stock(i);
}

HGDIOBJ WINAPI GetCurrentObject(HDC hdc, UINT type) {
  DCObj* dc = GetDCObj(hdc);
  if (!dc) return nullptr;
  switch (type) {
    case OBJ_PEN:
      return dc->pen;
    case OBJ_BRUSH:
      return dc->brush;
    case OBJ_FONT:
      return dc->font;
    case OBJ_PAL:
      return dc->palette;
    case OBJ_BITMAP:
      return dc->bitmap;
    default:
      return nullptr;
  }
}

HPEN WINAPI CreatePen(int iStyle, int cWidth, COLORREF color) {
  if (iStyle < PS_SOLID || iStyle > PS_INSIDEFRAME) return nullptr;
  auto pen = std::make_unique<PenObj>();
  pen->style = iStyle;
  pen->width = cWidth < 1 ? 1 : cWidth;
  pen->color = color;
  return As<HPEN>(Register(std::move(pen)));
}

HBRUSH WINAPI CreateSolidBrush(COLORREF color) {
  auto brush = std::make_unique<BrushObj>();
  brush->color = color;
  return As<HBRUSH>(Register(std::move(brush)));
}

HBRUSH WINAPI CreatePatternBrush(HBITMAP hbm) {
  BitmapObj* src = GetBitmap(hbm);
  if (!src) return nullptr;
  // The brush keeps its own copy: the caller may delete the bitmap at once.
  auto copy = std::make_unique<BitmapObj>(src->width, src->height, src->bpp);
  copy->stride = src->stride;
  copy->bottomUp = src->bottomUp;
  copy->dib = src->dib;
  copy->colorTable = src->colorTable;
  if (!copy->storage.Assign(src->bits, static_cast<size_t>(src->stride) * src->height)) return nullptr;
  copy->bits = copy->storage.data();
  auto brush = std::make_unique<BrushObj>();
  brush->style = BS_PATTERN;
  brush->pattern = std::move(copy);
  return As<HBRUSH>(Register(std::move(brush)));
}

BOOL WINAPI SetBrushOrgEx(HDC hdc, int x, int y, LPPOINT lppt) {
  DCObj* dc = GetDCObj(hdc);
  if (!dc) return FALSE;
  if (lppt) *lppt = dc->brushOrg;
  dc->brushOrg = POINT{x, y};
  return TRUE;
}

int WINAPI SetROP2(HDC hdc, int rop2) {
  DCObj* dc = GetDCObj(hdc);
  if (!dc || rop2 < R2_BLACK || rop2 > R2_WHITE) return 0;
  const int previous = dc->rop2;
  dc->rop2 = rop2;
  return previous;
}

int WINAPI GetROP2(HDC hdc) {
  DCObj* dc = GetDCObj(hdc);
  return dc ? dc->rop2 : 0;
}

int WINAPI SetStretchBltMode(HDC hdc, int mode) {
  DCObj* dc = GetDCObj(hdc);
  if (!dc || mode < BLACKONWHITE || mode > HALFTONE) return 0;
  const int previous = dc->stretchMode;
  dc->stretchMode = mode;
  return previous;
}

int WINAPI GetStretchBltMode(HDC hdc) {
  DCObj* dc = GetDCObj(hdc);
  return dc ? dc->stretchMode : 0;
}

int WINAPI SetPolyFillMode(HDC hdc, int mode) {
  DCObj* dc = GetDCObj(hdc);
  if (!dc || (mode != ALTERNATE && mode != WINDING)) return 0;
  const int previous = dc->polyFillMode;
  dc->polyFillMode = mode;
  return previous;
}

COLORREF WINAPI SetTextColor(HDC hdc, COLORREF color) {
  DCObj* dc = GetDCObj(hdc);
  if (!dc) return CLR_INVALID;
  const COLORREF previous = dc->textColor;
  dc->textColor = color;
  return previous;
}

COLORREF WINAPI GetTextColor(HDC hdc) {
  DCObj* dc = GetDCObj(hdc);
  return dc ? dc->textColor : CLR_INVALID;
}

COLORREF WINAPI SetBkColor(HDC hdc, COLORREF color) {
  DCObj* dc = GetDCObj(hdc);
  if (!dc) return CLR_INVALID;
  const COLORREF previous = dc->bkColor;
  dc->bkColor = color;
  return previous;
}

COLORREF WINAPI GetBkColor(HDC hdc) {
  DCObj* dc = GetDCObj(hdc);
  return dc ? dc->bkColor : CLR_INVALID;
}

int WINAPI SetBkMode(HDC hdc, int mode) {
  DCObj* dc = GetDCObj(hdc);
  if (!dc || (mode != TRANSPARENT && mode != OPAQUE)) return 0;
  const int previous = dc->bkMode;
  dc->bkMode = mode;
  return previous;
}

int WINAPI GetBkMode(HDC hdc) {
  DCObj* dc = GetDCObj(hdc);
  return dc ? dc->bkMode : 0;
}

UINT WINAPI SetTextAlign(HDC hdc, UINT align) {
  DCObj* dc = GetDCObj(hdc);
  if (!dc) return GDI_ERROR;
  const UINT previous = dc->textAlign;
  dc->textAlign = align;
  return previous;
}

}  // extern "C"
