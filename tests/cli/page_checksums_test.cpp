// Speed work must never cost a pixel: every example and the corpus files that
// draw with positions, vectors, writing controls, the screen, N and reports
// only render to the very pages recorded in page_checksums.txt.
// tools/record-page-checksums writes that file anew after an intended change.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "cli_support.h"

namespace {

// Corpus files whose pictures use none of the curve, text, fill, character
// set and macrograph commands, so they stay put while those are built.
const char* const kCorpusSample[] = {
    "hackerb9-vt340test/regis/hersheydemo.regis",
    "hackerb9-vt340test/regis/ode/atwoods.regis",
    "hackerb9-vt340test/regis/ode/henon.regis",
    "hackerb9-vt340test/regis/ode/lorenz.regis",
    "hackerb9-vt340test/regis/ode/lotka-volterra.regis",
    "hackerb9-vt340test/regis/ode/orbit.regis",
    "hackerb9-vt340test/regis/registest-output/registest-resetpalette.regis",
    "hackerb9-vt340test/regis/resetpalette.regis",
    "hackerb9-vt340test/vms/merrysixmas/CHRISTMASBILL.CLR",
    "hackerb9-vt340test/vms/merrysixmas/MERRY_XMAS.CLR",
    "mintty-regis-samples/xregisattr",
};

const char* const kExamples[] = {
    "colour_map.regis",
    "moire.regis",
    "patterns.regis",
    "plane_masks.regis",
    "position_stack.regis",
    "screen-colour-cycle.regis",
    "screen-user-coordinates.regis",
    "shading.regis",
    "skyline.regis",
};

const char kChecksumFile[] = ZIZIDER_TESTS_DIR "/cli/page_checksums.txt";

// FNV-1a over the size, the indices and the palette of the written page.
uint64_t PageChecksum(const CPng& page) {
  uint64_t hash = 14695981039346656037ull;
  auto add = [&hash](uint8_t byte) { hash = (hash ^ byte) * 1099511628211ull; };
  for (int value : {page.width, page.height})
    for (int shift = 0; shift < 32; shift += 8) add(static_cast<uint8_t>(value >> shift));
  for (uint8_t index : page.indices) add(index);
  for (const auto& colour : page.palette)
    for (uint8_t component : colour) add(component);
  return hash;
}

struct CPageCase {
  std::string name;  // "examples/..." or "corpus/..."
  std::string path;
};

std::vector<CPageCase> Cases() {
  std::vector<CPageCase> cases;
  for (const char* name : kExamples)
    cases.push_back({std::string("examples/") + name, std::string(ZIZIDER_EXAMPLES_DIR) + "/" + name});
  for (const char* name : kCorpusSample)
    cases.push_back({std::string("corpus/") + name, std::string(ZIZIDER_CORPUS_DIR) + "/" + name});
  return cases;
}

TEST(PageChecksumsTest, ExamplesAndCorpusSampleRenderTheRecordedPages) {
  std::ifstream recorded(kChecksumFile);
  std::vector<std::pair<std::string, std::string>> expected;  // name, checksum
  for (std::string line; std::getline(recorded, line);) {
    std::istringstream fields(line);
    std::string checksum, name;
    if (fields >> checksum >> name) expected.emplace_back(name, checksum);
  }
  const bool recording = std::getenv("ZIZIDER_RECORD_PAGES") != nullptr;
  std::ostringstream fresh;
  CTempDir out;
  for (const CPageCase& page : Cases()) {
    const std::string png = out.File("page.png");
    const CProgramRun run = RunZizider({"render", page.path, "-o", png});
    ASSERT_EQ(run.exitCode, 0) << page.name << "\n" << run.err;
    const CPng picture = ReadPng(png);
    ASSERT_TRUE(picture.ok) << page.name;
    char hex[17];
    std::snprintf(hex, sizeof hex, "%016llx", static_cast<unsigned long long>(PageChecksum(picture)));
    fresh << hex << ' ' << page.name << '\n';
    if (recording) continue;
    std::string want = "(not recorded)";
    for (const auto& entry : expected)
      if (entry.first == page.name) want = entry.second;
    EXPECT_EQ(want, hex) << page.name << " renders another page than the recorded one";
  }
  if (recording) std::ofstream(kChecksumFile) << fresh.str();
}

}  // namespace
