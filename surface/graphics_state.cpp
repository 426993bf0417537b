// Snapshots of the drawing state, so that a replay of the journal starts
// from the state current when the journal began.
#include "surface/graphics_state.h"

void CGraphicsState::Snapshot() {
  if (!snapshot_) snapshot_ = std::make_unique<CGraphicsStateValues>();
  *snapshot_ = static_cast<const CGraphicsStateValues&>(*this);
}

void CGraphicsState::Restore() {
  if (snapshot_) static_cast<CGraphicsStateValues&>(*this) = *snapshot_;
}
