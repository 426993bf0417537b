#include "cli_support.h"

#include <png.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <thread>

namespace {

std::string ReadAll(FILE* file) {
  std::string text;
  char buffer[65536];
  std::rewind(file);
  for (size_t n; (n = std::fread(buffer, 1, sizeof buffer, file)) > 0;) text.append(buffer, n);
  std::fclose(file);
  return text;
}

// Apart from ReadPng: libpng's error jump must find no C++ objects in its frame.
bool ReadWhole(png_structp reader, png_infop info, FILE* file) {
  if (setjmp(png_jmpbuf(reader))) return false;
  png_init_io(reader, file);
  png_read_png(reader, info, PNG_TRANSFORM_IDENTITY, nullptr);
  return true;
}

}  // namespace

// Standard output and error go to files, so the program never waits on them.
CProgramRun RunZizider(const std::vector<std::string>& args, const CProgramInput& source) {
  signal(SIGPIPE, SIG_IGN);
  CProgramRun run;
  FILE *out = std::tmpfile(), *err = std::tmpfile();
  int in[2];
  if (!out || !err || pipe(in) != 0) return run;
  std::vector<std::string> words{ZIZIDER_CLI};
  words.insert(words.end(), args.begin(), args.end());
  std::vector<char*> argv;
  for (std::string& w : words) argv.push_back(&w[0]);
  argv.push_back(nullptr);

  const pid_t pid = fork();
  if (pid == 0) {
    dup2(in[0], 0);
    dup2(fileno(out), 1);
    dup2(fileno(err), 2);
    close(in[1]);
    signal(SIGPIPE, SIG_DFL);
    if (source.fileSizeLimit >= 0) {  // a write past it then fails with EFBIG instead of killing
      signal(SIGXFSZ, SIG_IGN);
      const rlimit limit{static_cast<rlim_t>(source.fileSizeLimit),
                         static_cast<rlim_t>(source.fileSizeLimit)};
      setrlimit(RLIMIT_FSIZE, &limit);
    }
    execv(argv[0], argv.data());
    _exit(127);
  }
  close(in[0]);
  std::thread feeder([&] {
    for (size_t at = 0; at < source.input.size();) {
      const ssize_t n = write(in[1], source.input.data() + at, source.input.size() - at);
      if (n <= 0) break;  // the program stopped reading
      at += static_cast<size_t>(n);
    }
    if (!source.keepOpen) close(in[1]);
  });
  // A run still going after this is killed: a hang fails the test instead of stalling the suite.
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::minutes(5);
  int status = 0;
  while (waitpid(pid, &status, WNOHANG) == 0) {
    if (source.whileRunning) source.whileRunning(pid);
    if (std::chrono::steady_clock::now() > deadline) kill(pid, SIGKILL);
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  feeder.join();
  if (source.keepOpen) close(in[1]);
  run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
  run.out = ReadAll(out);
  run.err = ReadAll(err);
  return run;
}

CPng ReadPng(const std::string& path) {
  CPng png;
  FILE* file = std::fopen(path.c_str(), "rb");
  if (!file) return png;
  png_structp reader = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = reader ? png_create_info_struct(reader) : nullptr;
  if (info && ReadWhole(reader, info, file)) {
    png.width = static_cast<int>(png_get_image_width(reader, info));
    png.height = static_cast<int>(png_get_image_height(reader, info));
    png.bitDepth = png_get_bit_depth(reader, info);
    png.colourType = png_get_color_type(reader, info);
    png_colorp colours = nullptr;
    int count = 0;
    if (png_get_PLTE(reader, info, &colours, &count) & PNG_INFO_PLTE)
      for (int i = 0; i < count; ++i)
        png.palette.push_back({colours[i].red, colours[i].green, colours[i].blue});
    const size_t rowBytes = png_get_rowbytes(reader, info);
    png_bytepp rows = png_get_rows(reader, info);
    for (int y = 0; y < png.height; ++y) png.indices.insert(png.indices.end(), rows[y], rows[y] + rowBytes);
    png.ok = rowBytes == static_cast<size_t>(png.width);
  }
  png_destroy_read_struct(&reader, &info, nullptr);
  std::fclose(file);
  return png;
}

std::vector<uint8_t> CPng::Rgb() const {
  std::vector<uint8_t> rgb;
  for (uint8_t index : indices) rgb.insert(rgb.end(), palette.at(index).begin(), palette.at(index).end());
  return rgb;
}

CTempDir::CTempDir() {
  const char* base = std::getenv("TMPDIR");
  std::string name = std::string(base && *base ? base : "/tmp") + "/zizider-cli-test.XXXXXX";
  if (mkdtemp(&name[0])) path_ = name;
}

void CTempDir::Write(const std::string& name, const std::string& bytes) const {
  if (FILE* file = std::fopen(File(name).c_str(), "wb")) {
    std::fwrite(bytes.data(), 1, bytes.size(), file);
    std::fclose(file);
  }
}

std::vector<std::string> CTempDir::List() const {
  std::vector<std::string> names;
  std::error_code error;
  for (const auto& entry : std::filesystem::directory_iterator(path_, error))
    names.push_back(entry.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}
