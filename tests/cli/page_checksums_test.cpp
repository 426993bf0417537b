// Every example and corpus file renders; the pages in page_checksums.txt stay
// pixel for pixel (speed work never costs a pixel). tools/record-page-checksums
// records them anew after an intended change.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <string>

#include "cli_support.h"

namespace {

namespace fs = std::filesystem;

const char kChecksumFile[] = ZIZIDER_TESTS_DIR "/cli/page_checksums.txt";

// FNV-1a over the size, the indices and the palette of the written page.
std::string PageChecksum(const CPng& page) {
  uint64_t hash = 14695981039346656037ull;
  auto add = [&hash](uint8_t byte) { hash = (hash ^ byte) * 1099511628211ull; };
  for (int value : {page.width, page.height})
    for (int shift = 0; shift < 32; shift += 8) add(static_cast<uint8_t>(value >> shift));
  for (uint8_t index : page.indices) add(index);
  for (const auto& colour : page.palette)
    for (uint8_t component : colour) add(component);
  char hex[17];
  std::snprintf(hex, sizeof hex, "%016llx", static_cast<unsigned long long>(hash));
  return hex;
}

// Names as "examples/..." and "corpus/...", sorted.
std::map<std::string, std::string> InputFiles() {
  std::map<std::string, std::string> files;
  for (const auto& [folder, name] :
       {std::pair{ZIZIDER_EXAMPLES_DIR, "examples/"}, {ZIZIDER_CORPUS_DIR, "corpus/"}})
    for (const auto& entry : fs::recursive_directory_iterator(folder))
      if (entry.is_regular_file() && (name[0] == 'c' || entry.path().extension() == ".regis"))
        files[name + fs::relative(entry.path(), folder).string()] = entry.path().string();
  return files;
}

TEST(PageChecksumsTest, ExamplesAndCorpusRenderAndTheRecordedPagesStayPut) {
  std::map<std::string, std::string> recorded;  // name, checksum
  std::vector<std::string> order;
  std::ifstream lines(kChecksumFile);
  for (std::string checksum, name; lines >> checksum >> name; order.push_back(name))
    recorded[name] = checksum;
  ASSERT_FALSE(recorded.empty()) << kChecksumFile;
  const std::map<std::string, std::string> files = InputFiles();
  ASSERT_GE(files.size(), 100u) << "examples and the corpus in " ZIZIDER_CORPUS_DIR;
  const bool recording = std::getenv("ZIZIDER_RECORD_PAGES") != nullptr;
  CTempDir out;
  size_t compared = 0;
  for (const auto& [name, path] : files) {
    SCOPED_TRACE(name);
    fs::remove(out.File("page.png"));
    const CProgramRun run = RunZizider({"render", path, "-o", out.File("page.png")});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    const CPng page = ReadPng(out.File("page.png"));
    ASSERT_TRUE(page.ok);
    const size_t colours = std::set<uint8_t>(page.indices.begin(), page.indices.end()).size();
    EXPECT_TRUE(name[0] == 'c' || colours >= 2) << "an example leaves its page blank";
    const auto entry = recorded.find(name);
    if (entry == recorded.end()) continue;
    if (recording) entry->second = PageChecksum(page);
    EXPECT_EQ(PageChecksum(page), entry->second) << "another page than the recorded one";
    ++compared;
  }
  EXPECT_EQ(compared, recorded.size()) << "pages in " << kChecksumFile << " that are no longer there";
  if (!recording) return;
  std::ofstream fresh(kChecksumFile);
  for (const std::string& name : order) fresh << recorded[name] << ' ' << name << '\n';
}

}  // namespace
