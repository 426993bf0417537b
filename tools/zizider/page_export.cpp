#include "tools/zizider/page_export.h"

#include <signal.h>

#include <algorithm>
#include <atomic>
#include <csignal>
#include <vector>

#include "tools/zizider/dcs_stripper.h"
#include "tools/zizider/input_reader.h"
#include "tools/zizider/progress_meter.h"
#include "tools/zizider/state_json.h"

namespace {

constexpr size_t kReadSize = 64 * 1024;
// Each poll of an empty queue moves the virtual clock a minute on, so even
// the longest S(T...) delay passes in a few thousand polls.
constexpr DWORD kVirtualStepMs = 60000;

volatile std::sig_atomic_t g_interrupted = 0;
std::atomic<uint32_t*> g_abortFlags{nullptr};
static_assert(std::atomic<uint32_t*>::is_always_lock_free, "the signal handler reads it");

// Asks the library to stop what it is doing, as a terminal does on a break.
extern "C" void OnInterrupt(int) {
  g_interrupted = 1;
  if (uint32_t* flags = g_abortFlags.load()) __atomic_fetch_or(flags, KXREG_SETTING_ABORT, __ATOMIC_SEQ_CST);
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

}  // namespace

// Without SA_RESTART, so that a read waiting on a pipe returns at once.
void InstallInterruptHandler() {
  struct sigaction action {};
  action.sa_handler = OnInterrupt;
  sigemptyset(&action.sa_mask);
  action.sa_flags = 0;
  sigaction(SIGINT, &action, nullptr);
  sigaction(SIGTERM, &action, nullptr);
}

bool Interrupted() {
  return g_interrupted != 0;
}

CAbortFlagsGuard::CAbortFlagsGuard(uint32_t* flags) {
  g_abortFlags.store(flags);
}
CAbortFlagsGuard::~CAbortFlagsGuard() {
  g_abortFlags.store(nullptr);
}

std::unique_ptr<CHostWindow> OpenHost(const CRenderOptions& options, std::string* error) {
  soft::inspect::UseVirtualClock(!options.realTime);
  if (!options.realTime) soft::inspect::SetAdvancePerEmptyPoll(kVirtualStepMs);
  CHostWindow::Geometry geometry;
  geometry.columns = options.columns;
  geometry.rows = options.rows;
  geometry.cellWidth = options.cellWidth;
  geometry.cellHeight = options.cellHeight;
  auto host = std::make_unique<CHostWindow>(geometry);
  if (!host->Open(options.foreground, options.background, error)) return nullptr;
  return host;
}

bool LoadInputs(const CRenderOptions& options, CHostWindow& host, std::string* error) {
  CInputReader reader(options.inputs);
  if (!reader.CheckAll(error)) return false;
  reader.shouldStop = [] { return g_interrupted != 0; };

  CDcsStripper stripper(StripperMode(options.input));
  CProgressMeter progress(reader.TotalSize(), stderr);
  std::vector<char> buffer(kReadSize);
  std::string pending;
  long long done = 0;
  for (bool ended = false; !ended && !g_interrupted;) {
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
    progress.Update(done);
  }
  progress.Finish();
  if (g_interrupted) {
    *error = "interrupted";
    return false;
  }
  return true;
}

CIndexedPicture PictureOf(const soft::inspect::Image& image) {
  CIndexedPicture picture;
  picture.width = image.width;
  picture.height = image.height;
  picture.indices.reserve(image.pixels.size());
  for (uint32_t index : image.pixels) picture.indices.push_back(static_cast<uint8_t>(index));
  picture.palette = soft::inspect::SystemPalette();
  return picture;
}

// The page's palette indices as a terminal reads a bitmap, with GetDIBits:
// a straight copy where inspecting the DC would also convert every pixel.
bool ReadPageIndices(HDC dc, CIndexedPicture* picture) {
  HBITMAP bitmap = static_cast<HBITMAP>(GetCurrentObject(dc, OBJ_BITMAP));
  std::vector<uint8_t> info(sizeof(BITMAPINFOHEADER) + 256 * sizeof(RGBQUAD));
  auto* header = reinterpret_cast<BITMAPINFOHEADER*>(info.data());
  header->biSize = sizeof(BITMAPINFOHEADER);
  if (!bitmap ||
      !GetDIBits(dc, bitmap, 0, 0, nullptr, reinterpret_cast<BITMAPINFO*>(info.data()), DIB_RGB_COLORS))
    return false;
  if (header->biBitCount != 8 || header->biWidth <= 0 || header->biHeight == 0) return false;
  const int width = header->biWidth;
  const int height = header->biHeight < 0 ? -header->biHeight : header->biHeight;
  header->biHeight = -height;  // top row first
  header->biCompression = BI_RGB;
  const size_t stride = (static_cast<size_t>(width) + 3) & ~size_t{3};
  std::vector<uint8_t> bits(stride * static_cast<size_t>(height));
  if (GetDIBits(dc, bitmap, 0, static_cast<UINT>(height), bits.data(),
                reinterpret_cast<BITMAPINFO*>(info.data()), DIB_RGB_COLORS) != height)
    return false;
  picture->width = width;
  picture->height = height;
  picture->indices.resize(static_cast<size_t>(width) * static_cast<size_t>(height));
  for (int y = 0; y < height; ++y)
    std::copy_n(bits.data() + stride * static_cast<size_t>(y), width,
                picture->indices.data() + static_cast<size_t>(width) * static_cast<size_t>(y));
  picture->palette = soft::inspect::SystemPalette();
  return true;
}

bool ExportPicture(const CRenderOptions& options, CHostWindow& host, CIndexedPicture* picture,
                   std::string* error) {
  soft::inspect::Image image;
  if (options.window) {
    host.Repaint();
    image = host.ReadWindow();
  } else {
    const int page =
        options.page == PageChoice::Output ? KXREG_GetCurPageNum(host.host()) : ScreenPageNumber(host.host());
    if (ReadPageIndices(KXREG_GetMemDC(host.host(), page), picture)) return true;
    image = host.ReadPage(page);
  }
  if (image.width <= 0 || image.height <= 0 || image.bpp != 8) {
    *error = "cannot read the picture from the display (" + std::to_string(image.bpp) + " bits per pixel)";
    return false;
  }
  *picture = PictureOf(image);
  return true;
}
