// zizider render: ReGIS from files or standard input, fed through the
// library as a terminal would feed it, written out as a PNG.
#include <signal.h>

#include <algorithm>
#include <atomic>
#include <csignal>
#include <cstdio>
#include <string>
#include <utility>
#include <vector>

#include "platform/soft/inspect.h"
#include "tools/zizider/atomic_output.h"
#include "tools/zizider/dcs_stripper.h"
#include "tools/zizider/host_window.h"
#include "tools/zizider/input_reader.h"
#include "tools/zizider/png_writer.h"
#include "tools/zizider/progress_meter.h"
#include "tools/zizider/render_options.h"
#include "tools/zizider/state_json.h"
#include "zizider/zizider.h"

#ifndef ZIZIDER_VERSION
#define ZIZIDER_VERSION "unknown"
#endif

namespace {

constexpr size_t kReadSize = 64 * 1024;
// Each poll of an empty queue moves the virtual clock a minute on, so even
// the longest S(T...) delay passes in a few thousand polls.
constexpr DWORD kVirtualStepMs = 60000;

volatile std::sig_atomic_t g_interrupted = 0;
std::atomic<uint32_t*> g_abortFlags{nullptr};
static_assert(std::atomic<uint32_t*>::is_always_lock_free, "the signal handler reads it");

// Asks the library to stop what it is doing, as a terminal does on a break;
// the run then ends without writing anything.
extern "C" void OnInterrupt(int) {
  g_interrupted = 1;
  if (uint32_t* flags = g_abortFlags.load()) __atomic_fetch_or(flags, KXREG_SETTING_ABORT, __ATOMIC_SEQ_CST);
}

// Without SA_RESTART, so that a read waiting on a pipe returns at once.
void InstallInterruptHandler() {
  struct sigaction action {};
  action.sa_handler = OnInterrupt;
  sigemptyset(&action.sa_mask);
  action.sa_flags = 0;
  sigaction(SIGINT, &action, nullptr);
  sigaction(SIGTERM, &action, nullptr);
}

int Fail(int status, const std::string& message) {
  std::fprintf(stderr, "zizider: %s\n", message.c_str());
  return status;
}

// Hands what has arrived to the library in strings of at most `chunk` bytes,
// as a terminal passes on what it received without waiting for more.
void FeedStrings(CHostWindow& host, std::string& pending, size_t chunk) {
  size_t offset = 0;
  std::string piece;
  while (!g_interrupted && offset < pending.size()) {
    const size_t size = std::min(chunk, pending.size() - offset);
    piece.assign(pending, offset, size);
    host.Feed(piece.c_str());
    offset += size;
  }
  pending.clear();
}

CIndexedPicture PictureOf(soft::inspect::IndexImage&& image) {
  CIndexedPicture picture;
  picture.width = image.width;
  picture.height = image.height;
  picture.indices = std::move(image.indices);
  picture.palette = soft::inspect::SystemPalette();
  return picture;
}

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

// Clears the handler's pointer before the records it points into go away.
struct CAbortFlagsGuard {
  explicit CAbortFlagsGuard(uint32_t* flags) { g_abortFlags.store(flags); }
  ~CAbortFlagsGuard() { g_abortFlags.store(nullptr); }
};

int Render(const CRenderOptions& options) {
  // First, so that a break at any point of the run ends it cleanly.
  InstallInterruptHandler();
  std::string error;
  CInputReader reader(options.inputs);
  if (!reader.CheckAll(&error)) return Fail(1, error);
  reader.shouldStop = [] { return g_interrupted != 0; };

  const std::string firstInput = options.inputs.empty() ? std::string("-") : options.inputs.front();
  CAtomicOutput output(options.output.empty() ? DefaultOutputName(firstInput) : options.output);
  if (!output.Open(&error)) return Fail(1, error);

  soft::inspect::UseVirtualClock(!options.realTime);
  if (!options.realTime) soft::inspect::SetAdvancePerEmptyPoll(kVirtualStepMs);

  CHostWindow::Geometry geometry;
  geometry.columns = options.columns;
  geometry.rows = options.rows;
  geometry.cellWidth = options.cellWidth;
  geometry.cellHeight = options.cellHeight;
  CHostWindow host(geometry);
  if (!host.Open(options.foreground, options.background, &error)) return Fail(1, error);
  CAbortFlagsGuard abortGuard(host.settingsFlags());

  CDcsStripper stripper(StripperMode(options.input));
  CProgressMeter progress(reader.TotalSize(), stderr);
  std::vector<char> buffer(kReadSize);
  std::string pending;
  long long done = 0;
  for (bool ended = false; !ended && !g_interrupted;) {
    size_t got = 0;
    switch (reader.Read(buffer.data(), buffer.size(), &got, &error)) {
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
        return Fail(1, error);
    }
    FeedStrings(host, pending, options.chunk);
    progress.Update(done);
  }
  progress.Finish();
  if (g_interrupted) return Fail(1, "interrupted");

  soft::inspect::IndexImage image;
  if (options.window) {
    host.Repaint();
    image = host.ReadWindow();
  } else {
    const int page =
        options.page == PageChoice::Output ? KXREG_GetCurPageNum(host.host()) : ScreenPageNumber(host.host());
    image = host.ReadPage(page);
  }
  if (image.width <= 0 || image.height <= 0 || image.bpp != 8)
    return Fail(
        1, "cannot read the picture from the display (" + std::to_string(image.bpp) + " bits per pixel)");

  if (!WriteIndexedPng(output.file(), PictureOf(std::move(image)), &error))
    return Fail(1, "cannot write '" + output.path() + "': " + error);
  if (g_interrupted) return Fail(1, "interrupted");
  if (!output.Commit(&error)) return Fail(1, error);

  if (options.state) {
    const std::string json = StateJson(host.host());
    std::fprintf(stdout, "%s\n", json.c_str());
    if (std::fflush(stdout) != 0) return Fail(1, "cannot write the state to standard output");
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  const CCommandLine commandLine = ParseCommandLine(argc, argv);
  if (!commandLine.ok) return Fail(2, commandLine.error);
  if (commandLine.options.help) {
    std::fputs(UsageText().c_str(), stdout);
    return 0;
  }
  if (commandLine.options.version) {
    std::printf("zizider %s\n", ZIZIDER_VERSION);
    return 0;
  }
  return Render(commandLine.options);
}
