#include "tools/zizider/input_reader.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#ifdef _WIN32
#include <io.h>
// Bytes as they are: no CR-LF folding, no end at Ctrl-Z.
#define O_CLOEXEC O_BINARY
#endif

#include <cerrno>
#include <cstring>

namespace {

std::string DisplayName(const std::string& name) {
  return name == "-" ? std::string("standard input") : "'" + name + "'";
}

}  // namespace

CInputReader::CInputReader(std::vector<std::string> names) : names_(std::move(names)) {
  if (names_.empty()) names_.push_back("-");
}

CInputReader::~CInputReader() {
  CloseCurrent();
}

bool CInputReader::CheckAll(std::string* error) const {
  for (const std::string& name : names_) {
    if (name == "-") continue;
    struct stat info;
    if (stat(name.c_str(), &info) != 0) {
      *error = "cannot read " + DisplayName(name) + ": " + std::strerror(errno);
      return false;
    }
    if (S_ISDIR(info.st_mode)) {
      *error = "cannot read " + DisplayName(name) + ": Is a directory";
      return false;
    }
    const int fd = open(name.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
      *error = "cannot read " + DisplayName(name) + ": " + std::strerror(errno);
      return false;
    }
    close(fd);
  }
  return true;
}

long long CInputReader::TotalSize() const {
  long long total = 0;
  for (const std::string& name : names_) {
    struct stat info;
    if (name == "-" || stat(name.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) return -1;
    total += static_cast<long long>(info.st_size);
  }
  return total;
}

bool CInputReader::OpenNext(std::string* error) {
  current_ = names_[next_++];
  if (current_ == "-") {
    fd_ = STDIN_FILENO;
#ifdef _WIN32
    _setmode(fd_, O_BINARY);
#endif
    return true;
  }
  fd_ = open(current_.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd_ < 0) {
    *error = "cannot read " + DisplayName(current_) + ": " + std::strerror(errno);
    return false;
  }
  return true;
}

void CInputReader::CloseCurrent() {
  if (fd_ > STDIN_FILENO) close(fd_);
  fd_ = -1;
}

CInputReader::Result CInputReader::Read(char* buffer, size_t capacity, size_t* got, std::string* error) {
  *got = 0;
  for (;;) {
    if (fd_ < 0) {
      if (next_ >= names_.size()) return Result::End;
      if (!OpenNext(error)) return Result::Error;
    }
    const ssize_t n = read(fd_, buffer, capacity);
    if (n > 0) {
      *got = static_cast<size_t>(n);
      return Result::Data;
    }
    if (n == 0) {
      CloseCurrent();
      continue;
    }
    if (errno == EINTR) {
      if (shouldStop && shouldStop()) return Result::Stopped;
      continue;
    }
    *error = "cannot read " + DisplayName(current_) + ": " + std::strerror(errno);
    CloseCurrent();
    return Result::Error;
  }
}
