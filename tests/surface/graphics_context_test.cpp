// The per-window drawing objects: their wiring and the snapshots a replay
// starts from.
#include "surface/graphics_context.h"

#include <gtest/gtest.h>

namespace {

TEST(GraphicsContext, WiresTheStateTheRecordsAndTheSurface) {
  auto* surface = reinterpret_cast<CGrDrv*>(uintptr_t{0x1000});  // only stored
  CGraphicsContext context(surface);
  EXPECT_EQ(context.state, &context.graphicsState);
  EXPECT_EQ(context.text, &context.textCtx);
  EXPECT_EQ(context.graphicsState.surface, surface);
  ASSERT_NE(context.graphicsState.permanent, nullptr);
  ASSERT_NE(context.graphicsState.active, nullptr);
  EXPECT_NE(context.graphicsState.permanent, context.graphicsState.active);
  EXPECT_EQ(context.graphicsState.permanent->surface, surface);
  EXPECT_EQ(context.graphicsState.active->surface, surface);
  EXPECT_EQ(context.draw.surface, surface);
  EXPECT_EQ(context.draw.state, &context.graphicsState);
  EXPECT_EQ(context.draw.text, &context.textCtx);
  EXPECT_EQ(context.draw.hardCopyOffset.x, 50);
}

TEST(GraphicsState, RestoreReturnsToTheSnapshotButKeepsTheWritingControls) {
  CGraphicsContext context(nullptr);
  CGraphicsState& s = context.graphicsState;
  s.x = 10;
  s.background = 4;
  s.outputPage = 1;
  s.flags = kOutputCursorOn;
  s.Snapshot();
  s.x = 300;
  s.background = 0;
  s.outputPage = 0;
  s.flags = 0;
  s.active->foreground = 3;
  s.Restore();
  EXPECT_EQ(s.x, 10);
  EXPECT_EQ(s.background, 4);
  EXPECT_EQ(s.outputPage, 1);
  EXPECT_TRUE(s.OutputCursorOn());
  EXPECT_EQ(s.active->foreground, 3) << "the writing controls are not part of it";
}

TEST(GraphicsState, RestoreWithoutASnapshotChangesNothing) {
  CGraphicsContext context(nullptr);
  context.graphicsState.x = 77;
  context.graphicsState.Restore();
  EXPECT_EQ(context.graphicsState.x, 77);
}

TEST(GraphicsState, ASecondSnapshotReplacesTheFirst) {
  CGraphicsContext context(nullptr);
  CGraphicsState& s = context.graphicsState;
  s.y = 1;
  s.Snapshot();
  s.y = 2;
  s.Snapshot();
  s.y = 3;
  s.Restore();
  EXPECT_EQ(s.y, 2);
}

TEST(TextCtx, RestoreReturnsTheLineStartOnly) {
  CTextCtx text;
  text.lineStart = CPoint32{5, 6};
  text.Snapshot();
  text.lineStart = CPoint32{7, 8};
  text.pair.current->spacingX = 42;
  text.Restore();
  EXPECT_EQ(text.lineStart.x, 5);
  EXPECT_EQ(text.lineStart.y, 6);
  EXPECT_EQ(text.pair.current->spacingX, 42);
}

TEST(WriteControls, LoadAndStoreCopyBetweenThePermanentAndActiveRecords) {
  CGraphicsContext context(nullptr);
  CGraphicsState& s = context.graphicsState;
  s.permanent->foreground = 5;
  s.LoadActiveAttributes();
  EXPECT_EQ(s.active->foreground, 5);
  s.active->planeMask = 3;
  s.StoreActiveAttributes();
  EXPECT_EQ(s.permanent->planeMask, 3);
}

}  // namespace
