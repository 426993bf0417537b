// A one-line indicator of how much of a large input has been fed, redrawn
// in place on standard error at most ten times a second.
#pragma once

#include <chrono>
#include <cstdio>

class CProgressMeter {
 public:
  // Below this, a run is over before an indicator would help.
  static constexpr long long kThreshold = 1024 * 1024;

  // Shown only when total is known and above the threshold and the stream
  // is a terminal.
  CProgressMeter(long long total, FILE* stream);
  ~CProgressMeter();

  void Update(long long done);
  // Erases the line.
  void Finish();

  bool enabled() const { return enabled_; }

 private:
  long long total_;
  FILE* stream_;
  bool enabled_;
  bool shown_ = false;
  std::chrono::steady_clock::time_point last_{};
};
