// Carries a break from the signal handler into the window's message queue.
// The library looks at the host's abort request only when it takes a message
// from the queue, so a long wait on an empty queue would not see the break
// without one.
#pragma once

#include <thread>

#include "platform/win32.h"

class CInterruptRelay {
 public:
  explicit CInterruptRelay(HWND window);
  ~CInterruptRelay();
  CInterruptRelay(const CInterruptRelay&) = delete;
  CInterruptRelay& operator=(const CInterruptRelay&) = delete;

  // Safe to call from a signal handler: one write to a pipe.
  static void Notify();

 private:
  void Run();

  HWND window_;
  int pipe_[2] = {-1, -1};
  std::thread thread_;
};
