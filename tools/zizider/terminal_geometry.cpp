#include "tools/zizider/terminal_geometry.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <chrono>

#include "tools/zizider/raw_mode.h"

namespace {

constexpr int kQueryTimeoutMs = 300;
constexpr size_t kMaxAnswer = 4096;

// Grid, cell size, text area in pixels, then the primary device attributes, which
// every terminal answers: its answer means no more is coming.
constexpr char kQueries[] = "\x1b[18t\x1b[16t\x1b[14t\x1b[c";

bool AnswerComplete(const std::string& answers) {
  // CSI ? ... c
  const size_t at = answers.find("\x1b[?");
  return at != std::string::npos && answers.find('c', at) != std::string::npos;
}

}  // namespace

void ParseSizeAnswers(const std::string& answers, CTerminalGeometry* geometry) {
  for (size_t at = answers.find("\x1b["); at != std::string::npos; at = answers.find("\x1b[", at + 1)) {
    long values[3] = {0, 0, 0};
    int count = 0;
    size_t i = at + 2;
    bool digits = false;
    for (; i < answers.size() && count < 3; ++i) {
      const char c = answers[i];
      if (c >= '0' && c <= '9') {
        if (values[count] < 100000) values[count] = values[count] * 10 + (c - '0');
        digits = true;
      } else if (c == ';' && digits) {
        ++count;
        digits = false;
      } else {
        break;
      }
    }
    if (count != 2 || !digits || i >= answers.size() || answers[i] != 't') continue;
    const int a = static_cast<int>(values[1]), b = static_cast<int>(values[2]);
    if (a <= 0 || b <= 0) continue;
    switch (values[0]) {
      case 6:
        geometry->cellHeight = a;
        geometry->cellWidth = b;
        break;
      case 4:
        // Only good for a cell when the grid is known and no cell came.
        if (geometry->cellWidth == 0 && geometry->columns > 0 && geometry->rows > 0) {
          geometry->cellWidth = b / geometry->columns;
          geometry->cellHeight = a / geometry->rows;
        }
        break;
      case 8:
        geometry->rows = a;
        geometry->columns = b;
        break;
      default:
        break;
    }
  }
}

bool AskTerminalGeometry(int ttyFd, int timeoutMs, CTerminalGeometry* geometry) {
  winsize size{};
  if (ioctl(ttyFd, TIOCGWINSZ, &size) == 0 && size.ws_col > 0 && size.ws_row > 0) {
    geometry->columns = size.ws_col;
    geometry->rows = size.ws_row;
    if (size.ws_xpixel >= size.ws_col && size.ws_ypixel >= size.ws_row) {
      geometry->cellWidth = size.ws_xpixel / size.ws_col;
      geometry->cellHeight = size.ws_ypixel / size.ws_row;
      return true;
    }
  }

  CRawMode raw;
  if (!raw.Enter(ttyFd)) return geometry->columns > 0;
  if (write(ttyFd, kQueries, sizeof kQueries - 1) != static_cast<ssize_t>(sizeof kQueries - 1))
    return geometry->columns > 0;
  std::string answers;
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
  while (answers.size() < kMaxAnswer && !AnswerComplete(answers)) {
    const auto left =
        std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
    if (left.count() <= 0) break;
    pollfd in{ttyFd, POLLIN, 0};
    if (poll(&in, 1, static_cast<int>(left.count())) <= 0) break;
    char buffer[256];
    const ssize_t got = read(ttyFd, buffer, sizeof buffer);
    if (got <= 0) break;
    answers.append(buffer, static_cast<size_t>(got));
  }
  raw.Restore();
  ParseSizeAnswers(answers, geometry);
  return geometry->columns > 0;
}

void ApplyTerminalGeometry(CRenderOptions& options) {
  if (options.gridGiven && options.cellGiven) return;
  if (!isatty(STDOUT_FILENO)) return;
  // Answers come on the terminal's input side, which /dev/tty reaches even
  // when standard input is redirected.
  int tty = open("/dev/tty", O_RDWR | O_NOCTTY | O_CLOEXEC);
  const bool own = tty >= 0;
  if (!own) tty = STDOUT_FILENO;
  CTerminalGeometry geometry;
  const bool found = AskTerminalGeometry(tty, kQueryTimeoutMs, &geometry);
  if (own) close(tty);
  if (!found) return;

  CRenderOptions asked = options;
  if (!options.gridGiven) {
    asked.columns = geometry.columns;
    asked.rows = geometry.rows;
  }
  if (!options.cellGiven && geometry.cellWidth > 0 && geometry.cellHeight > 0) {
    asked.cellWidth = geometry.cellWidth;
    asked.cellHeight = geometry.cellHeight;
  }
  const long long width = static_cast<long long>(asked.columns) * asked.cellWidth;
  const long long height = static_cast<long long>(asked.rows) * asked.cellHeight;
  if (width > kMaxPageSide || height > kMaxPageSide || width * height > kMaxPagePixels) return;
  options = asked;
}
