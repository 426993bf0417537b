// The zizider program: render writes the page as a PNG; show and run put it
// on a sixel terminal.
#include <cstdio>
#include <memory>
#include <string>

#include "tools/zizider/atomic_output.h"
#include "tools/zizider/page_export.h"
#include "tools/zizider/render_options.h"
#include "zizider/zizider.h"
#ifndef _WIN32
// Sixel terminals, pseudo-terminals and reading the library's own state
// belong to the soft platform's build.
#include "platform/win32.h"
#include "tools/zizider/run.h"
#include "tools/zizider/show.h"
#include "tools/zizider/state_json.h"
#include "tools/zizider/subcommands.h"
#endif

#ifndef ZIZIDER_VERSION
#define ZIZIDER_VERSION "unknown"
#endif

namespace {

int Fail(int status, const std::string& message) {
  std::fprintf(stderr, "zizider: %s\n", message.c_str());
  return status;
}

int Render(const CRenderOptions& options) {
  InstallInterruptHandler();
  std::string error;
  const std::string firstInput = options.inputs.empty() ? std::string("-") : options.inputs.front();
  CAtomicOutput output(options.output.empty() ? DefaultOutputName(firstInput) : options.output);
  if (!output.Open(&error)) return Fail(1, error);

  std::unique_ptr<CHostWindow> host = OpenHost(options, &error);
  if (!host) return Fail(1, error);
  CAbortFlagsGuard abortGuard(*host, options);
  if (!LoadInputs(options, *host, &error)) return Fail(1, error);

  if (options.display == DisplayKind::TrueColour) {
    CRgbPicture picture;
    if (!ExportRgbPicture(options, *host, &picture, &error)) return Fail(1, error);
    if (!WriteRgbPng(output.file(), picture, &error))
      return Fail(1, "cannot write '" + output.path() + "': " + error);
  } else {
    CIndexedPicture picture;
#ifdef _WIN32
    if (!ExportPicture(options, *host, &picture, &error)) return Fail(1, error);
    if (!WriteIndexedPng(output.file(), picture, &error))
#else
    // The page goes to the file from where the library holds it.
    CIndexedRows rows;
    if (!ExportRows(options, *host, &picture, &rows, &error)) return Fail(1, error);
    if (!WriteIndexedPng(output.file(), rows, picture.palette, &error))
#endif
      return Fail(1, "cannot write '" + output.path() + "': " + error);
  }
  if (Interrupted()) return Fail(1, "interrupted");
  if (!output.Commit(&error)) return Fail(1, error);

#ifndef _WIN32
  if (options.state) {
    const std::string json = StateJson(host->host());
    std::fprintf(stdout, "%s\n", json.c_str());
    if (std::fflush(stdout) != 0) return Fail(1, "cannot write the state to standard output");
  }
#endif
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  const std::string command = argc > 1 ? argv[1] : "";
#ifdef _WIN32
  // The library put up its splash when it was loaded; a terminal takes it
  // down once its own window is there.
  KXREG_DeleteSplash();
  if (command == "print" || command == "splash" || command == "show" || command == "run")
    return Fail(2, command + " is not part of the Windows build; render is");
#else
  if (command == "print") return RunPrint(argc, argv);
  if (command == "splash") return RunSplash(argc, argv);
#endif
  const CCommandLine commandLine = ParseCommandLine(argc, argv);
  if (!commandLine.ok) return Fail(2, commandLine.error);
#ifdef _WIN32
  if (commandLine.options.state)
    return Fail(2, "--state reads the library's own objects: not in the Windows build");
#endif
  if (commandLine.options.help) {
    std::fputs(UsageText().c_str(), stdout);
    return 0;
  }
  if (commandLine.options.version) {
    std::printf("zizider %s\n", ZIZIDER_VERSION);
    return 0;
  }
#ifndef _WIN32
  if (commandLine.options.command == "show") return Show(commandLine.options);
  if (commandLine.options.command == "run") return Run(commandLine.options);
#endif
  return Render(commandLine.options);
}
