#include <algorithm>
#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include <fcntl.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "recording_writer.h"
#include "rom/rom_stream.h"
#include "scan/fix_scan.h"
#include "scan/speed_hack_scan.h"
#include "fixtures.h"

namespace tevrin::testing {
namespace {

TEST(RomStream, DeliversOnlyTheBytesAfterTheHeader)
{
    TempDir dir;
    const std::string path = dir.write("one.smc", copierImage({0x5A}, patternHeader()));
    RomStream rom;
    ASSERT_TRUE(rom.open(path));
    ASSERT_TRUE(rom.positionAtRomStart());
    EXPECT_EQ(rom.offset(), 0u);
    EXPECT_EQ(rom.next(), 0x5A);
    EXPECT_EQ(rom.offset(), 1u);
    EXPECT_EQ(rom.next(), ByteSource::kEnd);
    EXPECT_EQ(rom.next(), ByteSource::kEnd);
    EXPECT_FALSE(rom.failed());
}

TEST(RomStream, DeliversFFAsAByteNotAsTheEnd)
{
    TempDir dir;
    const std::string path = dir.write("ff.smc", copierImage({0xFF, 0xFF, 0x00}));
    RomStream rom;
    ASSERT_TRUE(rom.open(path));
    ASSERT_TRUE(rom.positionAtRomStart());
    EXPECT_EQ(rom.next(), 0xFF);
    EXPECT_EQ(rom.next(), 0xFF);
    EXPECT_EQ(rom.next(), 0x00);
    EXPECT_EQ(rom.next(), ByteSource::kEnd);
}

TEST(RomStream, FilesOfAHeaderOrLessHoldNoData)
{
    TempDir dir;
    for (const std::size_t size : {0, 1, 511, 512}) {
        const std::string path = dir.write("short.smc", Bytes(size, 0xAD));
        RomStream rom;
        ASSERT_TRUE(rom.open(path));
        ASSERT_TRUE(rom.positionAtRomStart());
        EXPECT_EQ(rom.next(), ByteSource::kEnd) << size;
        EXPECT_FALSE(rom.failed());
    }
}

TEST(RomStream, DoesNotOpenWhatIsNotAReadableFile)
{
    TempDir dir;
    const std::string file = dir.write("game.smc", copierImage({}));
    RomStream rom;
    EXPECT_FALSE(rom.open((dir.path() / "missing.smc").string()));
    EXPECT_FALSE(rom.open(dir.path().string()));
    EXPECT_FALSE(rom.open(file + "/x"));
    EXPECT_TRUE(rom.open(file));
}

TEST(RomStream, AReadErrorIsAFailureNotAnEnd)
{
    // The kernel refuses to read unmapped addresses of a process's memory.
    RomStream rom;
    ASSERT_TRUE(rom.open("/proc/self/mem"));
    ASSERT_TRUE(rom.positionAtRomStart());
    EXPECT_EQ(rom.next(), ByteSource::kEnd);
    EXPECT_TRUE(rom.failed());

    RecordingWriter writer;
    EXPECT_EQ(scanFixes(rom, 16, writer), ScanResult::Fault);
}

TEST(RomStream, CannotSkipTheHeaderOfAPipe)
{
    int ends[2];
    ASSERT_EQ(pipe(ends), 0);
    RomStream rom;
    ASSERT_TRUE(rom.open("/proc/self/fd/" + std::to_string(ends[0])));
    EXPECT_FALSE(rom.positionAtRomStart());
    rom.close();
    close(ends[0]);
    close(ends[1]);
}

// ROM data larger than several reads, with both patterns planted across every
// read boundary at a different phase, in random bytes.
Bytes dataAcrossReadBoundaries()
{
    std::mt19937 random(12345);
    Bytes rom(6 * RomStream::kBufferSize + 777);
    for (auto& b : rom)
        b = static_cast<std::uint8_t>(random());
    // Zeros first, so that whatever the random bytes left open has closed.
    const Bytes fix = filler(20, 0) + Bytes{0xAD, 0x40, 0x21, 0xD0, 0xFE};
    const Bytes hack = filler(20, 0) + Bytes{0xAD, 0x10, 0x42, 0x10, 0xFB};
    for (std::size_t k = 1; k <= 5; ++k) {
        const std::size_t boundary = k * RomStream::kBufferSize;
        std::copy(fix.begin(), fix.end(), rom.begin() + static_cast<long>(boundary - 20 - k));
        std::copy(hack.begin(), hack.end(), rom.begin() + static_cast<long>(boundary + 100 - 20 - k));
    }
    return rom;
}

TEST(RomStream, FileAndMemoryGiveTheSameEntriesAcrossReadBoundaries)
{
    TempDir dir;
    const Bytes rom = dataAcrossReadBoundaries();
    const std::string path = dir.write("big.smc", copierImage(rom, patternHeader()));

    for (const ScanFunction scan : {scanFixes, scanSpeedHacks}) {
        RomStream file;
        ASSERT_TRUE(file.open(path));
        ASSERT_TRUE(file.positionAtRomStart());
        RecordingWriter fromFile;
        ASSERT_EQ(scan(file, 16, fromFile), ScanResult::Complete);
        EXPECT_EQ(file.offset(), rom.size());

        MemorySource memory(rom);
        RecordingWriter fromMemory;
        ASSERT_EQ(scan(memory, 16, fromMemory), ScanResult::Complete);

        EXPECT_EQ(fromFile.text, fromMemory.text);
        for (std::size_t k = 1; k <= 5; ++k) {
            const bool fixes = scan == scanFixes;
            const PatchEntry planted = fixes
                ? PatchEntry{k * RomStream::kBufferSize - k + 3, 2, {0xEA, 0xEA}}
                : PatchEntry{k * RomStream::kBufferSize + 100 - k + 3, 2, {0x42, 0x1B}};
            EXPECT_NE(std::find(fromFile.entries.begin(), fromFile.entries.end(), planted), fromFile.entries.end())
                << std::hex << planted.romOffset;
        }
    }
}

} // namespace
} // namespace tevrin::testing
