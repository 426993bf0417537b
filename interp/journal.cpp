#include "interp/journal.h"

#include <vector>

#include "platform/win32.h"
#include "surface/graphics_context.h"

namespace {

constexpr size_t kJournalBuffer = 32767;
// How far back TruncateAtErase looks for the letter of the erasing command.
constexpr long kEraseLookBack = 256;

FILE* OpenTmpFile() {
  return std::tmpfile();
}

TempFileOpener g_openTempFile = &OpenTmpFile;

}  // namespace

TempFileOpener SetTempFileOpener(TempFileOpener opener) {
  TempFileOpener previous = g_openTempFile;
  g_openTempFile = opener ? opener : &OpenTmpFile;
  return previous;
}

CJournal::CJournal() {
  Open();
}

CJournal::~CJournal() {
  Close();
}

void CJournal::Attach(CGraphicsContext* graphicsContext) {
  context = graphicsContext;
}

void CJournal::Open() {
  file = g_openTempFile();
  // The journal grows one byte at a time; a large buffer keeps that cheap.
  if (file) std::setvbuf(file, nullptr, _IOFBF, kJournalBuffer);
  rewindPending = 1;
  lastWasRead_ = false;
  readOffset_ = 0;
}

void CJournal::Close() {
  Flush();
  if (file) std::fclose(file);
  file = nullptr;
}

void CJournal::AppendSlowly(char ch) {
  if (!file) {
    OutputDebugStringA("can not open temp file");
    return;
  }
  // A replay that stopped in the middle left the stream positioned for
  // reading; new bytes still belong at the end.
  if (lastWasRead_) {
    std::fseek(file, 0, SEEK_END);
    lastWasRead_ = false;
  }
  if (blockLength_ == kBlock) Flush();
  block_[blockLength_++] = ch;
}

void CJournal::Flush() {
  if (file && blockLength_) std::fwrite(block_, 1, blockLength_, file);
  blockLength_ = 0;
}

char CJournal::GetChar() {
  if (!file) return 0;
  if (!lastWasRead_) Flush();
  if (rewindPending) {
    std::fseek(file, 0, SEEK_SET);
    rewindPending = 0;
    readOffset_ = 0;
  } else if (!lastWasRead_) {
    std::fseek(file, readOffset_, SEEK_SET);
  }
  lastWasRead_ = true;
  const int byte = std::fgetc(file);
  if (byte == EOF) {
    rewindPending = 1;
    return 0;
  }
  ++readOffset_;
  return static_cast<char>(byte);
}

void CJournal::Snapshot() {
  if (!context) return;
  if (context->state) context->state->Snapshot();
  if (context->text) context->text->Snapshot();
}

void CJournal::Restore() {
  if (!context) return;
  if (context->state) context->state->Restore();
  if (context->text) context->text->Restore();
}

void CJournal::Clear() {
  Close();
  Open();
  Snapshot();
}

void CJournal::TruncateAtErase() {
  // The last byte is the erase option itself; the command letter lies
  // before it, at most kEraseLookBack bytes back.
  std::vector<char> kept;
  Flush();
  if (file && std::fseek(file, 0, SEEK_END) == 0) {
    lastWasRead_ = false;
    const long size = std::ftell(file);
    const long first = size - 1 - kEraseLookBack > 0 ? size - 1 - kEraseLookBack : 0;
    if (size >= 2 && std::fseek(file, first, SEEK_SET) == 0) {
      std::vector<char> tail(static_cast<size_t>(size - 1 - first));
      if (std::fread(tail.data(), 1, tail.size(), file) == tail.size()) {
        for (size_t i = tail.size(); i-- > 0;) {
          if (tail[i] == 'S' || tail[i] == 's') {
            kept.assign(tail.begin() + static_cast<long>(i), tail.end());
            break;
          }
        }
      }
    }
  }
  Clear();
  if (kept.empty()) return;
  for (char ch : kept) Append(ch);
  Append('E');
}
