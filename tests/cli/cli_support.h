// Running the built zizider program as a user would; reading back its PNGs.
#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <utility>
#include <vector>

struct CProgramRun {
  int exitCode = -1;  // 128 + signal when killed
  std::string out, err;
};

struct CProgramInput {
  CProgramInput(std::string text = "") : input(std::move(text)) {}  // NOLINT: an input reads best as {text}
  std::string input;                                                // standard input, through a pipe
  bool keepOpen = false;                      // standard input stays open until whileRunning ends the child
  std::function<void(int pid)> whileRunning;  // called with the child's id every 10 ms
  long long fileSizeLimit = -1;               // bytes the program may write to one file; -1 unlimited
};

CProgramRun RunZizider(const std::vector<std::string>& args, const CProgramInput& stdinSource = {});

struct CPng {
  bool ok = false;  // read whole, one byte a pixel
  int width = 0, height = 0, bitDepth = 0, colourType = 0;
  std::vector<uint8_t> indices;                 // row-major; the channels of an RGB picture
  std::vector<std::array<uint8_t, 3>> palette;  // as stored
  uint8_t At(int x, int y) const { return indices[static_cast<size_t>(y) * width + x]; }
  std::vector<uint8_t> Rgb() const;  // the colours of the indices, three bytes each
};
CPng ReadPng(const std::string& path);

// A fresh folder under the system's temporary folder, removed with its
// contents when the object goes.
class CTempDir {
 public:
  CTempDir();
  ~CTempDir() {
    std::error_code error;
    std::filesystem::remove_all(path_, error);
  }
  CTempDir(const CTempDir&) = delete;
  CTempDir& operator=(const CTempDir&) = delete;
  const std::string& path() const { return path_; }
  std::string File(const std::string& name) const { return path_ + "/" + name; }
  void Write(const std::string& name, const std::string& bytes) const;
  std::vector<std::string> List() const;  // names, sorted

 private:
  std::string path_;
};
