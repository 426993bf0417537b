// The text context's snapshot: only the line start goes back on a replay;
// the attributes and loaded alphabets keep their current values.
#include "surface/text_state.h"

void CTextCtx::Snapshot() {
  if (!snapshot_) snapshot_ = std::make_unique<CPoint32>();
  *snapshot_ = lineStart;
}

void CTextCtx::Restore() {
  if (snapshot_) lineStart = *snapshot_;
}
