// zizider run's split: ReGIS strings to the library, other bytes unchanged.
#include "tools/zizider/regis_splitter.h"

#include <gtest/gtest.h>

#include <algorithm>
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

TEST(ReGisSplitterTest, GivesTheSameSplitWhateverTheReads) {
  const std::string longIntroducer = "\33P" + std::string(80, '1') + "pA";
  const struct {
    const char* behaviour;
    std::string input, text, regis;
  } rows[] = {
      {"text and escape sequences pass", "a\33[1mb\0337\r\n"s, "a\33[1mb\0337\r\n"s, ""},
      {"a ReGIS string goes to the library", "a\33P1pP[1,1]\33\\b"s, "a|b", "P[1,1]"},
      {"a sixel string passes whole", "\33Pq#0!5~\33\\"s, "\33Pq#0!5~\33\\"s, ""},
      {"a p after intermediates is no ReGIS", "\33P$pX\33\\"s, "\33P$pX\33\\"s, ""},
      {"an ESC that is no ST ends the string and passes", "\33PpA\33[mB"s, "|\33[mB"s, "A"},
      {"CAN cancels the string", "\33PpA\30B"s, "|B", "A"},
      {"NUL bytes never reach the library", "\33PpA\0B\33\\"s, "|", "AB"},
      {"an unterminated string ends with the output", "x\33PpV[9,9]"s, "x|", "V[9,9]"},
      {"a lone ESC at the end passes", "x\33"s, "x\33"s, ""},
      {"an endless introducer passes as text", longIntroducer, longIntroducer, ""},
      {"8-bit controls are text", "\xe2\x90\x80\x90pA\x9c"s, "\xe2\x90\x80\x90pA\x9c"s, ""},
  };
  for (const auto& c : rows) {
    for (size_t piece : {c.input.size() + 1, size_t{1}, size_t{3}}) {
      SCOPED_TRACE(c.behaviour + " in reads of "s + std::to_string(piece));
      CReGisSplitter splitter;
      CRecorder got;
      for (size_t at = 0; at < c.input.size(); at += piece)
        splitter.Feed(c.input.data() + at, std::min(piece, c.input.size() - at), got);
      splitter.Finish(got);
      EXPECT_EQ(got.text, c.text);
      EXPECT_EQ(got.regis, c.regis);
    }
  }
}

}  // namespace
