// The message queue, one per thread: posted messages first, then WM_QUIT,
// then WM_PAINT for a window whose update region is not empty. Sent
// messages call the window procedure at once.
#include <deque>
#include <mutex>
#include <unordered_map>

#include "platform/soft/kernel.h"
#include "platform/soft/window.h"

namespace soft {
namespace {

// Win32 refuses to post past this many messages in one queue.
constexpr size_t kMaxPosted = 10000;

struct Queue {
  std::mutex mutex;
  std::deque<MSG> posted;
  bool quit = false;
  int exitCode = 0;
};

// Windows belong to threads, so a message posted to a window goes to the
// queue of the thread that made it, wherever it was posted from.
struct QueueRegistry {
  std::mutex mutex;
  std::unordered_map<std::thread::id, std::shared_ptr<Queue>> queues;
};

QueueRegistry& Registry() {
  static QueueRegistry* registry = new QueueRegistry;
  return *registry;
}

struct ThreadQueue {
  std::thread::id id = std::this_thread::get_id();
  std::shared_ptr<Queue> queue = std::make_shared<Queue>();
  ThreadQueue() {
    std::lock_guard<std::mutex> lock(Registry().mutex);
    Registry().queues[id] = queue;
  }
  ~ThreadQueue() {
    std::lock_guard<std::mutex> lock(Registry().mutex);
    Registry().queues.erase(id);
  }
};

Queue& OwnQueue() {
  thread_local ThreadQueue own;
  return *own.queue;
}

std::shared_ptr<Queue> QueueOf(std::thread::id id) {
  OwnQueue();  // the calling thread's queue exists before anyone looks for it
  std::lock_guard<std::mutex> lock(Registry().mutex);
  auto it = Registry().queues.find(id);
  return it == Registry().queues.end() ? nullptr : it->second;
}

HWND ThreadMessagesOnly() {
  return reinterpret_cast<HWND>(static_cast<intptr_t>(-1));
}

// A window filter also takes the window's descendants, as Win32's does.
bool MatchesWindow(HWND filter, HWND target) {
  if (!filter) return true;
  if (filter == ThreadMessagesOnly()) return target == nullptr;
  for (HWND h = target; h;) {
    if (h == filter) return true;
    WindowObj* w = GetWindowObj(h);
    h = w ? w->parent : nullptr;
  }
  return false;
}

bool MatchesRange(UINT msg, UINT first, UINT last) {
  return (first == 0 && last == 0) || (msg >= first && msg <= last);
}

MSG MakeMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  return MSG{hwnd, message, wParam, lParam, GetTickCount(), POINT{0, 0}};
}

}  // namespace

void FlushWindowMessages(HWND hwnd) {
  Queue& q = OwnQueue();
  std::lock_guard<std::mutex> lock(q.mutex);
  for (auto it = q.posted.begin(); it != q.posted.end();) it = it->hwnd == hwnd ? q.posted.erase(it) : it + 1;
}

}  // namespace soft

using namespace soft;

extern "C" {

BOOL WINAPI PostMessageA(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam) {
  std::thread::id target = std::this_thread::get_id();
  if (hWnd) {
    WindowObj* w = GetWindowObj(hWnd);
    if (!w) return FALSE;
    target = w->thread;
  }
  std::shared_ptr<Queue> q = QueueOf(target);
  if (!q) return FALSE;
  const MSG msg = MakeMessage(hWnd, Msg, wParam, lParam);
  std::lock_guard<std::mutex> lock(q->mutex);
  if (q->posted.size() >= kMaxPosted) return FALSE;
  q->posted.push_back(msg);
  return TRUE;
}

LRESULT WINAPI SendMessageA(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam) {
  WindowObj* w = GetWindowObj(hWnd);
  if (!w || !w->proc) return 0;
  return w->proc(hWnd, Msg, wParam, lParam);
}

void WINAPI PostQuitMessage(int nExitCode) {
  Queue& q = OwnQueue();
  std::lock_guard<std::mutex> lock(q.mutex);
  q.quit = true;
  q.exitCode = nExitCode;
}

BOOL WINAPI PeekMessageA(LPMSG lpMsg, HWND hWnd, UINT wMsgFilterMin, UINT wMsgFilterMax, UINT wRemoveMsg) {
  if (!lpMsg) return FALSE;
  if (hWnd && hWnd != ThreadMessagesOnly() && !GetWindowObj(hWnd)) return FALSE;
  const bool remove = (wRemoveMsg & PM_REMOVE) != 0;
  Queue& q = OwnQueue();
  {
    std::lock_guard<std::mutex> lock(q.mutex);
    for (auto it = q.posted.begin(); it != q.posted.end(); ++it) {
      if (!MatchesWindow(hWnd, it->hwnd) || !MatchesRange(it->message, wMsgFilterMin, wMsgFilterMax))
        continue;
      *lpMsg = *it;
      if (remove) q.posted.erase(it);
      return TRUE;
    }
    // WM_QUIT belongs to the thread, so a filter on one window never sees it.
    const bool threadFilter = !hWnd || hWnd == ThreadMessagesOnly();
    if (q.quit && threadFilter && MatchesRange(WM_QUIT, wMsgFilterMin, wMsgFilterMax)) {
      *lpMsg = MakeMessage(nullptr, WM_QUIT, static_cast<WPARAM>(static_cast<INT_PTR>(q.exitCode)), 0);
      if (remove) q.quit = false;
      return TRUE;
    }
  }
  // WM_PAINT stays pending until the window validates its update region.
  if (MatchesRange(WM_PAINT, wMsgFilterMin, wMsgFilterMax)) {
    const std::thread::id self = std::this_thread::get_id();
    for (uintptr_t handle : LiveWindowHandles()) {
      const HWND h = reinterpret_cast<HWND>(handle);
      WindowObj* w = GetWindowObj(h);
      if (!w || w->destroying || w->thread != self || RectEmpty(w->update) || !MatchesWindow(hWnd, h))
        continue;
      *lpMsg = MakeMessage(h, WM_PAINT, 0, 0);
      return TRUE;
    }
  }
  OnEmptyPoll();
  return FALSE;
}

// Nothing but this thread can ever fill its queue, so waiting on an empty
// one would never end: GetMessageA answers it as if WM_QUIT (exit code 0)
// had been posted, which ends a message loop once it has run dry.
BOOL WINAPI GetMessageA(LPMSG lpMsg, HWND hWnd, UINT wMsgFilterMin, UINT wMsgFilterMax) {
  if (!lpMsg) return FALSE;
  if (hWnd && hWnd != ThreadMessagesOnly() && !GetWindowObj(hWnd)) return -1;
  if (PeekMessageA(lpMsg, hWnd, wMsgFilterMin, wMsgFilterMax, PM_REMOVE))
    return lpMsg->message == WM_QUIT ? FALSE : TRUE;
  *lpMsg = MakeMessage(nullptr, WM_QUIT, 0, 0);
  return FALSE;
}

// Keystrokes count as translated; no WM_CHAR is made from them.
BOOL WINAPI TranslateMessage(const MSG* lpMsg) {
  if (!lpMsg) return FALSE;
  switch (lpMsg->message) {
    case WM_KEYDOWN:
    case WM_KEYUP:
    case 0x0104:  // WM_SYSKEYDOWN
    case 0x0105:  // WM_SYSKEYUP
      return TRUE;
    default:
      return FALSE;
  }
}

LRESULT WINAPI DispatchMessageA(const MSG* lpMsg) {
  if (!lpMsg || !lpMsg->hwnd) return 0;
  return SendMessageA(lpMsg->hwnd, lpMsg->message, lpMsg->wParam, lpMsg->lParam);
}

}  // extern "C"
