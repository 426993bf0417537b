// What every subcommand that draws a page shares: the break handling, the
// host window made to the options, the inputs fed through it as a terminal
// feeds them, and the chosen page read back as an indexed picture.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "tools/zizider/host_window.h"
#ifndef _WIN32
#include "tools/zizider/interrupt_relay.h"
#endif
#include "tools/zizider/png_writer.h"
#include "tools/zizider/render_options.h"

// Ctrl-C and SIGTERM set the flag and ask the library to stop; first thing
// in a subcommand, so that a break at any point ends it cleanly.
void InstallInterruptHandler();
bool Interrupted();

// Points the break handler at the host's flag word while it lives, and, when
// delays take their real time, relays a break into the host window's queue,
// where a long wait sees it. On the virtual clock every wait ends within a
// few polls and the flag is seen with the next string, so no relay runs.
class CAbortFlagsGuard {
 public:
  CAbortFlagsGuard(CHostWindow& host, const CRenderOptions& options);
  ~CAbortFlagsGuard();
  CAbortFlagsGuard(const CAbortFlagsGuard&) = delete;
  CAbortFlagsGuard& operator=(const CAbortFlagsGuard&) = delete;

 private:
#ifndef _WIN32
  std::unique_ptr<CInterruptRelay> relay_;
#endif
};

// Sets the clock as the options ask and opens a host window of their grid
// and colours; null with one line when the library refuses.
std::unique_ptr<CHostWindow> OpenHost(const CRenderOptions& options, std::string* error);

// Reads every input through the DCS stripper into the host; false with one
// line when an input fails or a break came.
bool LoadInputs(const CRenderOptions& options, CHostWindow& host, std::string* error);

#ifndef _WIN32
CIndexedPicture PictureOf(soft::inspect::IndexImage&& image);
#endif

// The page (or the repainted window) the options choose.
bool ExportPicture(const CRenderOptions& options, CHostWindow& host, CIndexedPicture* picture,
                   std::string* error);
#ifndef _WIN32
// The same, with rows that point into the library's page itself when the page
// is chosen (no copy is made), else into the picture's indices; the picture
// always gets the palette.
bool ExportRows(const CRenderOptions& options, CHostWindow& host, CIndexedPicture* picture,
                CIndexedRows* rows, std::string* error);
#endif
// The page of a true-colour display as RGB.
bool ExportRgbPicture(const CRenderOptions& options, CHostWindow& host, CRgbPicture* picture,
                      std::string* error);
