// Feeds arbitrary bytes through KXREG_HandleNextString, as a terminal would
// hand over whatever the remote side sends. Besides crashes, hangs, leaks and
// undefined behaviour it checks two promises:
//  - the same stream in one string and cut into strings of another length
//    leaves the same pages and the same state;
//  - KXREG_RefreshFromBuf after the stream redraws the pages the live run
//    drew, and ends in the same state (see README.md for the inputs it skips).
// The page is 80 x 24 pixels so that repainting the window costs little.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "interp/interpreter.h"
#include "support/test_host.h"
#include "surface/colour_map.h"
#include "surface/graphics_context.h"

namespace {

// The journal's files are streams over one buffer in memory, sized to hold
// the whole input: one instance lives at a time and closes its file before
// it opens the next. One more open than the instance made itself means the
// stream restarted the journal (an erase).
std::vector<char> g_journal;
int g_journalOpens = 0;
FILE* OpenJournal() {
  ++g_journalOpens;
  return fmemopen(g_journal.data(), g_journal.size(), "w+");
}

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
    SetTempFileOpener(&OpenJournal);
    return new CTestHost(options);
  }();
  return *host;
}

// Values as raw bytes: cheaper than text and as exact.
template <class... T>
void Put(std::string& out, T... values) {
  (out.append(reinterpret_cast<const char*>(&values), sizeof values), ...);
}

void PutWriting(std::string& out, const CWriteControls* w) {
  if (!w) return out.push_back('-');
  Put(out, w->foreground, w->pixelMultiplier, w->pattern, w->patternMultiplier, w->mode, w->planeMask,
      w->shading.reference, w->shading.character, w->shading.flags, w->flags);
}

void PutText(std::string& out, const CTextState* t) {
  if (!t) return out.push_back('-');
  Put(out, t->displayCellWidth, t->displayCellHeight, t->unitCellWidth, t->unitCellHeight, t->spacingX,
      t->spacingY, t->stringDirection, t->characterDirection, t->italic, t->g0Set, t->g1Set, t->alphabet,
      t->loadingAlphabet);
  out.append(reinterpret_cast<const char*>(t->loaded), sizeof t->loaded);
}

// What the oracles compare, as a digest: one buffer serves every capture, so
// that tens of kilobytes of alphabets are not copied around. First what a
// replay keeps as it finds it (writing controls, text attributes and
// alphabets, screen addressing, macrographs, saved positions, colour map, the
// interpreter's lasting flags), then pages, drawing state and parser state.
using Digest = size_t;
Digest Capture(CTestHost& host, bool carriedOnly = false) {
  static std::string out;
  out.clear();
  CInterpreter* interp = host.Interpreter();
  CGraphicsState* s = host.State();
  CGraphicsContext* context = host.Context();
  if (!interp || !s || !context || !context->text) return 0;
  PutWriting(out, s->permanent);
  PutWriting(out, s->active);
  PutText(out, context->text->pair.saved.get());
  PutText(out, context->text->pair.current.get());
  Put(out, interp->addrX1, interp->addrY1, interp->addrX2, interp->addrY2, interp->addrHeight,
      interp->addrWidth, interp->flags & (kFlagRelativeFromCurrent | kFlagTextBlock), interp->sx, interp->ox,
      interp->sy, interp->oy, interp->userWidth, interp->userHeight);
  for (HGLOBAL macro : interp->macros) {
    if (const char* text = macro ? static_cast<const char*>(GlobalLock(macro)) : nullptr) {
      out += text;
      GlobalUnlock(macro);
    }
    out += '\n';
  }
  Put(out, interp->positionStack.Count());
  if (const CSavedPosition* top = interp->positionStack.Top()) Put(out, top->x, top->y, top->tag);
  out.append(reinterpret_cast<const char*>(WorkingColourMap()), kColourMapSize * sizeof(CColour));
  if (!carriedOnly) {
    for (int page = 1; page <= 2; ++page) {
      const std::vector<uint8_t> bytes = soft::inspect::ReadDCBytes(KXREG_GetMemDC(host.Host(), page));
      out.append(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    }
    Put(out, s->x, s->y, s->pages, s->outputPage, s->screenPage, s->screenLeft, s->screenTop, s->screenRight,
        s->screenBottom, s->background, s->flags, s->inputMode, s->cursorStyle, s->userCursor[0],
        s->userCursor[1], s->userCursorX, s->userCursorY, context->text->lineStart.x,
        context->text->lineStart.y, interp->parseStack.Count(), interp->flags, interp->lastError,
        interp->lastErrorChar);
  }
  return std::hash<std::string>()(out);
}

void Fail(const char* what) {
  std::fprintf(stderr, "regis_fuzz: %s\n", what);
  std::abort();
}

// A fresh instance from the default colour map, as after loading the module.
void Start(CTestHost& host) {
  ResetColourMap();  // before the instance, which sets its palette from the map
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

// Every input makes and frees two instances: a small quarantine lets freed
// blocks be reused soon and short allocation stacks are cheap to record
// (ASAN_OPTIONS=malloc_context_size=30 gives full ones when reproducing).
extern "C" const char* __asan_default_options() {
  return "quarantine_size_mb=1:max_malloc_fill_size=0:malloc_context_size=8:allocator_release_to_os_interval_"
         "ms=-1";
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

// libFuzzer runs an input a second time, and scans the heap for leaks when
// that run too ends holding more blocks than it started with: inputs do
// while the platform's handle table, font caches and stretch cache are
// still filling. So before the first input, streams that draw much of what
// inputs draw fill them: text of every size, slant and direction, curves,
// fills, scaled copies and a macrograph.
extern "C" int LLVMFuzzerInitialize(int*, char***) {
  std::string text;
  for (int c = ' '; c < 127; ++c)
    if (c != '\'' && c != '"') text.push_back(static_cast<char>(c));
  std::vector<std::string> streams = {
      "P[10,10]C[+50]C(C)[50,20]C(A90)[45,20]C(A-135C)[+30,-20]W(S1)C(A200)[+60]W(S0)W(C)C(B)[+40,+10]"
      "[+10,+40][-30,+5](E)C(S)[10,10][20,5][30,10][40,5](E)C(W(I2))[+5]C444",
      "@:AP[+10,+0]F(V[+20,+0][+0,+20][-20,+0])@;@A@aP[10,10]F(V[20,10][20,20](B)[10,20](E)C[+20]W(I2)@A)"
      "F(C[+9])F(V[1,1];V[2,2]",
      "W(I3,P2,F5,S1)P[1,1]V[79,23]W(C)V[0,0]W(S'X',N1)V[40,20]C[+8]S(M1(H120L50S100)2(L40))S(E)S(T10)S[5,5]"
      "R(P)S(S)S(C1)S(H[0,0][40,12])",
      "L(A2'GREEK')L'A'FF818181818181818181L'b'3C;T(A2,D270)'Ab'T(A0)T(M[2,3],U[8,10],H4)'neg'",
  };
  for (int size = 0; size <= 16; ++size)
    for (int direction = 0; direction < 360; direction += 45)
      for (int italic : {0, -22})
        streams.push_back("P[40,12]T(S" + std::to_string(size) + ",D" + std::to_string(direction) + ",I" +
                          std::to_string(italic) + ")'" + text + "'");
  for (int round = 0; round < 2; ++round)
    for (const std::string& stream : streams)
      LLVMFuzzerTestOneInput(reinterpret_cast<const uint8_t*>(("\x10" + stream).data()), stream.size() + 1);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  CTestHost& host = Host();

  // The first byte picks the string length the second run cuts the stream
  // into (its low six bits) and whether to redraw (below); strings cannot
  // hold a NUL, so those bytes are left out.
  const size_t chunk = 1 + data[0] % 64;
  std::string stream;
  for (size_t i = 1; i < size; ++i)
    if (data[i]) stream.push_back(static_cast<char>(data[i]));
  if (g_journal.size() < stream.size() + 4096) g_journal.resize(2 * stream.size() + 4096);

  // A stream no longer than one piece is its own whole run.
  const bool cutApart = chunk < stream.size();
  Digest whole = 0;
  if (cutApart) {
    Start(host);
    host.Feed(stream);
    whole = Capture(host);
    Stop(host);
  }

  Start(host);
  // Fresh instances all carry the same; were one to differ, the redraw
  // check would only be skipped more often.
  static const Digest carriedAtStart = Capture(host, true);
  const int opensAtStart = g_journalOpens;
  std::string piece;
  for (size_t i = 0; i < stream.size(); i += chunk) host.Feed(piece.assign(stream, i, chunk));
  if (cutApart && Capture(host) != whole)
    Fail("the stream cut into strings ends differently from the stream in one string");

  // The replay starts from a fresh dispatcher only after a ';' that resets.
  host.Feed(";");
  CInterpreter* interp = host.Interpreter();
  const bool replayable = g_journalOpens == opensAtStart && interp->parseStack.Count() == 1 &&
                          !(interp->flags & kFlagSemicolonData) && Capture(host, true) == carriedAtStart;
  const Digest live = replayable ? Capture(host) : 0;

  // Where the check does not apply, a redraw can only find a fault, and it
  // costs as much as both live runs (every macrograph the stream defined is
  // invoked again wherever the journal calls it). Those inputs are redrawn
  // when the top two bits of the first byte are set, a quarter of them, so
  // that redraws from carried state stay fuzzed.
  const bool redraw = replayable || (data[0] & 0xC0) == 0xC0;
  if (redraw && KXREG_RefreshFromBuf(host.Host()) != 0) Fail("the redraw from the journal did not complete");
  if (replayable && Capture(host) != live) Fail("the redraw from the journal differs from the live run");
  Stop(host);
  return 0;
}
