#include "tools/zizider/page_export.h"

#include <signal.h>
#ifndef _WIN32
#include <sys/mman.h>
#include <unistd.h>
#endif

#include <algorithm>
#include <atomic>
#include <csignal>
#include <utility>
#include <vector>

#include "tools/zizider/dcs_stripper.h"
#include "tools/zizider/input_reader.h"
#include "tools/zizider/progress_meter.h"
#include "tools/zizider/state_json.h"
#ifndef _WIN32
#include "interp/journal.h"
#endif

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
#ifndef _WIN32
  CInterruptRelay::Notify();
#endif
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

#ifndef _WIN32
// A picture made in one run keeps its journal in memory: a file on disk cost
// the file system an inode made and freed with every journal, and the
// journal is opened again at every erase.
FILE* OpenMemoryJournal() {
  const int fd = memfd_create("zizider-journal", MFD_CLOEXEC);
  if (fd < 0) return std::tmpfile();
  FILE* file = fdopen(fd, "w+");
  if (file) return file;
  close(fd);
  return std::tmpfile();
}
#endif

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
#ifdef _WIN32
  signal(SIGINT, OnInterrupt);
  signal(SIGTERM, OnInterrupt);
#else
  struct sigaction action {};
  action.sa_handler = OnInterrupt;
  sigemptyset(&action.sa_mask);
  action.sa_flags = 0;
  sigaction(SIGINT, &action, nullptr);
  sigaction(SIGTERM, &action, nullptr);
#endif
}

bool Interrupted() {
  return g_interrupted != 0;
}

CAbortFlagsGuard::CAbortFlagsGuard(CHostWindow& host, const CRenderOptions& options) {
#ifndef _WIN32
  if (options.realTime) relay_ = std::make_unique<CInterruptRelay>(host.window());
#else
  static_cast<void>(options);
#endif
  g_abortFlags.store(host.settingsFlags());
}
CAbortFlagsGuard::~CAbortFlagsGuard() {
  g_abortFlags.store(nullptr);
}

std::unique_ptr<CHostWindow> OpenHost(const CRenderOptions& options, std::string* error) {
#ifdef _WIN32
  // The system's display and clock are what they are: delays take their time.
  HDC screen = GetDC(nullptr);
  const bool palette = (GetDeviceCaps(screen, RASTERCAPS) & RC_PALETTE) != 0;
  ReleaseDC(nullptr, screen);
  if (options.display == DisplayKind::Palette && !palette) {
    *error = "this display has no palette: use --display truecolor";
    return nullptr;
  }
#else
  soft::inspect::UseTrueColourDisplay(options.display == DisplayKind::TrueColour);
  // A session of `run` may last for days: its journal stays on disk.
  if (options.command != "run") SetTempFileOpener(&OpenMemoryJournal);
  soft::inspect::UseVirtualClock(!options.realTime);
  if (!options.realTime) soft::inspect::SetAdvancePerEmptyPoll(kVirtualStepMs);
#endif
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
  // Not cleared: only what read() fills is looked at, and a small input then
  // touches one page of it.
  const std::unique_ptr<char[]> buffer(new char[kReadSize]);
  std::string pending;
  long long done = 0;
  for (bool ended = false; !ended && !g_interrupted;) {
    size_t got = 0;
    switch (reader.Read(buffer.get(), kReadSize, &got, error)) {
      case CInputReader::Result::Data:
        stripper.Feed(buffer.get(), got, pending);
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

#ifndef _WIN32
CIndexedPicture PictureOf(soft::inspect::IndexImage&& image) {
  CIndexedPicture picture;
  picture.width = image.width;
  picture.height = image.height;
  picture.indices = std::move(image.indices);
  picture.palette = soft::inspect::SystemPalette();
  return picture;
}
#endif

#ifdef _WIN32
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
  const auto* table = reinterpret_cast<const RGBQUAD*>(info.data() + sizeof(BITMAPINFOHEADER));
  picture->palette.resize(256);
  for (int i = 0; i < 256; ++i)
    picture->palette[i] = PALETTEENTRY{table[i].rgbRed, table[i].rgbGreen, table[i].rgbBlue, 0};
  return true;
}
#endif

// A true-colour page as RGB, through GetDIBits as a terminal would read it.
bool ReadPageRgb(HDC dc, CRgbPicture* picture) {
  HBITMAP bitmap = static_cast<HBITMAP>(GetCurrentObject(dc, OBJ_BITMAP));
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  if (!bitmap || !GetDIBits(dc, bitmap, 0, 0, nullptr, &info, DIB_RGB_COLORS)) return false;
  const int width = info.bmiHeader.biWidth;
  const int height = info.bmiHeader.biHeight < 0 ? -info.bmiHeader.biHeight : info.bmiHeader.biHeight;
  if (width <= 0 || height <= 0) return false;
  info.bmiHeader.biHeight = -height;  // top row first
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  std::vector<uint8_t> bits(static_cast<size_t>(width) * static_cast<size_t>(height) * 4);
  if (GetDIBits(dc, bitmap, 0, static_cast<UINT>(height), bits.data(), &info, DIB_RGB_COLORS) != height)
    return false;
  picture->width = width;
  picture->height = height;
  picture->rgb.resize(static_cast<size_t>(width) * static_cast<size_t>(height) * 3);
  for (size_t i = 0, n = static_cast<size_t>(width) * static_cast<size_t>(height); i < n; ++i) {
    picture->rgb[i * 3] = bits[i * 4 + 2];  // DIB pixels are blue, green, red
    picture->rgb[i * 3 + 1] = bits[i * 4 + 1];
    picture->rgb[i * 3 + 2] = bits[i * 4];
  }
  return true;
}

int ChosenPage(const CRenderOptions& options, CHostWindow& host) {
#ifdef _WIN32
  // The exports name the output page only; the screen page is the library's own.
  static_cast<void>(options);
  return KXREG_GetCurPageNum(host.host());
#else
  return options.page == PageChoice::Output ? KXREG_GetCurPageNum(host.host())
                                            : ScreenPageNumber(host.host());
#endif
}

bool ExportRgbPicture(const CRenderOptions& options, CHostWindow& host, CRgbPicture* picture,
                      std::string* error) {
  if (options.window) {
    *error = "--window writes the palette display's window only";
    return false;
  }
  if (ReadPageRgb(KXREG_GetMemDC(host.host(), ChosenPage(options, host)), picture)) return true;
  *error = "cannot read the page";
  return false;
}

bool ExportPicture(const CRenderOptions& options, CHostWindow& host, CIndexedPicture* picture,
                   std::string* error) {
#ifdef _WIN32
  if (options.window || !ReadPageIndices(KXREG_GetMemDC(host.host(), ChosenPage(options, host)), picture)) {
    *error = "cannot read the page";
    return false;
  }
  return true;
#else
  soft::inspect::IndexImage image;
  if (options.window) {
    host.Repaint();
    image = host.ReadWindow();
  } else {
    image = host.ReadPage(ChosenPage(options, host));
  }
  if (image.width <= 0 || image.height <= 0 || image.bpp != 8) {
    *error = "cannot read the picture from the display (" + std::to_string(image.bpp) + " bits per pixel)";
    return false;
  }
  *picture = PictureOf(std::move(image));
  return true;
#endif
}

#ifndef _WIN32
bool ExportRows(const CRenderOptions& options, CHostWindow& host, CIndexedPicture* picture,
                CIndexedRows* rows, std::string* error) {
  if (options.window) {
    if (!ExportPicture(options, host, picture, error)) return false;
    *rows = CIndexedRows{picture->width, picture->height, picture->indices.data(), picture->width};
    return true;
  }
  const soft::inspect::IndexView view =
      soft::inspect::ViewIndicesOfDC(KXREG_GetMemDC(host.host(), ChosenPage(options, host)));
  if (view.width <= 0 || view.height <= 0 || view.bpp != 8 || !view.first) {
    *error = "cannot read the picture from the display (" + std::to_string(view.bpp) + " bits per pixel)";
    return false;
  }
  picture->palette = soft::inspect::SystemPalette();
  *rows = CIndexedRows{view.width, view.height, view.first, view.step};
  return true;
}
#endif
