#include "tools/zizider/progress_meter.h"

#include <unistd.h>

CProgressMeter::CProgressMeter(long long total, FILE* stream)
    : total_(total), stream_(stream), enabled_(total > kThreshold && isatty(fileno(stream))) {}

CProgressMeter::~CProgressMeter() {
  Finish();
}

void CProgressMeter::Update(long long done) {
  if (!enabled_) return;
  const auto now = std::chrono::steady_clock::now();
  if (shown_ && now - last_ < std::chrono::milliseconds(100)) return;
  last_ = now;
  shown_ = true;
  const long long percent = total_ > 0 ? done * 100 / total_ : 0;
  std::fprintf(stream_, "\rzizider: %.1f of %.1f MiB fed (%lld%%) ", static_cast<double>(done) / 1048576.0,
               static_cast<double>(total_) / 1048576.0, percent);
  std::fflush(stream_);
}

void CProgressMeter::Finish() {
  if (!shown_) return;
  shown_ = false;
  std::fprintf(stream_, "\r\033[K");
  std::fflush(stream_);
}
