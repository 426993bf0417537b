#include "tools/zizider/run.h"

#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <signal.h>
#include <sys/ioctl.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "platform/soft/inspect.h"
#include "tools/zizider/page_export.h"
#include "tools/zizider/raw_mode.h"
#include "tools/zizider/regis_splitter.h"
#include "tools/zizider/sixel_encoder.h"
#include "tools/zizider/terminal_geometry.h"

namespace {

using Clock = std::chrono::steady_clock;

constexpr auto kFrameInterval = std::chrono::milliseconds(100);
// After the command has gone, what it wrote last is still read while it
// keeps coming; a quiet grandchild holding the terminal open does not keep us.
constexpr int kDrainMs = 100;
constexpr size_t kReadSize = 64 * 1024;
constexpr size_t kBatchSize = 256 * 1024;
constexpr size_t kMaxToChild = 1024 * 1024;
// A terminal sends a carriage return after a report, as after any line the
// user types.
constexpr char kReportEnd = '\r';
constexpr int kForwarded[] = {SIGINT, SIGTERM, SIGHUP, SIGQUIT};

int g_signalPipe[2] = {-1, -1};

// Signals become bytes on a pipe, which the loop reads with everything else.
extern "C" void OnSignal(int number) {
  const int saved = errno;
  const char byte = static_cast<char>(number);
  if (write(g_signalPipe[1], &byte, 1) < 0) {
  }
  errno = saved;
}

int Fail(const std::string& message) {
  std::fprintf(stderr, "zizider: %s\n", message.c_str());
  return 1;
}

bool WriteAll(int fd, const char* data, size_t size) {
  while (size > 0) {
    const ssize_t n = write(fd, data, size);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0 && errno == EAGAIN) {
      // Standard output shared with a program that made it non-blocking.
      pollfd out{fd, POLLOUT, 0};
      poll(&out, 1, -1);
      continue;
    }
    if (n <= 0) return false;
    data += n;
    size -= static_cast<size_t>(n);
  }
  return true;
}

bool IsNumber(const std::string& text, size_t from, size_t to) {
  if (from < to && text[from] == '-') ++from;
  if (from >= to || to - from > 11) return false;
  for (size_t i = from; i < to; ++i)
    if (text[i] < '0' || text[i] > '9') return false;
  return true;
}

// The reports the library wrote for the host: "[x;y]" for a position,
// "\"code;char\"" for the last error, among its other diagnostics.
std::string ReportAnswers(const std::string& debugText) {
  std::string answers;
  for (size_t open = 0; open < debugText.size(); ++open) {
    const char c = debugText[open];
    if (c != '[' && c != '"') continue;
    const char close = c == '[' ? ']' : '"';
    const size_t end = debugText.find(close, open + 1);
    if (end == std::string::npos) break;
    const size_t semi = debugText.find(';', open + 1);
    if (semi < end && IsNumber(debugText, open + 1, semi) && IsNumber(debugText, semi + 1, end)) {
      answers.append(debugText, open, end - open + 1);
      answers.push_back(kReportEnd);
      open = end;
    }
  }
  return answers;
}

int ExitStatusOf(int status) {
  if (WIFEXITED(status)) return WEXITSTATUS(status);
  if (WIFSIGNALED(status)) return 128 + WTERMSIG(status);
  return 1;
}

class CRunSession : public CReGisSplitter::Sink {
 public:
  explicit CRunSession(const CRenderOptions& options) : options_(options) {}
  int Run();

  void Text(const char* data, size_t size) override { out_.append(data, size); }
  void ReGis(const char* data, size_t size) override { regis_.append(data, size); }
  void StringEnd() override {
    FeedReGis();
    ShowFrame();
  }

 private:
  bool Start(std::string* error);
  void OnSignalByte(int number);
  void Reap(int flags);
  void ReadCommand();
  void ReadKeyboard();
  void FeedReGis();
  void ToChild(const std::string& bytes);
  void ShowFrame();
  void Flush();
  void CopyWindowSize();
  int PollTimeout() const;

  CRenderOptions options_;
  std::unique_ptr<CHostWindow> host_;
  CSixelEncoder encoder_;
  CReGisSplitter splitter_;
  CRawMode raw_;
  bool terminalIn_ = false, terminalOut_ = false;
  int master_ = -1;
  pid_t child_ = -1;
  int status_ = 0;
  bool childDone_ = false, masterDone_ = false, keyboardOpen_ = true;
  std::string out_;      // for the real terminal, in order
  std::string regis_;    // received, not yet handed to the library
  std::string toChild_;  // keys and report answers not yet written
  bool drawn_ = false;   // the page changed since the last frame
  Clock::time_point lastFrame_{};
  std::vector<char> buffer_ = std::vector<char>(kReadSize);
};

bool CRunSession::Start(std::string* error) {
  terminalIn_ = isatty(STDIN_FILENO) != 0;
  terminalOut_ = isatty(STDOUT_FILENO) != 0;
  host_ = OpenHost(options_, error);
  if (!host_) return false;
  soft::inspect::ClearDebugOutput();

  winsize size{};
  if (!terminalIn_ || ioctl(STDIN_FILENO, TIOCGWINSZ, &size) != 0 || size.ws_col == 0) {
    size.ws_col = static_cast<unsigned short>(options_.columns);
    size.ws_row = static_cast<unsigned short>(options_.rows);
    size.ws_xpixel = static_cast<unsigned short>(options_.columns * options_.cellWidth);
    size.ws_ypixel = static_cast<unsigned short>(options_.rows * options_.cellHeight);
  }
  // The command's terminal starts in the modes of ours.
  termios modes{};
  const bool haveModes = terminalIn_ && tcgetattr(STDIN_FILENO, &modes) == 0;

  std::vector<char*> argv;
  for (const std::string& word : options_.inputs) argv.push_back(const_cast<char*>(word.c_str()));
  argv.push_back(nullptr);
  std::fflush(nullptr);
  child_ = forkpty(&master_, nullptr, haveModes ? &modes : nullptr, &size);
  if (child_ < 0) {
    *error = std::string("cannot open a pseudo-terminal: ") + std::strerror(errno);
    return false;
  }
  if (child_ == 0) {
    for (int number : kForwarded) signal(number, SIG_DFL);
    signal(SIGCHLD, SIG_DFL);
    signal(SIGWINCH, SIG_DFL);
    signal(SIGPIPE, SIG_DFL);
    execvp(argv[0], argv.data());
    std::fprintf(stderr, "zizider: cannot run '%s': %s\r\n", argv[0], std::strerror(errno));
    _exit(127);
  }
  fcntl(master_, F_SETFL, fcntl(master_, F_GETFL) | O_NONBLOCK);
  fcntl(master_, F_SETFD, FD_CLOEXEC);
  if (terminalIn_) raw_.Enter(STDIN_FILENO);
  return true;
}

// The command's terminal takes the new size; the page follows the grid the
// user did not fix, as a graphics terminal's would, and is shown again.
void CRunSession::CopyWindowSize() {
  winsize size{};
  if (!terminalIn_ || ioctl(STDIN_FILENO, TIOCGWINSZ, &size) != 0 || size.ws_col == 0 || size.ws_row == 0)
    return;
  ioctl(master_, TIOCSWINSZ, &size);
  CHostWindow::Geometry geometry = host_->geometry();
  if (!options_.gridGiven) {
    geometry.columns = size.ws_col;
    geometry.rows = size.ws_row;
  }
  if (!options_.cellGiven && size.ws_xpixel >= size.ws_col && size.ws_ypixel >= size.ws_row) {
    geometry.cellWidth = size.ws_xpixel / size.ws_col;
    geometry.cellHeight = size.ws_ypixel / size.ws_row;
  }
  const long long width = static_cast<long long>(geometry.columns) * geometry.cellWidth;
  const long long height = static_cast<long long>(geometry.rows) * geometry.cellHeight;
  if (width > kMaxPageSide || height > kMaxPageSide || width * height > kMaxPagePixels) return;
  const CHostWindow::Geometry& now = host_->geometry();
  if (geometry.columns == now.columns && geometry.rows == now.rows && geometry.cellWidth == now.cellWidth &&
      geometry.cellHeight == now.cellHeight)
    return;
  host_->Resize(geometry, options_.foreground, options_.background);
  // The redraw repeats the reports of the journal, which nobody asked for now.
  soft::inspect::ClearDebugOutput();
  options_.columns = geometry.columns;
  options_.rows = geometry.rows;
  options_.cellWidth = geometry.cellWidth;
  options_.cellHeight = geometry.cellHeight;
  drawn_ = true;
}

void CRunSession::OnSignalByte(int number) {
  if (number == SIGCHLD) {
    Reap(WNOHANG | WUNTRACED);
  } else if (number == SIGWINCH) {
    CopyWindowSize();
  } else if (!childDone_) {
    kill(child_, number);
  }
}

// A command stopped by Ctrl-Z stops us too, with the user's terminal as it
// was; when the shell continues us, the command goes on as well.
void CRunSession::Reap(int flags) {
  int status = 0;
  while (!childDone_) {
    const pid_t got = waitpid(child_, &status, flags);
    if (got != child_) return;
    if (WIFSTOPPED(status)) {
      if (!terminalIn_) continue;
      Flush();
      raw_.Restore();
      kill(getpid(), SIGSTOP);
      raw_.Enter(STDIN_FILENO);
      CopyWindowSize();
      kill(child_, SIGCONT);
      continue;
    }
    if (WIFEXITED(status) || WIFSIGNALED(status)) {
      status_ = ExitStatusOf(status);
      childDone_ = true;
    }
  }
}

// A command that never reads its input loses what goes beyond the bound,
// as keys do when a terminal's input buffer is full.
void CRunSession::ToChild(const std::string& bytes) {
  if (toChild_.size() + bytes.size() <= kMaxToChild) toChild_ += bytes;
}

void CRunSession::FeedReGis() {
  size_t offset = 0;
  std::string piece;
  while (offset < regis_.size()) {
    const size_t size = std::min(options_.chunk, regis_.size() - offset);
    piece.assign(regis_, offset, size);
    host_->Feed(piece.c_str());
    offset += size;
    drawn_ = true;
    const std::string diagnostics = soft::inspect::DebugOutput();
    if (!diagnostics.empty()) {
      ToChild(ReportAnswers(diagnostics));
      soft::inspect::ClearDebugOutput();
    }
  }
  regis_.clear();
}

// The page goes over the text area from its top left corner, the cursor
// staying where the text had it. On a terminal the last text row stays
// clear, so the image never makes the screen scroll.
void CRunSession::ShowFrame() {
  if (!drawn_) return;
  drawn_ = false;
  lastFrame_ = Clock::now();
  CIndexedPicture picture;
  std::string error;
  if (!ExportPicture(options_, *host_, &picture, &error)) return;
  if (terminalOut_ && options_.rows > 1) {
    const int height = std::min(picture.height, (options_.rows - 1) * options_.cellHeight);
    picture.indices.resize(static_cast<size_t>(picture.width) * static_cast<size_t>(height));
    picture.height = height;
  }
  std::string sixel;
  if (!encoder_.Encode(picture, sixel, &error)) return;
  out_ +=
      "\x1b"
      "7\x1b[H";
  out_ += sixel;
  out_ +=
      "\x1b"
      "8";
}

void CRunSession::Flush() {
  if (!out_.empty() && !WriteAll(STDOUT_FILENO, out_.data(), out_.size())) {
    // Nobody reads us any more: the command keeps running, its output goes.
  }
  out_.clear();
}

// Reads on while more is waiting, so a fast writer costs one poll and one
// write to the terminal per batch rather than per read.
void CRunSession::ReadCommand() {
  while (out_.size() < kBatchSize) {
    const ssize_t got = read(master_, buffer_.data(), buffer_.size());
    if (got < 0 && (errno == EAGAIN || errno == EINTR)) break;
    if (got <= 0) {
      // EIO: every holder of the terminal's other side has gone.
      masterDone_ = true;
      break;
    }
    splitter_.Feed(buffer_.data(), static_cast<size_t>(got), *this);
    FeedReGis();
    // A short read emptied the terminal: asking again would only fail.
    if (static_cast<size_t>(got) < buffer_.size()) break;
  }
  if (drawn_ && splitter_.inString() && Clock::now() - lastFrame_ >= kFrameInterval) ShowFrame();
  Flush();
}

void CRunSession::ReadKeyboard() {
  const ssize_t got = read(STDIN_FILENO, buffer_.data(), buffer_.size());
  if (got < 0 && errno == EINTR) return;
  if (got <= 0) {
    // A terminal never closes its input: the command sees no end of file.
    keyboardOpen_ = false;
    return;
  }
  const char* keys = buffer_.data();
  size_t size = static_cast<size_t>(got);
  // The command leads a session of its own, where the kernel drops the stop
  // that its suspend key sends; the key stops it here instead, and Reap
  // then stops us with it.
  termios modes{};
  if (terminalIn_ && tcgetpgrp(master_) == child_ && tcgetattr(master_, &modes) == 0 &&
      (modes.c_lflag & ISIG) && modes.c_cc[VSUSP] != _POSIX_VDISABLE) {
    const void* key = std::memchr(keys, modes.c_cc[VSUSP], size);
    if (key) {
      const size_t at = static_cast<size_t>(static_cast<const char*>(key) - keys);
      ToChild(std::string(keys, at));
      kill(child_, SIGSTOP);
      keys += at + 1;
      size -= at + 1;
    }
  }
  ToChild(std::string(keys, size));
}

int CRunSession::PollTimeout() const {
  if (childDone_) return kDrainMs;
  if (!drawn_) return -1;
  const auto left =
      std::chrono::duration_cast<std::chrono::milliseconds>(lastFrame_ + kFrameInterval - Clock::now());
  return left.count() < 0 ? 0 : static_cast<int>(left.count());
}

int CRunSession::Run() {
  std::string error;
  if (!Start(&error)) return Fail(error);
  while (!masterDone_) {
    pollfd fds[3] = {{g_signalPipe[0], POLLIN, 0},
                     {master_, static_cast<short>(POLLIN | (toChild_.empty() ? 0 : POLLOUT)), 0},
                     {keyboardOpen_ ? STDIN_FILENO : -1, POLLIN, 0}};
    const int ready = poll(fds, 3, PollTimeout());
    if (ready < 0 && errno != EINTR) break;
    if (ready == 0) {
      if (childDone_) break;  // gone, and quiet for a while
      ShowFrame();
      Flush();
      continue;
    }
    if (fds[0].revents & POLLIN) {
      char numbers[64];
      const ssize_t got = read(g_signalPipe[0], numbers, sizeof numbers);
      for (ssize_t i = 0; i < got; ++i) OnSignalByte(numbers[i]);
    }
    if (fds[1].revents & POLLOUT) {
      const ssize_t n = write(master_, toChild_.data(), toChild_.size());
      if (n > 0) toChild_.erase(0, static_cast<size_t>(n));
    }
    if (fds[1].revents & (POLLIN | POLLHUP | POLLERR)) ReadCommand();
    if (fds[2].revents & (POLLIN | POLLHUP | POLLERR)) ReadKeyboard();
  }
  // An unterminated string ends here and its page is still shown.
  splitter_.Finish(*this);
  Flush();
  close(master_);
  raw_.Restore();
  if (!childDone_) Reap(0);
  return status_;
}

void Handle(int number, void (*handler)(int)) {
  struct sigaction action {};
  action.sa_handler = handler;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;
  sigaction(number, &action, nullptr);
}

}  // namespace

int Run(const CRenderOptions& given) {
  CRenderOptions options = given;
  ApplyTerminalGeometry(options);
  if (pipe2(g_signalPipe, O_CLOEXEC | O_NONBLOCK) != 0) return Fail("cannot make a pipe for signals");
  for (int number : kForwarded) Handle(number, OnSignal);
  Handle(SIGCHLD, OnSignal);
  Handle(SIGWINCH, OnSignal);
  Handle(SIGPIPE, SIG_IGN);
  CRunSession session(options);
  return session.Run();
}
