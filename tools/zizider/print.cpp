// zizider print: ReGIS rendered as for render, then printed through
// KXREG_Print onto a 32-bit device context of a sheet of paper.
#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>

#include "platform/win32.h"
#include "tools/zizider/atomic_output.h"
#include "tools/zizider/page_export.h"
#include "tools/zizider/png_writer.h"
#include "tools/zizider/print_options.h"
#include "tools/zizider/subcommands.h"
#include "zizider/zizider.h"

namespace {

int Fail(int status, const std::string& message) {
  std::fprintf(stderr, "zizider: %s\n", message.c_str());
  return status;
}

// A printer's device context as far as printing needs one: a memory DC with
// a 32-bit bitmap of the printable area, white.
class CPaperDC {
 public:
  CPaperDC(int width, int height) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    bitmap_ = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits_, nullptr, 0);
    dc_ = CreateCompatibleDC(nullptr);
    if (!bitmap_ || !dc_) return;
    previous_ = SelectObject(dc_, bitmap_);
    PatBlt(dc_, 0, 0, width, height, WHITENESS);
    // Shrinking keeps whole colours instead of combining palette indices.
    SetStretchBltMode(dc_, COLORONCOLOR);
  }
  ~CPaperDC() {
    if (dc_ && previous_) SelectObject(dc_, previous_);
    if (dc_) DeleteDC(dc_);
    if (bitmap_) DeleteObject(bitmap_);
  }
  CPaperDC(const CPaperDC&) = delete;
  CPaperDC& operator=(const CPaperDC&) = delete;

  bool ok() const { return dc_ && bitmap_ && bits_; }
  HDC dc() const { return dc_; }
  // Blue, green, red and an unused byte per pixel, top row first.
  const uint8_t* bits() const { return static_cast<const uint8_t*>(bits_); }

 private:
  HBITMAP bitmap_ = nullptr;
  void* bits_ = nullptr;
  HDC dc_ = nullptr;
  HGDIOBJ previous_ = nullptr;
};

// The whole sheet: white, with the printed area at its margins.
CRgbPicture Sheet(const CPrintArea& area, const CPaperDC& paper) {
  CRgbPicture sheet;
  sheet.width = area.sheetWidth;
  sheet.height = area.sheetHeight;
  sheet.rgb.assign(static_cast<size_t>(sheet.width) * sheet.height * 3, 0xFF);
  if (!paper.ok()) return sheet;
  for (int y = 0; y < area.height; ++y) {
    const uint8_t* in = paper.bits() + static_cast<size_t>(y) * area.width * 4;
    uint8_t* out = &sheet.rgb[(static_cast<size_t>(area.top + y) * sheet.width + area.left) * 3];
    for (int x = 0; x < area.width; ++x, in += 4, out += 3) {
      out[0] = in[2];
      out[1] = in[1];
      out[2] = in[0];
    }
  }
  return sheet;
}

}  // namespace

int RunPrint(int argc, char** argv) {
  const CPrintCommandLine commandLine = ParsePrintCommandLine(argc, argv);
  if (!commandLine.ok) return Fail(2, commandLine.error);
  const CPrintOptions& options = commandLine.options;
  const CRenderOptions& render = options.render;
  if (render.help) {
    std::fputs(PrintUsageText().c_str(), stdout);
    return 0;
  }

  const std::string firstInput = render.inputs.empty() ? std::string("-") : render.inputs.front();
  CAtomicOutput output(render.output.empty() ? DefaultOutputName(firstInput) : render.output);
  std::string error;
  if (!output.Open(&error)) return Fail(1, error);

  InstallInterruptHandler();
  std::unique_ptr<CHostWindow> host = OpenHost(render, &error);
  if (!host) return Fail(1, error);
  CAbortFlagsGuard abortGuard(*host, render);
  if (!LoadInputs(render, *host, &error)) return Fail(1, error);

  const CPrintArea area = PrintAreaOf(options);
  CPaperDC paper(area.width, area.height);
  if (area.width > 0 && area.height > 0) {
    if (!paper.ok()) return Fail(1, "cannot make a device context for the paper");
    // Every row and column of the host screen, as a terminal prints its page.
    KXREG_Print(host->host(), paper.dc(), area.width, area.height, 1, render.rows, 1, render.columns);
  }
  if (!WriteRgbPng(output.file(), Sheet(area, paper), &error))
    return Fail(1, "cannot write '" + output.path() + "': " + error);
  if (!output.Commit(&error)) return Fail(1, error);
  return 0;
}
