// Graphics input as the host sees it: bits of its settings flag word that
// the report command sets when it switches between one-shot and multiple
// input.
#pragma once

#include <cstdint>

constexpr uint32_t kInputBits17To21 = 0x003E0000u;
constexpr uint32_t kInputBit21 = 0x00200000u;
constexpr uint32_t kInputBit22 = 0x00400000u;
constexpr uint32_t kInputBit25 = 0x02000000u;

// The host flag word after switching to mode (1 one-shot, 2 multiple);
// force is set when a position report with the I option asks for input.
uint32_t InputModeFlags(uint32_t flags, int32_t mode, int force);
