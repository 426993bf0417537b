#include "cli_support.h"

#include <fcntl.h>
#include <png.h>
#include <poll.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>

namespace {

// A run that has not ended after this is killed, so a hang fails the test
// instead of stalling the suite.
constexpr auto kRunLimit = std::chrono::minutes(5);

void SetNonBlocking(int fd) {
  fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) | O_NONBLOCK);
}

}  // namespace

CProgramRun RunZizider(const std::vector<std::string>& args, const CProgramInput& source) {
  signal(SIGPIPE, SIG_IGN);
  CProgramRun run;
  int inPipe[2], outPipe[2], errPipe[2];
  if (pipe(inPipe) != 0 || pipe(outPipe) != 0 || pipe(errPipe) != 0) return run;

  std::vector<std::string> words{ZIZIDER_CLI};
  words.insert(words.end(), args.begin(), args.end());
  std::vector<char*> argv;
  for (std::string& w : words) argv.push_back(w.data());
  argv.push_back(nullptr);

  const pid_t pid = fork();
  if (pid == 0) {
    dup2(inPipe[0], 0);
    dup2(outPipe[1], 1);
    dup2(errPipe[1], 2);
    for (int fd : {inPipe[0], inPipe[1], outPipe[0], outPipe[1], errPipe[0], errPipe[1]}) close(fd);
    signal(SIGPIPE, SIG_DFL);
    if (source.fileSizeLimit >= 0) {
      // A write past the limit then fails with EFBIG instead of killing.
      signal(SIGXFSZ, SIG_IGN);
      rlimit limit{static_cast<rlim_t>(source.fileSizeLimit), static_cast<rlim_t>(source.fileSizeLimit)};
      setrlimit(RLIMIT_FSIZE, &limit);
    }
    execv(argv[0], argv.data());
    _exit(127);
  }
  close(inPipe[0]);
  close(outPipe[1]);
  close(errPipe[1]);
  int inFd = inPipe[1], outFd = outPipe[0], errFd = errPipe[0];
  SetNonBlocking(inFd);
  SetNonBlocking(outFd);
  SetNonBlocking(errFd);

  std::string pending = source.input;
  size_t offset = 0;
  bool moreToCome = static_cast<bool>(source.more);
  const auto deadline = std::chrono::steady_clock::now() + kRunLimit;
  while (outFd >= 0 || errFd >= 0) {
    if (inFd >= 0 && offset == pending.size()) {
      pending.clear();
      offset = 0;
      if (moreToCome) moreToCome = source.more(pending);
      if (pending.empty() && !moreToCome && !source.keepOpen) {
        close(inFd);
        inFd = -1;
      }
    }
    pollfd fds[3];
    int count = 0;
    if (outFd >= 0) fds[count++] = {outFd, POLLIN, 0};
    if (errFd >= 0) fds[count++] = {errFd, POLLIN, 0};
    const bool writing = inFd >= 0 && offset < pending.size();
    if (writing) fds[count++] = {inFd, POLLOUT, 0};
    poll(fds, static_cast<nfds_t>(count), 50);
    if (source.whileRunning) source.whileRunning(pid);
    if (std::chrono::steady_clock::now() > deadline) kill(pid, SIGKILL);

    char buffer[65536];
    for (int* fd : {&outFd, &errFd}) {
      if (*fd < 0) continue;
      const ssize_t n = read(*fd, buffer, sizeof buffer);
      if (n > 0) {
        (fd == &outFd ? run.out : run.err).append(buffer, static_cast<size_t>(n));
      } else if (n == 0 || (errno != EAGAIN && errno != EINTR)) {
        close(*fd);
        *fd = -1;
      }
    }
    if (writing) {
      const ssize_t n = write(inFd, pending.data() + offset, pending.size() - offset);
      if (n > 0) {
        offset += static_cast<size_t>(n);
      } else if (n < 0 && errno != EAGAIN && errno != EINTR) {
        close(inFd);  // the program stopped reading
        inFd = -1;
      }
    }
  }
  if (inFd >= 0) close(inFd);
  int status = 0;
  waitpid(pid, &status, 0);
  run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
  return run;
}

namespace {

// What libpng hands back, in plain storage: the jump back from a libpng error
// must find no C++ objects in the reading frame.
struct CRawPng {
  png_uint_32 width = 0, height = 0;
  int bitDepth = 0, colourType = 0;
  png_color palette[256] = {};
  int count = 0;
  size_t rowBytes = 0;
  unsigned char* pixels = nullptr;  // malloc'ed
};

bool ReadRaw(FILE* file, CRawPng* raw) {
  png_structp reader = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  if (!reader) return false;
  png_infop info = png_create_info_struct(reader);
  if (!info) {
    png_destroy_read_struct(&reader, nullptr, nullptr);
    return false;
  }
  if (setjmp(png_jmpbuf(reader))) {
    png_destroy_read_struct(&reader, &info, nullptr);
    return false;
  }
  png_init_io(reader, file);
  png_read_info(reader, info);
  raw->width = png_get_image_width(reader, info);
  raw->height = png_get_image_height(reader, info);
  raw->bitDepth = png_get_bit_depth(reader, info);
  raw->colourType = png_get_color_type(reader, info);
  png_colorp colours = nullptr;
  int count = 0;
  if ((png_get_PLTE(reader, info, &colours, &count) & PNG_INFO_PLTE) && count <= 256) {
    raw->count = count;
    std::memcpy(raw->palette, colours, sizeof(png_color) * static_cast<size_t>(count));
  }
  raw->rowBytes = png_get_rowbytes(reader, info);
  raw->pixels = static_cast<unsigned char*>(std::malloc(raw->rowBytes * raw->height + 1));
  if (!raw->pixels) png_error(reader, "out of memory");
  for (png_uint_32 y = 0; y < raw->height; ++y)
    png_read_row(reader, raw->pixels + raw->rowBytes * y, nullptr);
  png_read_end(reader, nullptr);
  png_destroy_read_struct(&reader, &info, nullptr);
  return true;
}

}  // namespace

CPng ReadPng(const std::string& path) {
  CPng png;
  FILE* file = std::fopen(path.c_str(), "rb");
  if (!file) return png;
  CRawPng raw;
  const bool ok = ReadRaw(file, &raw);
  std::fclose(file);
  if (ok) {
    png.width = static_cast<int>(raw.width);
    png.height = static_cast<int>(raw.height);
    png.bitDepth = raw.bitDepth;
    png.colourType = raw.colourType;
    for (int i = 0; i < raw.count; ++i)
      png.palette.push_back({raw.palette[i].red, raw.palette[i].green, raw.palette[i].blue});
    png.indices.assign(raw.pixels, raw.pixels + raw.rowBytes * raw.height);
    png.ok = raw.rowBytes == raw.width;
  }
  std::free(raw.pixels);
  return png;
}

CTempDir::CTempDir() {
  const char* base = std::getenv("TMPDIR");
  std::string pattern = std::string(base && *base ? base : "/tmp") + "/zizider-cli-test.XXXXXX";
  std::vector<char> name(pattern.begin(), pattern.end());
  name.push_back('\0');
  if (mkdtemp(name.data())) path_ = name.data();
}

CTempDir::~CTempDir() {
  if (path_.empty()) return;
  chmod(path_.c_str(), 0700);
  std::error_code error;
  std::filesystem::remove_all(path_, error);
}

void CTempDir::Write(const std::string& name, const std::string& bytes) const {
  FILE* file = std::fopen(File(name).c_str(), "wb");
  if (!file) return;
  std::fwrite(bytes.data(), 1, bytes.size(), file);
  std::fclose(file);
}

std::vector<std::string> CTempDir::List() const {
  std::vector<std::string> names;
  std::error_code error;
  for (const auto& entry : std::filesystem::directory_iterator(path_, error))
    names.push_back(entry.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}
