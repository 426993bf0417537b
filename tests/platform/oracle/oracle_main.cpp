// gdi_oracle [--out DIR] [NAME...]: runs the named scenarios (all by default) and writes
// DIR/<name>.txt for each, or everything to standard output. Built natively it shows the soft platform; built
// with mingw and run under Wine it records the golden files.
#include <cstdio>
#include <string>
#include <vector>

#include "tests/platform/oracle/scenarios.h"

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#endif

int main(int argc, char** argv) {
#ifdef _WIN32
  _setmode(_fileno(stdout), _O_BINARY);  // golden files keep LF line ends
#endif
  std::string outDir;
  std::vector<oracle::Scenario> chosen;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    const size_t before = chosen.size();
    for (const auto& s : oracle::Scenarios())
      if (arg == s.name) chosen.push_back(s);
    if (arg == "--out" && i + 1 < argc) {
      outDir = argv[++i];
    } else if (chosen.size() == before) {
      std::fprintf(stderr, "usage: gdi_oracle [--out DIR] [NAME...]\nno scenario named %s\n", argv[i]);
      return 2;
    }
  }
  if (chosen.empty()) chosen = oracle::Scenarios();
  for (const auto& s : chosen) {
    std::string text;
    s.fn(text);
    if (outDir.empty()) {
      std::printf("==== %s\n%s", s.name, text.c_str());
      continue;
    }
    FILE* f = std::fopen((outDir + "/" + s.name + ".txt").c_str(), "wb");  // "b": LF line ends
    if (!f || std::fwrite(text.data(), 1, text.size(), f) != text.size() || std::fclose(f) != 0) {
      std::fprintf(stderr, "gdi_oracle: cannot write %s/%s.txt\n", outDir.c_str(), s.name);
      return 1;
    }
  }
  return 0;
}
