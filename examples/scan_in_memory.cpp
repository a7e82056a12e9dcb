// Loads a copier-layout ROM image into memory, as an emulator would, and asks
// the tevrin library for both kinds of patch.
//
//   scan_in_memory wait_loops.smc

#include <cinttypes>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <span>
#include <vector>

#include <tevrin/scan.h>

namespace {

void printEntry(tevrin::PatchEntry entry)
{
    std::printf("  0x%06" PRIX64 ":", entry.romOffset);
    for (int i = 0; i < entry.length; ++i)
        std::printf(" %02X", entry.bytes[i]);
    std::printf("\n");
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: scan_in_memory image.smc\n");
        return 2;
    }
    std::ifstream file(argv[1], std::ios::binary);
    const std::vector<std::uint8_t> image{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
    constexpr std::size_t kCopierHeader = 512;
    if (!file.is_open() || image.size() < kCopierHeader) {
        std::fprintf(stderr, "scan_in_memory: cannot read a copier image from %s\n", argv[1]);
        return 1;
    }
    // The ROM data starts after the header; entries count their offsets from there.
    const std::span<const std::uint8_t> rom = std::span(image).subspan(kCopierHeader);

    std::printf("Fixes (window %d):\n", tevrin::kRecommendedFixRange);
    tevrin::scanRom(rom, tevrin::ScanKind::Fixes, tevrin::kRecommendedFixRange, printEntry);
    std::printf("Speed Hacks (window %d):\n", tevrin::kRecommendedHackRange);
    tevrin::scanRom(rom, tevrin::ScanKind::SpeedHacks, tevrin::kRecommendedHackRange, printEntry);
    return 0;
}
