// gdi_oracle [--list] [--out DIR] [NAME...]: runs the named scenarios (all by
// default) and writes DIR/<name>.txt for each, or everything to standard
// output. Built natively it shows the soft platform; built with mingw and run
// under Wine it records the golden files.
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "tests/platform/oracle/scenarios.h"

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#endif

namespace {

int Usage() {
  std::fprintf(stderr, "usage: gdi_oracle [--list] [--out DIR] [NAME...]\n");
  return 2;
}

bool WriteFile(const std::string& path, const std::string& text) {
  // Binary mode: golden files keep LF line ends when written under Windows.
  FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) return false;
  bool ok = std::fwrite(text.data(), 1, text.size(), f) == text.size();
  ok = std::fclose(f) == 0 && ok;
  return ok;
}

}  // namespace

int main(int argc, char** argv) {
#ifdef _WIN32
  _setmode(_fileno(stdout), _O_BINARY);
#endif
  bool list = false;
  std::string outDir;
  std::vector<std::string> names;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--list") == 0) {
      list = true;
    } else if (std::strcmp(argv[i], "--out") == 0) {
      if (++i == argc) return Usage();
      outDir = argv[i];
    } else if (argv[i][0] == '-') {
      return Usage();
    } else {
      names.push_back(argv[i]);
    }
  }

  std::vector<oracle::Scenario> chosen;
  for (const auto& name : names) {
    bool found = false;
    for (const auto& s : oracle::Scenarios()) {
      if (name == s.name) {
        chosen.push_back(s);
        found = true;
      }
    }
    if (!found) {
      std::fprintf(stderr, "gdi_oracle: no scenario named %s\n", name.c_str());
      return 2;
    }
  }
  if (names.empty()) chosen = oracle::Scenarios();

  if (list) {
    for (const auto& s : chosen) std::printf("%s\n", s.name);
    return 0;
  }
  for (const auto& s : chosen) {
    std::string text;
    s.fn(text);
    if (outDir.empty()) {
      std::printf("==== %s\n%s", s.name, text.c_str());
    } else if (!WriteFile(outDir + "/" + s.name + ".txt", text)) {
      std::fprintf(stderr, "gdi_oracle: cannot write %s/%s.txt\n", outDir.c_str(), s.name);
      return 1;
    }
  }
  return 0;
}
