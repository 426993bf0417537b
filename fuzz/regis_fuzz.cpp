// Feeds arbitrary bytes through KXREG_HandleNextString, as a terminal would
// hand over whatever the remote side sends, and redraws from the journal now
// and then. Any crash, hang, leak or undefined behaviour is a finding.
#include <cstddef>
#include <cstdint>
#include <string>

#include "support/test_host.h"

namespace {

CTestHost& Host() {
  static CTestHost* host = [] {
    soft::inspect::UseVirtualClock(true);
    soft::inspect::SetAdvancePerEmptyPoll(3600000);  // an hour a poll: waits of the screen command cost nothing
    soft::inspect::EchoMessageBoxes(false);
    return new CTestHost;
  }();
  return *host;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  CTestHost& host = Host();
  // The first byte picks the string length the input is cut into, so that
  // commands are also split across strings.
  const size_t chunk = size ? 1 + data[0] % 64 : 1;
  std::string piece;
  for (size_t i = size ? 1 : 0; i < size; ++i) {
    if (data[i]) piece.push_back(static_cast<char>(data[i]));
    if (piece.size() >= chunk || i + 1 == size) {
      host.Feed(piece);
      piece.clear();
    }
  }
  if (size && data[size - 1] % 4 == 0) KXREG_RefreshFromBuf(host.Host());
  // Every input starts from a fresh parser and an empty journal.
  host.Feed(";");
  KXREG_ClearParserBuf(host.Host());
  return 0;
}
