// Input a broken or malicious remote side could send. Afterwards the interpreter
// must still work and its parser stack must have stayed shallow (memory beyond
// the journal is bounded). How the time grows with the size: bench/hostile_bench.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "interp/interpreter.h"
#include "support/hostile_inputs.h"
#include "support/test_host.h"
#include "surface/graphics_state.h"
#include "tools/zizider/render_options.h"

namespace {

// Deepest the parser stack gets: dispatcher, command, option list or
// temporary write, nested write, coordinate or colour.
constexpr int kMaxParserDepth = 6;

// Under the sanitizers the streams run at an eighth of their size: the same paths, minutes sooner.
#if defined(__SANITIZE_ADDRESS__)
#define ZIZIDER_ASAN 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define ZIZIDER_ASAN 1
#endif
#endif
#ifdef ZIZIDER_ASAN
constexpr size_t kSizeDivisor = 8;
#else
constexpr size_t kSizeDivisor = 1;
#endif

// A page of one pixel per ReGIS unit cell; waits cost no real time.
class HostileInput : public ::testing::Test {
 protected:
  void SetUp() override { soft::inspect::SetAdvancePerEmptyPoll(3600000); }
  void TearDown() override { soft::inspect::SetAdvancePerEmptyPoll(0); }
  static CTestHost::Options SmallPage(int columns = 80, int rows = 24) {
    CTestHost::Options options;
    options.cellWidth = options.cellHeight = 1;
    options.columns = columns, options.rows = rows;
    return options;
  }
  static void ExpectStillWorking(CTestHost& host) {
    host.Feed(";S(A[0,0][799,479])P[7,9]");  // device coordinates again, then a move
    EXPECT_EQ(std::make_pair(host.State()->x, host.State()->y), std::make_pair(7, 9));
    EXPECT_EQ(host.Interpreter()->parseStack.Count(), 1);
  }
};

TEST_F(HostileInput, EveryStreamAtFullSizeLeavesAWorkingInterpreterAndAShallowStack) {
  for (const CHostileRow& row : HostileRows()) {
    SCOPED_TRACE(row.name);
    CTestHost host(SmallPage());
    const std::string stream = row.make(row.fullSize / kSizeDivisor);
    int deepest = 0;
    for (size_t at = 0; at < stream.size(); at += 4096) {  // in strings of 4 KiB as a terminal sends
      host.Feed(stream.substr(at, 4096));
      deepest = std::max(deepest, host.Interpreter()->parseStack.Count());
    }
    EXPECT_LE(deepest, kMaxParserDepth);
    ExpectStillWorking(host);
  }
}

TEST_F(HostileInput, EveryByteInEveryParserState) {
  // Prefixes that leave a parser in each of its states.
  const char* const states[] = {
      "",        "P",         "P[",      "P[1",       "P[1,",   "P[1,2,", "P[+",       "P[1E",       "P(",
      "P(W(",    "V(W(P",     "V(W(P(M", "V(W(S",     "V(W(S(", "V(W(S[", "V(W(I",     "W(I(",       "W(I(H",
      "W(I(H1L", "W(I(H1L2S", "W(M",     "W(N",       "S(",     "S(M",    "S(M1",      "S(M1(",      "S(M1(L",
      "S(M1(H",  "S(A",       "S(A[",    "S(A[1,1][", "S(C(",   "S(C(H",  "S(H",       "S(H(P",      "S(T",
      "S(P",     "S[",        "T",       "T\"",       "T'",     "T(",     "T(S",       "T(D",        "T(A",
      "T(I",     "T(W(",      "L",       "L\"",       "L\"A",   "L(",     "L(A",       "L(A1\"",     "R",
      "R(",      "R(P(",      "N",       "N(",        "N\"",    "W",      "V",         "V[",         "V(B",
      "V(S",     "C",         "C(",      "C(A",       "C(A9C",  "C(B",    "C(B)[1,1]", "C(S)[1,1](", "C(W(",
      "F",       "F(",        "F(V",     "F(C",       "F(W(",   "@",      "@:",        "@:A",        "@:A@",
      "@.",      "@:AV@;@A",
  };
  CTestHost host(SmallPage());
  for (const char* state : states) {
    SCOPED_TRACE(state);
    for (int byte = 1; byte < 256; ++byte) {
      EXPECT_EQ(host.Feed(std::string(state) + static_cast<char>(byte)), 0);
      EXPECT_LE(host.Interpreter()->parseStack.Count(), kMaxParserDepth);
      host.Feed("@;;");  // ends a macrograph definition, then resets
    }
    KXREG_ClearParserBuf(host.Host());
    ExpectStillWorking(host);
  }
}

TEST_F(HostileInput, ThirtyTwoBitExtremesOfEveryNumber) {
  const char* const streams[] = {
      "P[2147483647,-2147483648]V[-2147483648,2147483647]V[]",
      "P[+2147483647,+2147483647][+2147483647,+2147483647]V[-2147483648,-2147483648]",
      "P[1E400,-1E400]V[.5E-400,1E308]",
      "W(M2147483647)P[400,240]V0V1V2V3V4V5V6V7",
      "W(M-2147483648)P[400,240]V0V4V7W(M4294967296)V0",
      "W(P4294967297M2147483647)V[0,0][799,479]",
      "W(S[2147483647])V[0,0][799,479]W(S(X-2147483648))V[799,0]",
      "S(A[-2147483648,-2147483648][2147483647,2147483647])P[0,0]V[2147483647,2147483647]V1",
      "S(A[0,0][1E-300,1E-300])V[1,1]S(A[0,0][1E300,-1E300])V[1,1]",
      "S[2147483647,-2147483648]S[-2147483648,2147483647]",
      "S(T4294967295)S(T2147483648)",
      "S(I2147483647)S(E)S(I-1)S(E)S(P2147483647)S(M2147483647(R))",
      "S(C(H2147483647))S(C[2147483647,-2147483648])",
      "T(S2147483647)T(S-2147483648)T\"A\"",
      "T(S[2147483647,2147483647])T\"AB\"T(S[-2147483648,-2147483648])T\"AB\"",
      "T(U[2147483647,-2147483648])T(M[2147483647,2147483647])T\"AB\"",
      "T(D2147483647)T(D-2147483648S1)T(I2147483647)T(I-2147483648)T\"AB\"",
      "T[2147483647,2147483647]T\"AB\"T[-2147483648,-2147483648]T\"AB\"",
      "P[2147483647,2147483647]T\"AB\"P[-2147483648,-2147483648]T\"AB\"",
      "L(A2147483647)L(S[2147483647,2147483647])L\"A\"FFFF",
      "R(P(I))R(P)P[2147483647,-2147483648]R(P)",
      "P[400,240]C[+2147483647]C[-2147483648,-2147483648]C(C)[2147483647,2147483647]",
      "P[400,240]C(A2147483647)[+100,0]C(A-2147483648)[-2147483648,0]C(A-2147483648C)[2147483647]",
      "C(B)[2147483647,-2147483648][-2147483648,2147483647][0,0](E)C(S)[0,0][2147483647,2147483647][-"
      "2147483648,0](E)",
      "P[2147483647,2147483647]C(W(M2147483647))0123C(B)4567(E)",
      "F(C[+2147483647])F(C(A-2147483648)[-2147483648,2147483647])F(V[2147483647,0][0,2147483647][-"
      "2147483648,0])",
      "F(W(S1)V[0,0][799,479][0,479])F(C(B)[0,0][2147483647,2147483647][-2147483648,0](E))",
      "@:AF(@B)@;@:B@A@;@A@:C@C@C@;@C",
  };
  for (const char* stream : streams) {
    SCOPED_TRACE(stream);
    CTestHost host(SmallPage());
    host.Feed(stream);
    KXREG_RefreshFromBuf(host.Host());
    ExpectStillWorking(host);
  }
}

TEST_F(HostileInput, PagesAtTheCommandLineHostsLimits) {
  // The widest and the smallest page the command-line host accepts.
  for (const auto& [columns, rows] :
       {std::make_pair(kMaxPageSide, int(kMaxPagePixels / kMaxPageSide)), std::make_pair(1, 1)}) {
    SCOPED_TRACE(std::to_string(columns) + "x" + std::to_string(rows));
    CTestHost host(SmallPage(columns, rows));
    host.Feed("S(E)");
    const uint32_t background = host.PageIndex(0, 0);
    host.Feed("P[0,0]V[799,479]T(S16)\"A\"S(E)W(I1)P[0,0]V[799,0]");
    // The top line is there and nothing of the diagonal the erase took; a
    // single pixel holds no line of any length.
    if (columns > 1) {
      EXPECT_NE(host.PageIndex(columns * 400 / 800, 0), background);
      EXPECT_EQ(host.PageIndex(columns * 400 / 800, rows * 479 / 480), background);
    }
    EXPECT_EQ(KXREG_RefreshFromBuf(host.Host()), 0);
    ExpectStillWorking(host);
  }
}

}  // namespace
