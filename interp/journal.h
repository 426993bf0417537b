// The journal: every accepted character in an anonymous temporary file, so
// that the picture can be redrawn from the first byte.
#pragma once

#include <cstdio>

class CGraphicsContext;

class CJournal {
 public:
  CJournal();
  ~CJournal();
  CJournal(const CJournal&) = delete;
  CJournal& operator=(const CJournal&) = delete;

  // Gives the journal the context whose states it snapshots.
  void Attach(CGraphicsContext* context);

  // Every received character: the common case only stores it in the block.
  void Append(char ch) {
    if (file && !lastWasRead_ && blockLength_ < kBlock)
      block_[blockLength_++] = ch;
    else
      AppendSlowly(ch);
  }
  // The next byte, 0 at the end (which also rewinds the next read).
  char GetChar();
  // Starts afresh: a new empty file and a snapshot of the state.
  void Clear();
  // Keeps only the erasing screen command that has just arrived.
  void TruncateAtErase();
  void Rewind() { rewindPending = 1; }
  // Hands the appended bytes still held in memory to the file.
  void Flush();

  // Snapshots the graphics state and the text state.
  void Snapshot();
  // Puts the graphics state and the text state back to the snapshot.
  void Restore();

  FILE* file = nullptr;
  int rewindPending = 1;
  CGraphicsContext* context = nullptr;

 private:
  void Open();
  void Close();
  void AppendSlowly(char ch);

  bool lastWasRead_ = false;  // the stream was last used for reading
  long readOffset_ = 0;       // where the next GetChar reads
  // Appended bytes not yet in the file: they go in whole blocks, not one
  // locked stdio call per character.
  static constexpr size_t kBlock = 32768;
  char block_[kBlock];
  size_t blockLength_ = 0;
};

// How the journal opens its temporary file; tests replace it to make the
// file fail. Returns the previous opener.
using TempFileOpener = FILE* (*)();
TempFileOpener SetTempFileOpener(TempFileOpener opener);
