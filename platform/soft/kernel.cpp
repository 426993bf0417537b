// KERNEL services other than memory: the tick clock (real or virtual), Sleep,
// captured debug output and the module handle.
#include "platform/soft/kernel.h"

#include <atomic>
#include <chrono>
#include <cstdio>
#include <mutex>
#include <thread>

namespace soft {
namespace {

// Anything but a multiple of 16, so it never names an entry of the handle table.
const HMODULE kModule = reinterpret_cast<HMODULE>(uintptr_t{0x00400004});

// Debug output kept for tests; a long run keeps the newest part.
constexpr size_t kMaxDebugOutput = size_t{1} << 20;

struct Clock {
  std::atomic<bool> virtualTime{false};
  std::atomic<uint32_t> now{0};
  std::atomic<uint32_t> pollStep{0};
};

Clock& TheClock() {
  static Clock* clock = new Clock;
  return *clock;
}

// Milliseconds of a monotonic clock, wrapping at 2^32 like Win32's tick count.
uint32_t RealTicks() {
  const auto since = std::chrono::steady_clock::now().time_since_epoch();
  return static_cast<uint32_t>(std::chrono::duration_cast<std::chrono::milliseconds>(since).count());
}

struct DebugLog {
  std::mutex mutex;
  std::string text;
  bool echo = false;
};

DebugLog& Debug() {
  static DebugLog* log = new DebugLog;
  return *log;
}

}  // namespace

// Virtual time starts where real time is, so a switch never runs the clock backwards.
void SetVirtualClock(bool on) {
  Clock& c = TheClock();
  if (on && !c.virtualTime) c.now = RealTicks();
  c.virtualTime = on;
}

void AdvanceVirtualClock(DWORD ms) {
  Clock& c = TheClock();
  if (c.virtualTime) c.now.fetch_add(ms);
}

void SetEmptyPollStep(DWORD ms) {
  TheClock().pollStep = ms;
}

void OnEmptyPoll() {
  AdvanceVirtualClock(TheClock().pollStep);
}

std::string CapturedDebugOutput() {
  std::lock_guard<std::mutex> lock(Debug().mutex);
  return Debug().text;
}

void ClearCapturedDebugOutput() {
  std::lock_guard<std::mutex> lock(Debug().mutex);
  Debug().text.clear();
}

void SetDebugEcho(bool on) {
  std::lock_guard<std::mutex> lock(Debug().mutex);
  Debug().echo = on;
}

}  // namespace soft

using namespace soft;

extern "C" {

DWORD WINAPI GetTickCount(void) {
  Clock& c = TheClock();
  return c.virtualTime ? c.now.load() : RealTicks();
}

void WINAPI Sleep(DWORD dwMilliseconds) {
  if (TheClock().virtualTime) {
    AdvanceVirtualClock(dwMilliseconds);
    return;
  }
  if (dwMilliseconds == 0)
    std::this_thread::yield();
  else
    std::this_thread::sleep_for(std::chrono::milliseconds(dwMilliseconds));
}

void WINAPI OutputDebugStringA(LPCSTR lpOutputString) {
  if (!lpOutputString) return;
  DebugLog& log = Debug();
  std::lock_guard<std::mutex> lock(log.mutex);
  if (log.echo) std::fputs(lpOutputString, stderr);
  log.text += lpOutputString;
  if (log.text.size() > kMaxDebugOutput) log.text.erase(0, log.text.size() - kMaxDebugOutput / 2);
}

// The library is the only module; other names are not loaded.
HMODULE WINAPI GetModuleHandleA(LPCSTR lpModuleName) {
  return lpModuleName ? nullptr : kModule;
}

}  // extern "C"
