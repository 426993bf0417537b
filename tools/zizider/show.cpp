#include "tools/zizider/show.h"

#include <poll.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <memory>
#include <string>

#include "tools/zizider/page_export.h"
#include "tools/zizider/sixel_encoder.h"
#include "tools/zizider/terminal_geometry.h"

namespace {

int Fail(const std::string& message) {
  std::fprintf(stderr, "zizider: %s\n", message.c_str());
  return 1;
}

// Whole or with an error: a short or interrupted write is carried on, so a
// break never leaves the terminal inside a sixel string.
bool WriteAll(int fd, const std::string& bytes) {
  size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t n = write(fd, bytes.data() + done, bytes.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0 && errno == EAGAIN) {
      // Standard output shared with a program that made it non-blocking.
      pollfd out{fd, POLLOUT, 0};
      poll(&out, 1, -1);
      continue;
    }
    if (n <= 0) return false;
    done += static_cast<size_t>(n);
  }
  return true;
}

}  // namespace

int Show(const CRenderOptions& given) {
  InstallInterruptHandler();
  CRenderOptions options = given;
  ApplyTerminalGeometry(options);

  std::string error;
  std::unique_ptr<CHostWindow> host = OpenHost(options, &error);
  if (!host) return Fail(error);
  CAbortFlagsGuard abortGuard(*host, options);
  if (!LoadInputs(options, *host, &error)) return Fail(error);

  CIndexedPicture picture;
  if (!ExportPicture(options, *host, &picture, &error)) return Fail(error);
  std::string sixel;
  CSixelEncoder encoder;
  if (!encoder.Encode(picture, sixel, &error)) return Fail(error);
  if (Interrupted()) return Fail("interrupted");
  sixel.push_back('\n');
  if (!WriteAll(STDOUT_FILENO, sixel)) return Fail("cannot write the picture to standard output");
  return 0;
}
