// An output file that appears whole or not at all: it is written to a
// temporary file in the same folder and renamed over the target at the end.
// A symbolic link is followed, so the link stays; a target that exists and is
// no regular file (a device, a pipe) is written straight into, since
// renaming over it would replace it.
#pragma once

#include <cstdio>
#include <string>

class CAtomicOutput {
 public:
  explicit CAtomicOutput(std::string path);
  ~CAtomicOutput();  // removes the temporary file unless committed
  CAtomicOutput(const CAtomicOutput&) = delete;
  CAtomicOutput& operator=(const CAtomicOutput&) = delete;

  // Creates the temporary file now, so that an unwritable place is found
  // before any work is done. The error is one line naming the target.
  bool Open(std::string* error);
  FILE* file() { return file_; }
  // Flushes, closes and renames; on failure nothing is left behind.
  bool Commit(std::string* error);
  void Discard();

  const std::string& path() const { return path_; }
  const std::string& temporaryPath() const { return temporary_; }

 private:
  bool OpenDirect(const std::string& target, std::string* error);

  std::string path_;
  std::string target_;  // path_ with a symbolic link resolved
  std::string temporary_;
  FILE* file_ = nullptr;
};
