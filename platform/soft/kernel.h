// KERNEL inside the soft platform: the clock behind GetTickCount, captured
// debug output and the moveable memory blocks that live in the handle table.
#pragma once

#include <cstddef>
#include <string>

#include "platform/win32.h"

namespace soft {

void SetVirtualClock(bool on);
void AdvanceVirtualClock(DWORD ms);
void SetEmptyPollStep(DWORD ms);
// Called by the message queue when a poll finds nothing.
void OnEmptyPoll();

std::string CapturedDebugOutput();
void ClearCapturedDebugOutput();
void SetDebugEcho(bool on);

// Moveable memory blocks hold handles of the table but are not GDI or USER objects.
size_t LiveMoveableBlocks();
// Blocks above this size fail to allocate; 0 means no limit.
void SetAllocLimit(size_t bytes);

}  // namespace soft
