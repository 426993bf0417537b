// The split `zizider run` makes of a program's output: ReGIS strings to the
// library, every other byte to the terminal unchanged.
#include "tools/zizider/regis_splitter.h"

#include <gtest/gtest.h>

#include <cctype>
#include <string>

namespace {

using namespace std::string_literals;

// Text as it reaches the terminal, with '|' where a ReGIS string ended;
// ReGIS as the library gets it.
struct CRecorder : CReGisSplitter::Sink {
  std::string text, regis;
  void Text(const char* data, size_t size) override { text.append(data, size); }
  void ReGis(const char* data, size_t size) override { regis.append(data, size); }
  void StringEnd() override { text += '|'; }
};

CRecorder Split(const std::string& input, size_t piece) {
  CReGisSplitter splitter;
  CRecorder recorder;
  for (size_t at = 0; at < input.size(); at += piece)
    splitter.Feed(input.data() + at, std::min(piece, input.size() - at), recorder);
  splitter.Finish(recorder);
  return recorder;
}

struct SplitCase {
  const char* behaviour;
  std::string input, text, regis;
};

const SplitCase kCases[] = {
    {"text and escape sequences pass",
     "a\x1b[1mb\x1b"
     "7\r\n"s,
     "a\x1b[1mb\x1b"
     "7\r\n"s,
     ""},
    {"a ReGIS string goes to the library", "a\x1bP1pP[1,1]\x1b\\b"s, "a|b", "P[1,1]"},
    {"a sixel string passes whole", "\x1bPq#0!5~\x1b\\"s, "\x1bPq#0!5~\x1b\\"s, ""},
    {"a p after intermediates is no ReGIS", "\x1bP$pX\x1b\\"s, "\x1bP$pX\x1b\\"s, ""},
    {"an ESC that is no ST ends the string and passes", "\x1bPpA\x1b[mB"s, "|\x1b[mB"s, "A"},
    {"CAN cancels the string",
     "\x1bPpA\x18"
     "B"s,
     "|B", "A"},
    {"NUL bytes never reach the library", "\x1bPpA\0B\x1b\\"s, "|", "AB"},
    {"an unterminated string ends with the output", "x\x1bPpV[9,9]"s, "x|", "V[9,9]"},
    {"a lone ESC at the end passes", "x\x1b"s, "x\x1b"s, ""},
    {"an endless introducer passes as text", "\x1bP" + std::string(80, '1') + "pA",
     "\x1bP" + std::string(80, '1') + "pA", ""},
    {"8-bit controls are text", "\xe2\x90\x80\x90pA\x9c"s, "\xe2\x90\x80\x90pA\x9c"s, ""},
};

class SplitTest : public testing::TestWithParam<SplitCase> {};

TEST_P(SplitTest, GivesTheSameSplitWhateverTheReads) {
  const SplitCase& c = GetParam();
  for (size_t piece : {c.input.size() + 1, size_t{1}, size_t{3}}) {
    const CRecorder got = Split(c.input, piece);
    EXPECT_EQ(got.text, c.text) << "reads of " << piece;
    EXPECT_EQ(got.regis, c.regis) << "reads of " << piece;
  }
}

INSTANTIATE_TEST_SUITE_P(Streams, SplitTest, testing::ValuesIn(kCases), [](const auto& info) {
  std::string name;
  for (const char* p = info.param.behaviour; *p; ++p)
    name += std::isalnum(static_cast<unsigned char>(*p)) ? *p : '_';
  return name;
});

}  // namespace
