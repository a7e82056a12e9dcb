// Images beyond 2 and 4 GiB, made as sparse files: the holes read as zeros and
// take no disk, but every byte of them is still read, twice. These tests carry
// the CTest label "large".

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "tevrin_fixture.h"

namespace tevrin::testing {
namespace {

// Bytes to place at a ROM offset; the image ends with the last piece.
using Piece = std::pair<std::uint64_t, Bytes>;

void writeSparseImage(const std::filesystem::path& image, const std::vector<Piece>& pieces)
{
    std::ofstream out(image, std::ios::binary);
    const Bytes header(512, 0);
    out.write(reinterpret_cast<const char*>(header.data()), static_cast<std::streamsize>(header.size()));
    for (const auto& [romOffset, bytes] : pieces) {
        out.seekp(static_cast<std::streamoff>(512 + romOffset));
        out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    }
    ASSERT_TRUE(out.good());
}

const Bytes kLdaPortBneBack = {0xAD, 0x40, 0x21, 0xD0, 0xFE};

TEST_F(Tevrin, OffsetsPastTwoGibibytesAreExact)
{
    writeSparseImage(folder_ / "big.smc",
        {{0, kLdaPortBneBack}, {0x90000000, {0xAD, 0x40, 0x21, 0xD0, 0xFE, 0xAD, 0x10, 0x42, 0x10, 0xFB}}});
    expectRun({"16", "40", "big.smc"},
        kBanner + sizes("16", "40") + fixes("big.smc", "3=EAEA,90000003=EAEA,") + hacks("big.smc", "90000008=421B,") +
            kFinished,
        0);
}

TEST_F(Tevrin, OffsetsAroundTheTwoAndFourGibibyteMarksAreExactAndMemoryStaysFlat)
{
    // Entries just before and after each mark, and a pattern across each of them.
    writeSparseImage(folder_ / "huge.smc", {
        {0x7FFFFFE0, {0xAD, 0x10, 0x42, 0x10, 0xFB}},
        {0x7FFFFFF0, kLdaPortBneBack},
        {0x7FFFFFFE, kLdaPortBneBack},                  // across 2 GiB
        {0x80000010, {0xAD, 0x10, 0x42, 0xD0, 0xE5}},
        {0xFFFFFFE0, kLdaPortBneBack},
        {0xFFFFFFF0, {0x8D, 0x41, 0x21, 0xF0, 0x05}},
        {0xFFFFFFFD, {0xAD, 0x10, 0x42, 0x30, 0xFB}},   // across 4 GiB
        {0x100000010, {0xAD, 0x10, 0x42, 0xF0, 0xE4}},
        {0x100000020, {0xAD, 0x43, 0x21, 0xF0, 0x20}},
    });
    const RunResult huge = run({"16", "40", "huge.smc"});
    EXPECT_EQ(huge.out, kBanner + sizes("16", "40") +
            fixes("huge.smc", "7FFFFFF3=EAEA,80000001=EAEA,FFFFFFE3=EAEA,FFFFFFF3=80,100000023=EAEA,") +
            hacks("huge.smc", "7FFFFFE3=421B,80000013=DB65,100000000=423B,100000013=DBF4,") + kFinished);
    EXPECT_EQ(huge.status, 0);
    EXPECT_EQ(huge.err, "");

    write("tiny.smc", gameImage());
    const RunResult tiny = run({"16", "40", "tiny.smc"});
    ASSERT_EQ(tiny.status, 0);
    constexpr long kSlackKiB = 2048;
    EXPECT_LE(huge.maxResidentKiB, tiny.maxResidentKiB + kSlackKiB)
        << "peak memory grows with the image: " << huge.maxResidentKiB << " KiB against " << tiny.maxResidentKiB;
}

} // namespace
} // namespace tevrin::testing
