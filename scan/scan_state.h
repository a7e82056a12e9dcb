#pragma once

#include <array>
#include <cstdint>
#include <initializer_list>

#include "rom/byte_source.h"

namespace tevrin {

// One enumeration for both scanners: the fix scan uses the first four states,
// the speed-hack scan the last four.
enum class ScanState : std::uint16_t {
    FIND_SPC,
    FOUND_SPC_OP,
    FOUND_0x4X,
    FOUND_0x21,
    FIND_VBLANK,
    FOUND_POTENTIAL_OP,
    FOUND_0x10,
    FOUND_0x42,
};

// Non-branch bytes seen since the window opened. It is 16 bits wide and wraps,
// so a range of 32767 or more never closes the window.
using WindowCounter = std::int16_t;

// Takes one non-branch byte in an open window. Returns false when that byte
// closes the window instead (the counter, before it, exceeded the range).
inline bool countInWindow(WindowCounter& counter, std::int32_t range)
{
    if (counter > range) {
        counter = 0;
        return false;
    }
    counter = static_cast<WindowCounter>(counter + 1);
    return true;
}

// A 256-entry membership table, indexed by byte value.
using OpcodeTable = std::array<bool, 256>;

constexpr OpcodeTable makeOpcodeTable(std::initializer_list<std::uint8_t> opcodes)
{
    OpcodeTable table{};
    for (const std::uint8_t opcode : opcodes)
        table[opcode] = true;
    return table;
}

} // namespace tevrin
