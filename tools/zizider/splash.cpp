// zizider splash: the library's splash window, shown as it is at load and
// written out as a PNG.
#include "host/splash.h"

#include <cstdio>
#include <string>

#include "platform/soft/inspect.h"
#include "tools/zizider/atomic_output.h"
#include "tools/zizider/png_writer.h"
#include "tools/zizider/subcommands.h"
#include "zizider/zizider.h"

namespace {

int Fail(int status, const std::string& message) {
  std::fprintf(stderr, "zizider: %s\n", message.c_str());
  return status;
}

constexpr char kUsage[] = R"(usage: zizider splash [-o FILE]

Shows the splash window as the library does when it is loaded and writes
what the window shows as an 8-bit indexed PNG (default splash.png).
)";

}  // namespace

int RunSplash(int argc, char** argv) {
  std::string path = "splash.png";
  for (int i = 2; i < argc; ++i) {
    const std::string word = argv[i];
    if (word == "--help" || word == "-h") {
      std::fputs(kUsage, stdout);
      return 0;
    }
    if ((word == "-o" || word == "--output") && i + 1 < argc) {
      path = argv[++i];
    } else if (word.compare(0, 9, "--output=") == 0 && word.size() > 9) {
      path = word.substr(9);
    } else if (word.compare(0, 2, "-o") == 0 && word.size() > 2) {
      path = word.substr(2);
    } else {
      return Fail(2, "splash takes only -o FILE, not '" + word + "'");
    }
  }
  CAtomicOutput output(path);
  std::string error;
  if (!output.Open(&error)) return Fail(1, error);

  CreateSplash();
  const soft::inspect::Image image = soft::inspect::ReadWindow(SplashWindow());
  KXREG_DeleteSplash();
  if (image.width <= 0 || image.height <= 0 || image.bpp != 8)
    return Fail(1, "the splash window did not appear");

  CIndexedPicture picture;
  picture.width = image.width;
  picture.height = image.height;
  for (uint32_t index : image.pixels) picture.indices.push_back(static_cast<uint8_t>(index));
  picture.palette = soft::inspect::SystemPalette();
  if (!WriteIndexedPng(output.file(), picture, &error))
    return Fail(1, "cannot write '" + path + "': " + error);
  if (!output.Commit(&error)) return Fail(1, error);
  return 0;
}
