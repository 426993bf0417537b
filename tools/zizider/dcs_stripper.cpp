#include "tools/zizider/dcs_stripper.h"

#include <cstring>

namespace {

constexpr uint8_t kBel = 0x07;
constexpr uint8_t kCan = 0x18;
constexpr uint8_t kSub = 0x1A;
constexpr uint8_t kEsc = 0x1B;
constexpr uint8_t kUtf8C1Lead = 0xC2;
constexpr uint8_t kDcs = 0x90;
constexpr uint8_t kSos = 0x98;
constexpr uint8_t kCsi = 0x9B;
constexpr uint8_t kSt = 0x9C;
constexpr uint8_t kOsc = 0x9D;
constexpr uint8_t kPm = 0x9E;
constexpr uint8_t kApc = 0x9F;

constexpr bool IsPlainData(uint8_t byte) {
  return byte != 0 && byte < 0x80 && byte != kEsc && byte != kCan && byte != kSub;
}

// IsPlainData of every byte, looked up in the loop that passes runs over.
struct CPlainBytes {
  bool plain[256];
  constexpr CPlainBytes() : plain() {
    for (int byte = 0; byte < 256; ++byte) plain[byte] = IsPlainData(static_cast<uint8_t>(byte));
  }
};
constexpr CPlainBytes kPlainBytes;

void AppendWithoutNul(const std::string& bytes, std::string& out) {
  for (char c : bytes)
    if (c != '\0') out.push_back(c);
}

}  // namespace

CDcsStripper::CDcsStripper(Mode mode) : mode_(mode) {}

void CDcsStripper::Feed(const char* data, size_t size, std::string& out) {
  if (mode_ == Mode::Auto) {
    Sniff(data, size, out);
    return;
  }
  if (mode_ == Mode::Plain) {
    // Everything but NUL, in runs between them.
    for (const char* end = data + size; data < end;) {
      const void* nul = std::memchr(data, '\0', static_cast<size_t>(end - data));
      const char* stop = nul ? static_cast<const char*>(nul) : end;
      out.append(data, static_cast<size_t>(stop - data));
      data = stop + (nul ? 1 : 0);
    }
    return;
  }
  for (size_t i = 0; i < size;) {
    // Inside ReGIS data a run of 7-bit bytes other than NUL, ESC, CAN and SUB
    // passes unchanged and ends any UTF-8 sequence, so it goes over whole.
    if (state_ == State::ReGisData && !heldLead_) {
      size_t end = i;
      while (end < size && kPlainBytes.plain[static_cast<uint8_t>(data[end])]) ++end;
      if (end > i) {
        out.append(data + i, end - i);
        utf8Remaining_ = 0;
        i = end;
        continue;
      }
    }
    Step(static_cast<uint8_t>(data[i]), out);
    ++i;
  }
}

// Runs the state machine from the first byte while keeping the raw bytes: the
// first introducer settles on terminal data (the machine has then seen all
// of it), a long enough stretch without one settles on plain ReGIS.
void CDcsStripper::Sniff(const char* data, size_t size, std::string& out) {
  for (size_t i = 0; i < size; ++i) {
    sniffed_.push_back(data[i]);
    Step(static_cast<uint8_t>(data[i]), out);
    if (sawIntroducer_) {
      mode_ = Mode::Dcs;
      sniffed_.clear();
      sniffed_.shrink_to_fit();
      Feed(data + i + 1, size - i - 1, out);
      return;
    }
    // An ESC or C2 at the limit may still open an introducer.
    if (sniffed_.size() >= kSniffLimit && state_ != State::Escape && !heldLead_) {
      mode_ = Mode::Plain;
      AppendWithoutNul(sniffed_, out);
      sniffed_.clear();
      sniffed_.shrink_to_fit();
      Feed(data + i + 1, size - i - 1, out);
      return;
    }
  }
}

void CDcsStripper::Finish(std::string& out) {
  if (mode_ == Mode::Auto) {
    mode_ = Mode::Plain;
    AppendWithoutNul(sniffed_, out);
    sniffed_.clear();
    return;
  }
  if (heldLead_ && state_ == State::ReGisData) out.push_back(static_cast<char>(kUtf8C1Lead));
  heldLead_ = false;
}

bool CDcsStripper::ContinuesUtf8(uint8_t byte) {
  if (byte >= 0x80 && byte <= 0xBF) {
    if (utf8Remaining_ == 0) return false;
    --utf8Remaining_;
    return true;
  }
  if (byte >= 0xC2 && byte <= 0xDF)
    utf8Remaining_ = 1;
  else if (byte >= 0xE0 && byte <= 0xEF)
    utf8Remaining_ = 2;
  else if (byte >= 0xF0 && byte <= 0xF4)
    utf8Remaining_ = 3;
  else
    utf8Remaining_ = 0;
  return false;
}

void CDcsStripper::Step(uint8_t byte, std::string& out) {
  // A UTF-8 terminal sees C2 80..C2 9F as the C1 controls themselves, so the
  // C2 waits until the next byte tells which it is.
  if (heldLead_) {
    heldLead_ = false;
    if (byte >= 0x80 && byte <= 0x9F) {
      utf8Remaining_ = 0;
      if (state_ == State::ReGisData && byte != kSt) {
        out.push_back(static_cast<char>(kUtf8C1Lead));
        out.push_back(static_cast<char>(byte));
        return;
      }
      Control(byte);
      return;
    }
    ContinuesUtf8(kUtf8C1Lead);
    if (state_ == State::ReGisData) out.push_back(static_cast<char>(kUtf8C1Lead));
  }
  if (byte == kUtf8C1Lead) {
    heldLead_ = true;
    return;
  }
  const bool continuation = ContinuesUtf8(byte);
  if (byte >= 0x80 && byte <= 0x9F && !continuation) {
    // Only ST ends a string: inside one, other C1 bytes are taken for the
    // printable characters that 8-bit Windows code pages put there.
    if (state_ == State::ReGisData && byte != kSt) {
      out.push_back(static_cast<char>(byte));
      return;
    }
    Control(byte);
    return;
  }

  switch (state_) {
    case State::Ground:
      if (byte == kEsc) state_ = State::Escape;
      break;
    case State::Escape:
      if (byte == 'P') {
        state_ = State::DcsEntry;
        intermediates_ = false;
        sawIntroducer_ = true;
      } else if (byte == 'X' || byte == '^' || byte == '_') {
        state_ = State::IgnoreString;
      } else if (byte == ']') {
        state_ = State::OscString;
      } else if (byte != kEsc) {
        // Any other escape or control sequence is dropped; its remaining
        // bytes are harmless in Ground.
        state_ = State::Ground;
      }
      break;
    case State::DcsEntry:
      if (byte == kEsc) {
        state_ = State::Escape;
      } else if (byte == kCan || byte == kSub) {
        state_ = State::Ground;
      } else if (byte >= 0x30 && byte <= 0x3F) {
        if (intermediates_) state_ = State::IgnoreString;
      } else if (byte >= 0x20 && byte <= 0x2F) {
        intermediates_ = true;
      } else if (byte >= 0x40 && byte <= 0x7E) {
        // 'p' after intermediates is another device's request (such as
        // restoring terminal state), not ReGIS.
        state_ = byte == 'p' && !intermediates_ ? State::ReGisData : State::IgnoreString;
      } else if (byte >= 0x80) {
        state_ = State::IgnoreString;
      }
      break;
    case State::ReGisData:
      if (byte == kEsc)
        state_ = State::Escape;
      else if (byte == kCan || byte == kSub)
        state_ = State::Ground;
      else if (byte != 0)
        out.push_back(static_cast<char>(byte));
      break;
    case State::IgnoreString:
      if (byte == kEsc)
        state_ = State::Escape;
      else if (byte == kCan || byte == kSub)
        state_ = State::Ground;
      break;
    case State::OscString:
      if (byte == kEsc)
        state_ = State::Escape;
      else if (byte == kBel || byte == kCan || byte == kSub)
        state_ = State::Ground;
      break;
  }
}

void CDcsStripper::Control(uint8_t c1) {
  switch (state_) {
    case State::ReGisData:
    case State::IgnoreString:
    case State::OscString:
      if (c1 == kSt) state_ = State::Ground;
      return;
    case State::Ground:
    case State::Escape:
    case State::DcsEntry:
      break;
  }
  switch (c1) {
    case kDcs:
      state_ = State::DcsEntry;
      intermediates_ = false;
      sawIntroducer_ = true;
      break;
    case kSos:
    case kPm:
    case kApc:
      state_ = State::IgnoreString;
      break;
    case kOsc:
      state_ = State::OscString;
      break;
    case kCsi:
    case kSt:
    default:
      state_ = State::Ground;
      break;
  }
}
