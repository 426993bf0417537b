// Puts a terminal into raw mode and gives it back as it was when the object
// goes, whichever way the program leaves.
#pragma once

#include <termios.h>

class CRawMode {
 public:
  CRawMode() = default;
  ~CRawMode() { Restore(); }
  CRawMode(const CRawMode&) = delete;
  CRawMode& operator=(const CRawMode&) = delete;

  // False, changing nothing, when fd is no terminal.
  bool Enter(int fd);
  void Restore();
  bool active() const { return active_; }

 private:
  int fd_ = -1;
  termios saved_{};
  bool active_ = false;
};
