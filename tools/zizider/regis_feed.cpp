#include "tools/zizider/regis_feed.h"

#include <signal.h>

#include <algorithm>
#include <atomic>
#include <csignal>
#include <vector>

#include "tools/zizider/dcs_stripper.h"
#include "tools/zizider/input_reader.h"
#include "tools/zizider/progress_meter.h"

namespace {

constexpr size_t kReadSize = 64 * 1024;

volatile std::sig_atomic_t g_broken = 0;
std::atomic<uint32_t*> g_abortFlags{nullptr};
static_assert(std::atomic<uint32_t*>::is_always_lock_free, "the signal handler reads it");

extern "C" void OnBreak(int) {
  g_broken = 1;
  if (uint32_t* flags = g_abortFlags.load()) __atomic_fetch_or(flags, KXREG_SETTING_ABORT, __ATOMIC_SEQ_CST);
}

// Without SA_RESTART, so that a read waiting on a pipe returns at once.
void InstallBreakHandler() {
  struct sigaction action {};
  action.sa_handler = OnBreak;
  sigemptyset(&action.sa_mask);
  action.sa_flags = 0;
  sigaction(SIGINT, &action, nullptr);
  sigaction(SIGTERM, &action, nullptr);
}

struct CAbortFlagsGuard {
  explicit CAbortFlagsGuard(uint32_t* flags) { g_abortFlags.store(flags); }
  ~CAbortFlagsGuard() { g_abortFlags.store(nullptr); }
};

CDcsStripper::Mode StripperMode(InputMode mode) {
  switch (mode) {
    case InputMode::Dcs:
      return CDcsStripper::Mode::Dcs;
    case InputMode::Plain:
      return CDcsStripper::Mode::Plain;
    case InputMode::Auto:
      break;
  }
  return CDcsStripper::Mode::Auto;
}

void FeedStrings(CHostWindow& host, const std::string& pending, size_t chunk) {
  std::string piece;
  for (size_t offset = 0; !g_broken && offset < pending.size(); offset += chunk) {
    piece.assign(pending, offset, std::min(chunk, pending.size() - offset));
    host.Feed(piece.c_str());
  }
}

}  // namespace

bool FeedInputs(CHostWindow& host, const CRenderOptions& options, std::string* error) {
  InstallBreakHandler();
  CAbortFlagsGuard abortGuard(host.settingsFlags());
  CInputReader reader(options.inputs);
  if (!reader.CheckAll(error)) return false;
  reader.shouldStop = [] { return g_broken != 0; };

  CDcsStripper stripper(StripperMode(options.input));
  CProgressMeter progress(reader.TotalSize(), stderr);
  std::vector<char> buffer(kReadSize);
  std::string pending;
  long long done = 0;
  for (bool ended = false; !ended && !g_broken;) {
    size_t got = 0;
    switch (reader.Read(buffer.data(), buffer.size(), &got, error)) {
      case CInputReader::Result::Data:
        stripper.Feed(buffer.data(), got, pending);
        done += static_cast<long long>(got);
        break;
      case CInputReader::Result::End:
        stripper.Finish(pending);
        ended = true;
        break;
      case CInputReader::Result::Stopped:
        continue;
      case CInputReader::Result::Error:
        progress.Finish();
        return false;
    }
    FeedStrings(host, pending, options.chunk);
    pending.clear();
    progress.Update(done);
  }
  progress.Finish();
  if (g_broken) {
    *error = "interrupted";
    return false;
  }
  return true;
}
