// KERNEL of the soft platform: the tick clock, global and local memory,
// debug output and the module handle.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "platform/soft/inspect.h"
#include "platform/win32.h"

namespace {

namespace inspect = soft::inspect;

class VirtualClock : public ::testing::Test {
 protected:
  void SetUp() override { inspect::UseVirtualClock(true); }
  void TearDown() override {
    inspect::SetAdvancePerEmptyPoll(0);
    inspect::UseVirtualClock(false);
  }
};

TEST_F(VirtualClock, MovesOnlyWhenAdvancedSleptOrPolledEmptyAndWrapsAt2To32) {
  const DWORD start = GetTickCount();
  EXPECT_EQ(GetTickCount(), start);
  inspect::AdvanceClock(250);
  Sleep(1000);
  EXPECT_EQ(GetTickCount(), start + 1250) << "Sleep returns at once and moves the clock";
  inspect::SetAdvancePerEmptyPoll(16);
  MSG msg;
  EXPECT_FALSE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
  EXPECT_EQ(GetTickCount(), start + 1266);
  PostMessageA(nullptr, WM_USER, 0, 0);
  EXPECT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
  EXPECT_EQ(GetTickCount(), start + 1266) << "a busy poll does not advance";
  EXPECT_EQ(msg.time, start + 1266) << "messages carry the time they were posted";
  inspect::AdvanceClock(0xFFFFFFFFu - (start + 1266));
  EXPECT_EQ(GetTickCount(), 0xFFFFFFFFu);
  inspect::AdvanceClock(2);
  EXPECT_EQ(GetTickCount(), 1u);
}

TEST(GlobalMemory, MoveableBlocksLockAndKeepTheirContentsThroughReAlloc) {
  const size_t handles = inspect::LiveHandles();
  HGLOBAL h = GlobalAlloc(GHND, 4);
  EXPECT_EQ(inspect::LiveHandles(), handles) << "not counted as a GDI or USER handle";
  auto* p = static_cast<char*>(GlobalLock(h));
  ASSERT_NE(p, nullptr);
  std::memcpy(p, "abcd", 4);
  EXPECT_NE(GlobalLock(h), nullptr);
  EXPECT_TRUE(GlobalUnlock(h)) << "still locked once";
  EXPECT_FALSE(GlobalUnlock(h)) << "now unlocked";
  EXPECT_FALSE(GlobalUnlock(h)) << "was not locked";
  EXPECT_EQ(GlobalReAlloc(h, 100000, GMEM_ZEROINIT), h) << "a moveable handle survives a move";
  p = static_cast<char*>(GlobalLock(h));
  EXPECT_EQ(std::memcmp(p, "abcd", 4), 0);
  EXPECT_EQ(p[99999], 0);
  GlobalUnlock(h);
  EXPECT_EQ(GlobalFree(h), nullptr);
  EXPECT_EQ(GlobalFree(h), h) << "a second free fails";
  EXPECT_EQ(GlobalLock(h), nullptr);
  EXPECT_EQ(GlobalSize(h), 0u);
}

TEST(GlobalMemory, ALockedBlockGrowsOnlyWhenAllowedToMoveAndBlocksAboveTheLimitFail) {
  HGLOBAL h = GlobalAlloc(GMEM_MOVEABLE, 8);
  ASSERT_NE(GlobalLock(h), nullptr);
  EXPECT_EQ(GlobalReAlloc(h, 1 << 20, 0), nullptr);
  EXPECT_EQ(GlobalSize(h), 8u) << "a failed reallocation leaves the block as it was";
  EXPECT_EQ(GlobalReAlloc(h, 4, 0), h) << "shrinking never moves";
  EXPECT_EQ(GlobalReAlloc(h, 1 << 20, GMEM_MOVEABLE), h);
  GlobalUnlock(h);
  GlobalFree(h);
  soft::inspect::SetGlobalAllocLimit(64);
  EXPECT_EQ(GlobalAlloc(GHND, 65), nullptr);
  EXPECT_EQ(LocalAlloc(LPTR, 65), nullptr);
  h = GlobalAlloc(GHND, 64);
  EXPECT_NE(h, nullptr);
  GlobalFree(h);
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
}

TEST(GlobalMemory, WrongHandlesFailWithoutBeingTouched) {
  int local = 0;
  HGLOBAL bogus[] = {&local, reinterpret_cast<HGLOBAL>(0x10), GetStockObject(WHITE_BRUSH)};
  for (HGLOBAL h : bogus) {
    EXPECT_EQ(GlobalLock(h), nullptr);
    EXPECT_FALSE(GlobalUnlock(h));
    EXPECT_EQ(GlobalSize(h), 0u);
    EXPECT_EQ(GlobalReAlloc(h, 10, GMEM_MOVEABLE), nullptr);
    EXPECT_EQ(GlobalFree(h), h);
  }
  EXPECT_EQ(GlobalFree(nullptr), nullptr);
}

TEST(Kernel, LocalBlocksZeroDebugOutputIsCapturedAndTheModuleHandleIsFixed) {
  HLOCAL h = LocalAlloc(LPTR, 32);
  ASSERT_NE(h, nullptr);
  EXPECT_EQ(std::memcmp(h, std::string(32, '\0').data(), 32), 0);
  EXPECT_EQ(LocalFree(h), nullptr);
  EXPECT_EQ(LocalFree(h), h);
  inspect::ClearDebugOutput();
  OutputDebugStringA("first ");
  OutputDebugStringA(nullptr);
  OutputDebugStringA("second\n");
  EXPECT_EQ(inspect::DebugOutput(), "first second\n");
  inspect::ClearDebugOutput();
  EXPECT_EQ(inspect::DebugOutput(), "");
  HMODULE m = GetModuleHandleA(nullptr);
  EXPECT_NE(m, nullptr);
  EXPECT_EQ(GetModuleHandleA(nullptr), m);
  EXPECT_EQ(GetObjectType(m), 0u) << "the module handle is not a handle of the table";
  EXPECT_EQ(GetModuleHandleA("other.dll"), nullptr);
}

}  // namespace
