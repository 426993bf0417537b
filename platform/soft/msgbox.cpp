// MessageBoxA: nobody is there to click, so every box is recorded, echoed
// to standard error unless that is switched off, and answered with IDOK.
#include <cstdio>
#include <mutex>

#include "platform/soft/window.h"

namespace soft {
namespace {

// A long run keeps the newest boxes only.
constexpr size_t kMaxRecorded = 4096;

struct MessageBoxLog {
  std::mutex mutex;
  std::vector<MessageBoxEntry> entries;
  bool echo = true;
};

MessageBoxLog& Log() {
  static MessageBoxLog* log = new MessageBoxLog;
  return *log;
}

}  // namespace

std::vector<MessageBoxEntry> RecordedMessageBoxes() {
  std::lock_guard<std::mutex> lock(Log().mutex);
  return Log().entries;
}

void ClearRecordedMessageBoxes() {
  std::lock_guard<std::mutex> lock(Log().mutex);
  Log().entries.clear();
}

void SetMessageBoxEcho(bool on) {
  std::lock_guard<std::mutex> lock(Log().mutex);
  Log().echo = on;
}

}  // namespace soft

extern "C" int WINAPI MessageBoxA(HWND hWnd, LPCSTR lpText, LPCSTR lpCaption, UINT uType) {
  using namespace soft;
  MessageBoxEntry entry{hWnd, lpText ? lpText : "", lpCaption ? lpCaption : "Error",
                        uType};  // Win32's default caption
  std::lock_guard<std::mutex> lock(Log().mutex);
  if (Log().echo) std::fprintf(stderr, "%s: %s\n", entry.caption.c_str(), entry.text.c_str());
  auto& entries = Log().entries;
  if (entries.size() >= kMaxRecorded) entries.erase(entries.begin(), entries.begin() + kMaxRecorded / 2);
  entries.push_back(std::move(entry));
  return IDOK;
}
