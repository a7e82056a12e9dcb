#pragma once

// Finds the patches for sound-port waits (Fixes) and vertical-blank waits
// (Speed Hacks) in ROM data that is already in memory, for programs such as
// emulators that want them at load time. The tevrin tool runs the same scans.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <span>

namespace tevrin {

// Bytes to write at a ROM offset: one (0x80) or two (0xEA 0xEA, 0x42 yy, 0xDB yy).
struct PatchEntry {
    std::uint64_t romOffset = 0;
    std::uint8_t length = 0;
    std::uint8_t bytes[2] = {};

    bool operator==(const PatchEntry&) const = default;
};

enum class ScanKind {
    Fixes,      // BEQ/BNE after an access to $2140-$2143 becomes BRA (80) or two NOPs (EAEA)
    SpeedHacks, // short backward branch after a read of $4210 becomes a WDM (42yy) or STP (DByy) marker
};

// The window sizes the tool recommends: Fixes with 16, Speed Hacks with 40.
inline constexpr std::int32_t kRecommendedFixRange = 16;
inline constexpr std::int32_t kRecommendedHackRange = 40;

// How a scan ended: through all the data, or on a branch opcode in the last
// byte whose displacement is missing (the tool reports "End of file." there).
enum class ScanEnd { Complete, BranchCutShort };

using EntryCallback = std::function<void(PatchEntry)>;

// Scans ROM data without its 512-byte copier header: ROM offset 0 is rom[0].
// Calls onEntry with every entry the moment it is found, in increasing offset
// order. `range` is the window size (see kRecommendedFixRange); any value is safe.
ScanEnd scanRom(std::span<const std::uint8_t> rom, ScanKind kind, std::int32_t range, const EntryCallback& onEntry);

inline ScanEnd scanRom(const std::uint8_t* data, std::size_t size, ScanKind kind, std::int32_t range,
    const EntryCallback& onEntry)
{
    return scanRom(std::span<const std::uint8_t>(data, size), kind, range, onEntry);
}

} // namespace tevrin
