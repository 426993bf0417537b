// Running the built zizider program as a user would, and reading back the
// PNGs it writes.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <utility>
#include <vector>

struct CProgramRun {
  int exitCode = -1;  // 128 + signal when killed
  std::string out, err;
};

// Feeds standard input from `input`; when `more` is set it is called for
// further pieces until it returns false, so large inputs are made on the fly.
// `whileRunning`, when set, is called on every turn of the wait with the
// child's process id.
struct CProgramInput {
  CProgramInput() = default;
  CProgramInput(std::string text) : input(std::move(text)) {}  // NOLINT: a plain input reads best as {text}

  std::string input;
  std::function<bool(std::string& piece)> more;
  bool keepOpen = false;  // standard input stays open until whileRunning ends the child
  std::function<void(int pid)> whileRunning;
  long long fileSizeLimit = -1;  // bytes the program may write to one file; -1 unlimited
};

CProgramRun RunZizider(const std::vector<std::string>& args, const CProgramInput& stdinSource = {});

struct CPng {
  bool ok = false;
  int width = 0, height = 0, bitDepth = 0, colourType = 0;
  std::vector<uint8_t> indices;                 // row-major
  std::vector<std::array<uint8_t, 3>> palette;  // as stored
  uint8_t At(int x, int y) const { return indices[static_cast<size_t>(y) * width + x]; }
};
CPng ReadPng(const std::string& path);

// A fresh folder under the system's temporary folder, removed with its
// contents when the object goes.
class CTempDir {
 public:
  CTempDir();
  ~CTempDir();
  CTempDir(const CTempDir&) = delete;
  CTempDir& operator=(const CTempDir&) = delete;
  const std::string& path() const { return path_; }
  std::string File(const std::string& name) const { return path_ + "/" + name; }
  void Write(const std::string& name, const std::string& bytes) const;
  std::vector<std::string> List() const;  // names, sorted

 private:
  std::string path_;
};
