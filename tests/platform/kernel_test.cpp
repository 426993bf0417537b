// KERNEL of the soft platform: the tick clock and global and local memory.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "platform/soft/inspect.h"
#include "platform/win32.h"

namespace {

namespace inspect = soft::inspect;

TEST(VirtualClock, MovesOnlyWhenAdvancedSleptOrPolledEmptyAndWrapsAt2To32) {
  inspect::UseVirtualClock(true);
  const DWORD start = GetTickCount();
  std::vector<DWORD> ticks = {GetTickCount() - start};
  inspect::AdvanceClock(250);
  Sleep(1000);  // returns at once and moves the clock
  ticks.push_back(GetTickCount() - start);
  inspect::SetAdvancePerEmptyPoll(16);
  MSG msg;
  PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE);  // an empty poll advances
  ticks.push_back(GetTickCount() - start);
  PostMessageA(nullptr, WM_USER, 0, 0);
  PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE);  // a busy one does not
  ticks.insert(ticks.end(), {GetTickCount() - start, msg.time - start});
  inspect::AdvanceClock(0xFFFFFFFFu - (start + 1266) + 2);
  ticks.push_back(GetTickCount());
  EXPECT_EQ(ticks, (std::vector<DWORD>{0, 1250, 1266, 1266, 1266, 1}));
  inspect::SetAdvancePerEmptyPoll(0);
  inspect::UseVirtualClock(false);
}

TEST(GlobalMemory, MoveableBlocksCountLocksAndKeepTheirContentsThroughReAlloc) {
  const size_t handles = inspect::LiveHandles();
  HGLOBAL h = GlobalAlloc(GHND, 4);
  EXPECT_EQ(inspect::LiveHandles(), handles) << "not counted as a GDI or USER handle";
  auto* p = static_cast<char*>(GlobalLock(h));
  ASSERT_NE(p, nullptr);
  std::memcpy(p, "abcd", 4);
  EXPECT_EQ(std::vector<bool>(
                {GlobalLock(h) != nullptr, GlobalUnlock(h) != 0, GlobalUnlock(h) != 0, GlobalUnlock(h) != 0}),
            std::vector<bool>({true, true, false, false}))
      << "still locked once, then unlocked, then not locked";
  EXPECT_EQ(GlobalReAlloc(h, 100000, GMEM_ZEROINIT), h) << "a moveable handle survives a move";
  p = static_cast<char*>(GlobalLock(h));
  EXPECT_EQ(std::string(p, 4) + std::to_string(p[99999]), "abcd0");
  GlobalUnlock(h);
  EXPECT_EQ(GlobalFree(h), nullptr);
  EXPECT_EQ(GlobalFree(h), h) << "a second free fails";

  h = GlobalAlloc(GMEM_MOVEABLE, 8);
  ASSERT_NE(GlobalLock(h), nullptr);
  EXPECT_EQ(GlobalReAlloc(h, 1 << 20, 0), nullptr) << "a locked block may not move";
  EXPECT_EQ(GlobalSize(h), 8u) << "a failed reallocation leaves the block as it was";
  EXPECT_EQ(GlobalReAlloc(h, 4, 0), h) << "shrinking never moves";
  EXPECT_EQ(GlobalReAlloc(h, 1 << 20, GMEM_MOVEABLE), h);
  EXPECT_EQ(GlobalReAlloc(h, 0, GMEM_MOVEABLE), nullptr) << "a locked block cannot be discarded";
  GlobalUnlock(h);
  EXPECT_EQ(GlobalReAlloc(h, 0, GMEM_MOVEABLE), h);
  EXPECT_EQ(GlobalLock(h), nullptr) << "a discarded block has no bytes to lock";
  EXPECT_EQ(GlobalReAlloc(h, 16, GMEM_MOVEABLE), h);
  GlobalFree(h);
  soft::inspect::SetGlobalAllocLimit(64);
  EXPECT_EQ(std::vector<bool>({GlobalAlloc(GHND, 65) == nullptr, LocalAlloc(LPTR, 65) == nullptr,
                               GlobalFree(GlobalAlloc(GHND, 64)) == nullptr}),
            std::vector<bool>(3, true));
  soft::inspect::SetGlobalAllocLimit(0);
}

TEST(GlobalMemory, AFixedBlockIsItsOwnHandle) {
  HGLOBAL h = GlobalAlloc(GPTR, 16);
  ASSERT_NE(h, nullptr);
  EXPECT_EQ(GlobalLock(h), h);
  EXPECT_TRUE(GlobalUnlock(h)) << "fixed blocks answer TRUE";
  EXPECT_EQ(GlobalSize(h), 16u);
  EXPECT_EQ(static_cast<char*>(h)[15], 0);
  EXPECT_EQ(GlobalReAlloc(h, 64, 0), nullptr) << "growing a fixed block would move it";
  HGLOBAL moved = GlobalReAlloc(h, 64, GMEM_MOVEABLE | GMEM_ZEROINIT);
  ASSERT_NE(moved, nullptr);
  EXPECT_EQ(static_cast<char*>(moved)[63], 0);
  EXPECT_EQ(GlobalFree(moved), nullptr);
  EXPECT_EQ(LocalFree(LocalAlloc(LPTR, 32)), nullptr);
}

TEST(GlobalMemory, WrongAndFreedHandlesFailWithoutBeingTouched) {
  int local = 0;
  HGLOBAL freed = GlobalAlloc(GHND, 4);
  GlobalFree(freed);
  for (HGLOBAL h : {HGLOBAL(&local), reinterpret_cast<HGLOBAL>(0x10), GetStockObject(WHITE_BRUSH), freed}) {
    EXPECT_EQ(GlobalLock(h), nullptr);
    EXPECT_FALSE(GlobalUnlock(h));
    EXPECT_EQ(GlobalSize(h), 0u);
    EXPECT_EQ(GlobalReAlloc(h, 10, GMEM_MOVEABLE), nullptr);
    EXPECT_EQ(GlobalFree(h), h);
  }
  EXPECT_EQ(GlobalFree(nullptr), nullptr);
}

}  // namespace
