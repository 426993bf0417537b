// The per-window drawing objects: their wiring and the snapshots a replay
// starts from.
#include "surface/graphics_context.h"

#include <gtest/gtest.h>

namespace {

TEST(GraphicsState, RestoreReturnsToTheLastSnapshotButKeepsTheWritingControls) {
  CGraphicsContext context(nullptr);
  CGraphicsState& s = context.graphicsState;
  s.x = 77;
  s.Restore();
  EXPECT_EQ(s.x, 77) << "without a snapshot nothing changes";
  s.x = 9, s.y = 1;
  s.Snapshot();
  s.x = 10, s.y = 2, s.background = 4, s.outputPage = 1, s.flags = kOutputCursorOn;
  s.Snapshot();  // replaces the first
  s.x = 300, s.y = 3, s.background = 0, s.outputPage = 0, s.flags = 0;
  s.active->foreground = 3;
  s.Restore();
  EXPECT_EQ((std::vector<int>{s.x, s.y, s.background, s.outputPage}), (std::vector<int>{10, 2, 4, 1}));
  EXPECT_TRUE(s.OutputCursorOn());
  EXPECT_EQ(s.active->foreground, 3) << "the writing controls are not part of it";
  s.permanent->foreground = 5;
  s.LoadActiveAttributes();
  EXPECT_EQ(s.active->foreground, 5);
  s.active->planeMask = 3;
  s.StoreActiveAttributes();
  EXPECT_EQ(s.permanent->planeMask, 3);
}

}  // namespace
