#include <cstdint>
#include <vector>

#include <gtest/gtest.h>

#include "recording_writer.h"
#include "scan/fix_scan.h"
#include "scan/speed_hack_scan.h"
#include "tevrin/scan.h"

namespace tevrin::testing {
namespace {

std::vector<PatchEntry> collect(const Bytes& rom, ScanKind kind, std::int32_t range, ScanEnd* end = nullptr)
{
    std::vector<PatchEntry> entries;
    const ScanEnd how = scanRom(rom, kind, range, [&entries](PatchEntry entry) { entries.push_back(entry); });
    if (end != nullptr)
        *end = how;
    return entries;
}

// Both kinds of patch in one image, with a window size that decides between them.
const Bytes kRom = Bytes{0xAD, 0x40, 0x21, 0xD0, 0xFE} + filler(0x10, 0) + Bytes{0x8D, 0x41, 0x21, 0xEA, 0xF0, 0x05} +
    Bytes{0xAD, 0x10, 0x42, 0x10, 0xFB, 0xAD, 0x10, 0x42, 0xEA, 0xF0, 0xE4};

TEST(RomScan, DeliversWhatTheToolsScannersWrite)
{
    for (const std::int32_t range : {0, 16, -1, 40}) {
        SCOPED_TRACE(range);
        MemorySource fixSource(kRom);
        RecordingWriter fixes;
        scanFixes(fixSource, range, fixes);
        EXPECT_EQ(collect(kRom, ScanKind::Fixes, range), fixes.entries);

        MemorySource hackSource(kRom);
        RecordingWriter hacks;
        scanSpeedHacks(hackSource, range, hacks);
        EXPECT_EQ(collect(kRom, ScanKind::SpeedHacks, range), hacks.entries);
    }
}

TEST(RomScan, GivesEntriesAsValuesInOffsetOrder)
{
    const std::vector<PatchEntry> fixes = {{3, 2, {0xEA, 0xEA}}, {0x19, 1, {0x80, 0}}};
    EXPECT_EQ(collect(kRom, ScanKind::Fixes, kRecommendedFixRange), fixes);
    const std::vector<PatchEntry> hacks = {{0x1E, 2, {0x42, 0x1B}}, {0x24, 2, {0xDB, 0xF4}}};
    EXPECT_EQ(collect(kRom, ScanKind::SpeedHacks, kRecommendedHackRange), hacks);
}

TEST(RomScan, TellsWhenTheDataEndsOnABranchOpcode)
{
    ScanEnd end = ScanEnd::Complete;
    EXPECT_TRUE(collect({0xAD, 0x40, 0x21, 0xD0}, ScanKind::Fixes, 16, &end).empty());
    EXPECT_EQ(end, ScanEnd::BranchCutShort);
    EXPECT_TRUE(collect({0xAD, 0x10, 0x42, 0x80}, ScanKind::SpeedHacks, 40, &end).empty());
    EXPECT_EQ(end, ScanEnd::BranchCutShort);
    collect(kRom, ScanKind::Fixes, 16, &end);
    EXPECT_EQ(end, ScanEnd::Complete);
    EXPECT_EQ(scanRom(nullptr, 0, ScanKind::SpeedHacks, 40, [](PatchEntry) { FAIL(); }), ScanEnd::Complete);
}

TEST(RomScan, TakesAPointerAndASize)
{
    std::vector<PatchEntry> entries;
    scanRom(kRom.data(), 5, ScanKind::Fixes, 16, [&entries](PatchEntry entry) { entries.push_back(entry); });
    EXPECT_EQ(entries, (std::vector<PatchEntry>{{3, 2, {0xEA, 0xEA}}}));
}

TEST(RomScan, LetsTheCallbackPatchTheDataItScans)
{
    for (const ScanKind kind : {ScanKind::Fixes, ScanKind::SpeedHacks}) {
        Bytes rom = kRom;
        std::vector<PatchEntry> applied;
        scanRom(rom, kind, 40, [&rom, &applied](PatchEntry entry) {
            applied.push_back(entry);
            for (int i = 0; i < entry.length; ++i)
                rom[entry.romOffset + static_cast<std::size_t>(i)] = entry.bytes[i];
        });
        EXPECT_EQ(applied, collect(kRom, kind, 40));
        ASSERT_FALSE(applied.empty());
        EXPECT_EQ(rom[applied.back().romOffset], applied.back().bytes[0]);
    }
}

} // namespace
} // namespace tevrin::testing
