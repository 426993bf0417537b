// Feeds arbitrary bytes to the command-line host's DCS unwrapping. The
// ReGIS data it takes out must not depend on how the stream is cut into
// reads, never holds a NUL, is never longer than the input, and in plain
// mode is the input without its NUL bytes.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "tools/zizider/dcs_stripper.h"

namespace {

void Fail(const char* what) {
  std::fprintf(stderr, "dcs_fuzz: %s\n", what);
  std::abort();
}

std::string Strip(CDcsStripper::Mode mode, const char* data, size_t size, uint32_t cuts) {
  CDcsStripper stripper(mode);
  std::string out;
  size_t at = 0;
  while (at < size) {
    // A small generator picks the read lengths; cuts 0 reads everything at once.
    size_t length = size - at;
    if (cuts) {
      cuts = cuts * 1103515245u + 12345u;
      length = std::min(length, size_t{1} + (cuts >> 16) % 97);
    }
    stripper.Feed(data + at, length, out);
    at += length;
  }
  stripper.Finish(out);
  return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size) {
  if (size < 2) return 0;
  static constexpr CDcsStripper::Mode kModes[] = {CDcsStripper::Mode::Auto, CDcsStripper::Mode::Dcs,
                                                  CDcsStripper::Mode::Plain};
  const CDcsStripper::Mode mode = kModes[bytes[0] % 3];
  const uint32_t cuts = 1u + bytes[1];
  const char* data = reinterpret_cast<const char*>(bytes + 2);
  size -= 2;

  const std::string whole = Strip(mode, data, size, 0);
  if (Strip(mode, data, size, cuts) != whole) Fail("the output depends on how the input is cut into reads");
  if (whole.find('\0') != std::string::npos) Fail("the output holds a NUL");
  if (whole.size() > size) Fail("the output is longer than the input");
  if (mode == CDcsStripper::Mode::Plain) {
    std::string plain(data, size);
    plain.erase(std::remove(plain.begin(), plain.end(), '\0'), plain.end());
    if (whole != plain) Fail("plain mode changed the data");
  }
  return 0;
}
