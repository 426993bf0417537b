#include "tools/zizider/atomic_output.h"

#include <sys/stat.h>
#include <unistd.h>

#ifdef _WIN32
#include "platform/win32.h"
#endif

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <utility>
#include <vector>

CAtomicOutput::CAtomicOutput(std::string path) : path_(std::move(path)) {}

CAtomicOutput::~CAtomicOutput() {
  Discard();
}

namespace {

// rename() on Windows refuses to replace a file; MoveFileEx does.
int ReplaceFile(const char* from, const char* to) {
#ifdef _WIN32
  if (MoveFileExA(from, to, MOVEFILE_REPLACE_EXISTING)) return 0;
  errno = EACCES;
  return -1;
#else
  return rename(from, to);
#endif
}

}  // namespace

#ifdef _WIN32
// No links and no modes to keep: the picture goes to a hidden-by-name file
// beside the target and replaces it at the end.
bool CAtomicOutput::Open(std::string* error) {
  target_ = path_;
  struct stat info;
  if (stat(target_.c_str(), &info) == 0 && S_ISDIR(info.st_mode)) {
    *error = "cannot write '" + path_ + "': Is a directory";
    return false;
  }
  temporary_ = target_ + ".tmp";
  file_ = std::fopen(temporary_.c_str(), "wb");
  if (!file_) {
    *error = "cannot write '" + path_ + "': " + std::strerror(errno);
    temporary_.clear();
    return false;
  }
  return true;
}
#else
bool CAtomicOutput::Open(std::string* error) {
  target_ = path_;
  struct stat info;
  if (lstat(path_.c_str(), &info) == 0 && S_ISLNK(info.st_mode)) {
    // A dangling link is replaced like a missing file.
    if (char* resolved = realpath(path_.c_str(), nullptr)) {
      target_ = resolved;
      std::free(resolved);
    }
  }
  if (stat(target_.c_str(), &info) == 0) {
    if (S_ISDIR(info.st_mode)) {
      *error = "cannot write '" + path_ + "': Is a directory";
      return false;
    }
    if (!S_ISREG(info.st_mode)) return OpenDirect(target_, error);
  }
  const size_t slash = target_.find_last_of('/');
  const std::string folder = slash == std::string::npos ? std::string() : target_.substr(0, slash + 1);
  const std::string base = slash == std::string::npos ? target_ : target_.substr(slash + 1);
  // Hidden, and in the same folder so that the rename cannot cross devices.
  std::string pattern = folder + "." + base + ".XXXXXX";
  std::vector<char> name(pattern.begin(), pattern.end());
  name.push_back('\0');
  const int fd = mkstemp(name.data());
  if (fd < 0) {
    *error = "cannot write '" + path_ + "': " + std::strerror(errno);
    return false;
  }
  temporary_ = name.data();
  // mkstemp makes the file private; the picture gets the usual permissions.
  const mode_t mask = umask(0);
  umask(mask);
  fchmod(fd, 0666 & ~mask);
  file_ = fdopen(fd, "wb");
  if (!file_) {
    *error = "cannot write '" + path_ + "': " + std::strerror(errno);
    close(fd);
    Discard();
    return false;
  }
  return true;
}
#endif

bool CAtomicOutput::Commit(std::string* error) {
  if (!file_) {
    *error = "cannot write '" + path_ + "': not open";
    return false;
  }
  bool ok = fflush(file_) == 0 && !ferror(file_);
  int savedErrno = errno;
  if (fclose(file_) != 0 && ok) {
    ok = false;
    savedErrno = errno;
  }
  file_ = nullptr;
  if (ok && !temporary_.empty() && ReplaceFile(temporary_.c_str(), target_.c_str()) != 0) {
    ok = false;
    savedErrno = errno;
  }
  if (!ok) {
    *error = "cannot write '" + path_ + "': " + std::strerror(savedErrno);
    Discard();
    return false;
  }
  temporary_.clear();
  return true;
}

bool CAtomicOutput::OpenDirect(const std::string& target, std::string* error) {
  file_ = std::fopen(target.c_str(), "wb");
  if (!file_) {
    *error = "cannot write '" + path_ + "': " + std::strerror(errno);
    return false;
  }
  return true;
}

void CAtomicOutput::Discard() {
  if (file_) {
    fclose(file_);
    file_ = nullptr;
  }
  if (!temporary_.empty()) {
    unlink(temporary_.c_str());
    temporary_.clear();
  }
}
