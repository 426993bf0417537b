// Compares what each oracle scenario draws on the soft platform with what a real GDI drew
// (tests/platform/golden/<name>.txt, recorded by tools/gdi-golden under Wine).
#include <gtest/gtest.h>

#include <cctype>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "tests/platform/oracle/scenarios.h"

namespace {

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

bool StartsNumber(const char* p) {
  return std::isdigit(static_cast<unsigned char>(*p)) ||
         (*p == '-' && std::isdigit(static_cast<unsigned char>(p[1])));
}

// A line "~N ..." matches when the text between its integers is equal and every integer is within N; other
// lines must be equal.
bool LinesMatch(const std::string& expected, const std::string& actual) {
  if (expected == actual) return true;
  const size_t space = expected.find(' ');
  if (expected.size() < 3 || expected[0] != '~' || space == std::string::npos ||
      actual.compare(0, space + 1, expected, 0, space + 1) != 0)
    return false;
  const long tolerance = std::strtol(expected.c_str() + 1, nullptr, 10);
  const char *e = expected.c_str() + space + 1, *a = actual.c_str() + space + 1;
  while (*e && *a) {
    if (StartsNumber(e) != StartsNumber(a)) return false;
    if (StartsNumber(e)) {
      char *eEnd = nullptr, *aEnd = nullptr;
      if (std::labs(std::strtol(e, &eEnd, 10) - std::strtol(a, &aEnd, 10)) > tolerance) return false;
      e = eEnd, a = aEnd;
    } else if (*e++ != *a++) {
      return false;
    }
  }
  return !*e && !*a;
}

class GoldenTest : public ::testing::TestWithParam<oracle::Scenario> {};

TEST_P(GoldenTest, SoftPlatformDrawsWhatRealGdiDrew) {
  const oracle::Scenario& scenario = GetParam();
  if (oracle::IsInformational(scenario))
    GTEST_SKIP() << "depends on the display model; recorded, not compared";

  const std::string path = std::string(ZIZIDER_GOLDEN_DIR) + "/" + scenario.name + ".txt";
  std::ifstream file(path, std::ios::binary);
  ASSERT_TRUE(file.good()) << "no golden file " << path << "; run tools/gdi-golden to record it";
  std::stringstream golden;
  golden << file.rdbuf();

  std::string actual;
  scenario.fn(actual);

  const auto want = Lines(golden.str()), got = Lines(actual);
  size_t i = 0;
  while (i < want.size() && i < got.size() && LinesMatch(want[i], got[i])) ++i;
  if (i == want.size() && i == got.size()) return;

  const auto at = [&](const std::vector<std::string>& lines) {
    return i < lines.size() ? lines[i] : "(end)";
  };
  ADD_FAILURE() << "first difference at line " << i + 1 << "\nreal GDI:      " << at(want)
                << "\nsoft platform: " << at(got);
}

INSTANTIATE_TEST_SUITE_P(Oracle, GoldenTest, ::testing::ValuesIn(oracle::Scenarios()),
                         [](const ::testing::TestParamInfo<oracle::Scenario>& info) {
                           return std::string(info.param.name);
                         });

}  // namespace
