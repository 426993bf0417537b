#include "tools/zizider/raw_mode.h"

#include <unistd.h>

bool CRawMode::Enter(int fd) {
  if (active_) Restore();
  if (!isatty(fd) || tcgetattr(fd, &saved_) != 0) return false;
  termios mode = saved_;
  cfmakeraw(&mode);
  if (tcsetattr(fd, TCSANOW, &mode) != 0) return false;
  fd_ = fd;
  active_ = true;
  return true;
}

void CRawMode::Restore() {
  if (!active_) return;
  // TCSADRAIN: what was written in raw mode reaches the screen first.
  tcsetattr(fd_, TCSADRAIN, &saved_);
  active_ = false;
}
