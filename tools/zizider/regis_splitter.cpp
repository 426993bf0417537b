#include "tools/zizider/regis_splitter.h"

#include <cstring>

namespace {

constexpr char kEsc = 0x1B;
constexpr char kCan = 0x18;
constexpr char kSub = 0x1A;

}  // namespace

void CReGisSplitter::Feed(const char* data, size_t size, Sink& sink) {
  for (size_t i = 0; i < size;) i = Step(data, i, size, sink);
}

void CReGisSplitter::Finish(Sink& sink) {
  if (inString()) sink.StringEnd();
  PassHeld(sink);
  state_ = State::Ground;
}

void CReGisSplitter::PassHeld(Sink& sink) {
  if (!held_.empty()) sink.Text(held_.data(), held_.size());
  held_.clear();
}

size_t CReGisSplitter::Step(const char* data, size_t i, size_t size, Sink& sink) {
  switch (state_) {
    case State::Ground: {
      // Text runs to the next ESC in one piece: this is the path that
      // carries nearly all of a program's output.
      const void* esc = std::memchr(data + i, kEsc, size - i);
      const size_t end = esc ? static_cast<size_t>(static_cast<const char*>(esc) - data) : size;
      if (end > i) sink.Text(data + i, end - i);
      if (!esc) return size;
      held_.assign(1, kEsc);
      state_ = State::Escape;
      return end + 1;
    }
    case State::Escape:
      if (data[i] == 'P') {
        held_.push_back('P');
        intermediates_ = false;
        state_ = State::DcsEntry;
        return i + 1;
      }
      // Any other sequence is text; the byte is looked at afresh (ESC ESC).
      PassHeld(sink);
      state_ = State::Ground;
      return i;
    case State::DcsEntry: {
      const char c = data[i];
      if (c >= 0x30 && c <= 0x3F && !intermediates_ && held_.size() < kMaxIntroducer) {
        held_.push_back(c);
        return i + 1;
      }
      if (c >= 0x20 && c <= 0x2F && held_.size() < kMaxIntroducer) {
        intermediates_ = true;
        held_.push_back(c);
        return i + 1;
      }
      if (c == 'p' && !intermediates_) {
        held_.clear();
        state_ = State::ReGisData;
        return i + 1;
      }
      // Another device's string (sixel, a status request...): the terminal
      // gets it whole.
      PassHeld(sink);
      state_ = State::Ground;
      return i;
    }
    case State::ReGisData: {
      size_t end = i;
      while (end < size && data[end] != kEsc && data[end] != kCan && data[end] != kSub && data[end] != '\0')
        ++end;
      if (end > i) sink.ReGis(data + i, end - i);
      if (end == size) return size;
      if (data[end] == kEsc) {
        state_ = State::ReGisEscape;
      } else if (data[end] != '\0') {
        // CAN and SUB cancel the string.
        sink.StringEnd();
        state_ = State::Ground;
      }
      return end + 1;
    }
    case State::ReGisEscape:
      sink.StringEnd();
      if (data[i] == '\\') {
        state_ = State::Ground;
        return i + 1;
      }
      // ESC without '\' ends the string and starts whatever follows.
      held_.assign(1, kEsc);
      state_ = State::Escape;
      return i;
  }
  return size;
}
