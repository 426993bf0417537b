// Cursors: the shared system cursors, cursors loaded from module resources
// (a new object per load), and the current cursor.
#include <map>

#include "platform/soft/window.h"

namespace soft {
namespace {

constexpr int kSystemCursorSize = 32;

HCURSOR& Current() {
  static HCURSOR current = nullptr;
  return current;
}

bool IsSystemCursorId(WORD id) {
  switch (id) {
    case 32512:  // arrow
    case 32513:  // I-beam
    case 32514:  // wait
    case 32515:  // cross
    case 32516:  // up arrow
    case 32640:  // size
    case 32641:  // icon
    case 32642:  // size NW-SE
    case 32643:  // size NE-SW
    case 32644:  // size W-E
    case 32645:  // size N-S
    case 32646:  // size all
    case 32648:  // no
    case 32649:  // hand
    case 32650:  // app starting
    case 32651:  // help
      return true;
    default:
      return false;
  }
}

// System cursors are made once and shared, like stock objects.
HCURSOR SystemCursor(WORD id) {
  static auto* cursors = new std::map<WORD, HCURSOR>;
  auto it = cursors->find(id);
  if (it != cursors->end()) return it->second;
  auto c = std::make_unique<CursorObj>();
  c->name = "#" + std::to_string(id);
  c->system = true;
  c->stock = true;
  c->width = c->height = kSystemCursorSize;
  const bool pointsFromCorner = id == 32512 || id == 32516 || id == 32649 || id == 32650 || id == 32651;
  c->hotX = c->hotY = pointsFromCorner ? 0 : kSystemCursorSize / 2;
  HCURSOR h = As<HCURSOR>(Register(std::move(c)));
  cursors->emplace(id, h);
  return h;
}

}  // namespace

HCURSOR CurrentCursorHandle() {
  return Current();
}

void ForgetCursor(HCURSOR cursor) {
  if (Current() == cursor) Current() = nullptr;
}

}  // namespace soft

using namespace soft;

extern "C" {

// A null instance names the system cursors by id and, this being the only
// module, our own resources by name.
HCURSOR WINAPI LoadCursorA(HINSTANCE hInstance, LPCSTR lpCursorName) {
  if (!lpCursorName) return nullptr;
  if (!hInstance && IS_INTRESOURCE(lpCursorName)) {
    const WORD id = LOWORD(lpCursorName);
    return IsSystemCursorId(id) ? SystemCursor(id) : nullptr;
  }
  const CursorResource* res = FindCursorResource(lpCursorName);
  if (!res) return nullptr;
  auto c = std::make_unique<CursorObj>();
  c->name = res->name;
  c->width = res->width;
  c->height = res->height;
  c->hotX = res->hotX;
  c->hotY = res->hotY;
  return As<HCURSOR>(Register(std::move(c)));
}

HCURSOR WINAPI SetCursor(HCURSOR hCursor) {
  if (hCursor && !GetCursorObj(hCursor)) return nullptr;
  const HCURSOR previous = Current();
  Current() = hCursor;
  return previous;
}

HCURSOR WINAPI GetCursor(void) {
  return Current();
}

BOOL WINAPI DestroyCursor(HCURSOR hCursor) {
  CursorObj* c = GetCursorObj(hCursor);
  if (!c) return FALSE;
  if (c->stock) return TRUE;  // shared cursors outlive every caller
  ForgetCursor(hCursor);
  Unregister(hCursor);
  return TRUE;
}

}  // extern "C"
