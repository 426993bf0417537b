// Scenario programs for comparing the soft platform with a real GDI. Each
// scenario draws with the Win32 subset only and prints what it drew as text;
// the same sources build natively (soft platform) and with mingw (real GDI
// under Wine), and the real GDI's output is kept as golden files.
#pragma once

#include <string>
#include <vector>

#include "platform/win32.h"

namespace oracle {

using ScenarioFn = void (*)(std::string& out);

struct Scenario {
  const char* name;
  ScenarioFn fn;
};

int RegisterScenario(const char* name, ScenarioFn fn);
const std::vector<Scenario>& Scenarios();

}  // namespace oracle

// Defines and registers a scenario: ORACLE_SCENARIO(lines_basic) { ... out ... }
#define ORACLE_SCENARIO(name)                                                       \
  static void OracleScenario_##name(std::string& out);                             \
  static const int oracle_registered_##name =                                      \
      ::oracle::RegisterScenario(#name, OracleScenario_##name);                     \
  static void OracleScenario_##name(std::string& out)
