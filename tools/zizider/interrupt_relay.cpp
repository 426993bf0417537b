#include "tools/zizider/interrupt_relay.h"

#include <signal.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>

namespace {

constexpr char kBreak = 'b';
constexpr char kStop = 's';

// The write end for the signal handler; -1 while no relay runs.
std::atomic<int> g_writeEnd{-1};
static_assert(std::atomic<int>::is_always_lock_free, "the signal handler reads it");

}  // namespace

CInterruptRelay::CInterruptRelay(HWND window) : window_(window) {
  if (pipe(pipe_) != 0) {
    pipe_[0] = pipe_[1] = -1;
    return;
  }
  // The thread takes no signals: a break must still interrupt the main
  // thread's blocking read of the input.
  sigset_t all, previous;
  sigfillset(&all);
  pthread_sigmask(SIG_BLOCK, &all, &previous);
  thread_ = std::thread([this] { Run(); });
  pthread_sigmask(SIG_SETMASK, &previous, nullptr);
  g_writeEnd.store(pipe_[1]);
}

CInterruptRelay::~CInterruptRelay() {
  g_writeEnd.store(-1);
  if (thread_.joinable()) {
    ssize_t written;
    do written = write(pipe_[1], &kStop, 1);
    while (written < 0 && errno == EINTR);
    thread_.join();
  }
  for (int fd : pipe_)
    if (fd >= 0) close(fd);
}

void CInterruptRelay::Notify() {
  const int fd = g_writeEnd.load();
  if (fd < 0) return;
  const int saved = errno;
  const ssize_t written = write(fd, &kBreak, 1);
  (void)written;
  errno = saved;
}

void CInterruptRelay::Run() {
  for (;;) {
    char c = 0;
    const ssize_t got = read(pipe_[0], &c, 1);
    if (got < 0 && errno == EINTR) continue;
    if (got != 1 || c == kStop) return;
    // Any message will do: taking it from the queue is when the abort
    // request is looked at.
    PostMessageA(window_, WM_NULL, 0, 0);
  }
}
