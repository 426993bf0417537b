// Feeds arbitrary bytes through KXREG_HandleNextString, as a terminal would
// hand over whatever the remote side sends. Besides crashes, hangs, leaks and
// undefined behaviour it checks two promises:
//  - the same stream in one string and cut into strings of another length
//    leaves the same pages and the same state;
//  - KXREG_RefreshFromBuf after the stream redraws the pages the live run
//    drew, and ends in the same state (see README.md for the inputs it skips).
// The page is 80 x 24 pixels so that repainting the window costs little.
#include <fcntl.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "interp/interpreter.h"
#include "support/test_host.h"
#include "surface/colour_map.h"
#include "surface/graphics_context.h"
#include "tools/zizider/state_json.h"

namespace {

CTestHost& Host() {
  static CTestHost* host = [] {
    soft::inspect::UseVirtualClock(true);
    soft::inspect::SetAdvancePerEmptyPoll(
        3600000);  // an hour a poll: waits of the screen command cost nothing
    soft::inspect::EchoMessageBoxes(false);
    CTestHost::Options options;
    options.cellWidth = 1;
    options.cellHeight = 1;
    options.init = false;
    return new CTestHost(options);
  }();
  return *host;
}

// Counts the journal's temporary files: one more than the instance opened
// itself means the stream restarted the journal (an erase). The files live
// in memory where it can, as creating one on disk costs more than an input.
int g_journalOpens = 0;
TempFileOpener g_openTempFile = nullptr;
FILE* CountingOpener() {
  ++g_journalOpens;
  const int fd = open("/dev/shm", O_TMPFILE | O_RDWR, 0600);
  if (fd < 0) return g_openTempFile();
  FILE* file = fdopen(fd, "w+b");
  if (!file) close(fd);
  return file;
}

void AppendNumbers(std::string& out, std::initializer_list<long long> values) {
  for (long long v : values) out += std::to_string(v) + ',';
  out += ';';
}

void AppendWriting(std::string& out, const CWriteControls* w) {
  if (!w) return out.append("-;"), void();
  AppendNumbers(out, {w->foreground, w->pixelMultiplier, w->pattern, w->patternMultiplier, w->mode,
                      w->planeMask, w->shading.reference, w->shading.character, w->shading.flags, w->flags});
}

void AppendText(std::string& out, const CTextState* t) {
  if (!t) return out.append("-;"), void();
  AppendNumbers(out, {t->displayCellWidth, t->displayCellHeight, t->unitCellWidth, t->unitCellHeight,
                      t->spacingX, t->spacingY, t->stringDirection, t->characterDirection, t->italic,
                      t->g0Set, t->g1Set, t->alphabet, t->loadingAlphabet});
  out.append(reinterpret_cast<const char*>(t->loaded), sizeof t->loaded);
}

// What a replay keeps as it finds it: writing controls, text attributes and
// alphabets, screen addressing, macrographs, saved positions, colour map,
// the interpreter's lasting flags.
std::string Carried(CTestHost& host) {
  std::string out;
  CInterpreter* interp = host.Interpreter();
  CGraphicsState* state = host.State();
  CGraphicsContext* context = host.Context();
  if (!interp || !state || !context) return out;
  AppendWriting(out, state->permanent);
  AppendWriting(out, state->active);
  if (context->text) {
    AppendText(out, context->text->pair.saved.get());
    AppendText(out, context->text->pair.current.get());
  }
  AppendNumbers(out, {interp->addrX1, interp->addrY1, interp->addrX2, interp->addrY2, interp->addrHeight,
                      interp->addrWidth, interp->flags & (kFlagRelativeFromCurrent | kFlagTextBlock)});
  for (double d : {interp->sx, interp->ox, interp->sy, interp->oy, interp->userWidth, interp->userHeight})
    out.append(reinterpret_cast<const char*>(&d), sizeof d);
  for (HGLOBAL macro : interp->macros) {
    if (const char* text = macro ? static_cast<const char*>(GlobalLock(macro)) : nullptr) {
      out += text;
      GlobalUnlock(macro);
    }
    out += '\n';
  }
  AppendNumbers(out, {interp->positionStack.Count()});
  if (const CSavedPosition* top = interp->positionStack.Top()) AppendNumbers(out, {top->x, top->y, top->tag});
  for (int i = 0; i < kColourMapSize; ++i) {
    const CColour& c = WorkingColourMap()[i];
    AppendNumbers(out, {c.red, c.green, c.blue});
  }
  return out;
}

// Everything the two oracles compare: pages, drawing state, parser state.
struct Outcome {
  std::vector<uint8_t> page1, page2;
  std::string state;
  bool operator==(const Outcome& o) const { return page1 == o.page1 && page2 == o.page2 && state == o.state; }
};

Outcome Capture(CTestHost& host) {
  Outcome out;
  out.page1 = soft::inspect::ReadDCBytes(KXREG_GetMemDC(host.Host(), 1));
  out.page2 = soft::inspect::ReadDCBytes(KXREG_GetMemDC(host.Host(), 2));
  out.state = StateJson(host.Host()) + Carried(host);
  if (CGraphicsState* s = host.State())
    AppendNumbers(out.state, {s->screenLeft, s->screenTop, s->screenRight, s->screenBottom, s->background,
                              s->flags, s->inputMode, s->cursorStyle, s->userCursor[0], s->userCursor[1],
                              s->userCursorX, s->userCursorY});
  if (CGraphicsContext* c = host.Context(); c && c->text)
    AppendNumbers(out.state, {c->text->lineStart.x, c->text->lineStart.y});
  if (CInterpreter* i = host.Interpreter()) AppendNumbers(out.state, {i->parseStack.Count(), i->flags});
  return out;
}

void Fail(const char* what) {
  std::fprintf(stderr, "regis_fuzz: %s\n", what);
  std::abort();
}

// A fresh instance from the default colour map, as after loading the module.
void Start(CTestHost& host) {
  ResetColourMap();
  host.Init();
  host.callbacks.clear();
}

void Stop(CTestHost& host) {
  host.Erase();
  host.callbacks.clear();
  soft::inspect::ClearDebugOutput();
  soft::inspect::ClearMessageBoxes();
  soft::inspect::ClearInvalidations(host.Window());
}

}  // namespace

// A small quarantine lets freed blocks be reused soon: every input makes two
// instances, and fresh pages for each cost more than the input itself.
extern "C" const char* __asan_default_options() {
  return "quarantine_size_mb=16:max_malloc_fill_size=0";
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  CTestHost& host = Host();
  if (!g_openTempFile) g_openTempFile = SetTempFileOpener(&CountingOpener);

  // The first byte picks the string length the second run cuts the stream
  // into; strings cannot hold a NUL, so those bytes are left out.
  const size_t chunk = 1 + data[0] % 64;
  std::string stream;
  for (size_t i = 1; i < size; ++i)
    if (data[i]) stream.push_back(static_cast<char>(data[i]));

  // A stream no longer than one piece is its own whole run.
  const bool cutApart = chunk < stream.size();
  Outcome whole;
  if (cutApart) {
    Start(host);
    host.Feed(stream);
    whole = Capture(host);
    Stop(host);
  }

  Start(host);
  const std::string carriedAtStart = Carried(host);
  const int opensAtStart = g_journalOpens;
  for (size_t i = 0; i < stream.size(); i += chunk) host.Feed(stream.substr(i, chunk));
  if (cutApart && !(Capture(host) == whole))
    Fail("the stream cut into strings ends differently from the stream in one string");

  // The replay starts from a fresh dispatcher only after a ';' that resets.
  host.Feed(";");
  const Outcome live = Capture(host);
  CInterpreter* interp = host.Interpreter();
  const bool replayable = g_journalOpens == opensAtStart && interp->parseStack.Count() == 1 &&
                          !(interp->flags & kFlagSemicolonData) && Carried(host) == carriedAtStart;
  if (KXREG_RefreshFromBuf(host.Host()) != 0) Fail("the redraw from the journal did not complete");
  if (replayable && !(Capture(host) == live)) Fail("the redraw from the journal differs from the live run");
  Stop(host);
  return 0;
}
