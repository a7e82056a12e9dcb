#include <cstdint>
#include <limits>
#include <set>
#include <string>

#include <gtest/gtest.h>

#include "recording_writer.h"
#include "scan/speed_hack_scan.h"

namespace tevrin::testing {
namespace {

struct HackCase {
    const char* name;
    std::int32_t hackRange;
    Bytes rom;
    std::string expected;
};

void PrintTo(const HackCase& c, std::ostream* os) { *os << c.name; }

class SpeedHackScanTable : public ::testing::TestWithParam<HackCase> {};

TEST_P(SpeedHackScanTable, WritesExactlyTheExpectedEntries)
{
    const HackCase& c = GetParam();
    EXPECT_EQ(scanText(scanSpeedHacks, c.rom, c.hackRange), c.expected);
}

const Bytes kLdaFlag = {0xAD, 0x10, 0x42};

INSTANTIATE_TEST_SUITE_P(SpeedHacks, SpeedHackScanTable, ::testing::Values(
    // The 42yy band, back 1 to 16 bytes.
    HackCase{"LdaBplBack", 40, filler(0x20, 0) + Bytes{0xAD, 0x10, 0x42, 0x10, 0xFB}, "23=421B,"},
    HackCase{"BneF8", 40, kLdaFlag + Bytes{0xD0, 0xF8}, "3=42D8,"},
    HackCase{"BeqFE", 40, kLdaFlag + Bytes{0xF0, 0xFE}, "3=42FE,"},
    HackCase{"BraF0", 40, kLdaFlag + Bytes{0x80, 0xF0}, "3=4280,"},
    HackCase{"BcsFF", 40, kLdaFlag + Bytes{0xB0, 0xFF}, "3=42BF,"},

    // The DByy band, back 17 to 32 bytes: BNE and BEQ only.
    HackCase{"BneE8", 40, kLdaFlag + Bytes{0xD0, 0xE8}, "3=DB68,"},
    HackCase{"BeqE8", 40, kLdaFlag + Bytes{0xF0, 0xE8}, "3=DBF8,"},
    HackCase{"BneEF", 40, kLdaFlag + Bytes{0xD0, 0xEF}, "3=DB6F,"},
    HackCase{"BeqE0", 40, kLdaFlag + Bytes{0xF0, 0xE0}, "3=DBF0,"},
    HackCase{"BmiE4GivesNothingAndEndsTheMatch", 40, kLdaFlag + Bytes{0x30, 0xE4, 0x10, 0xFB}, ""},
    HackCase{"BplEFGivesNothing", 40, kLdaFlag + Bytes{0x10, 0xEF}, ""},

    // Forward or far-back branches are not the loop: the window starts over after them.
    HackCase{"DisplacementDFRestartsWindow", 40, kLdaFlag + Bytes{0xD0, 0xDF, 0x10, 0xFB}, "5=421B,"},
    HackCase{"ForwardBranchThenFortyOneFillers", 40, kLdaFlag + Bytes{0xF0, 0x05} + filler(41) + Bytes{0x10, 0xFB},
        "2E=421B,"},
    HackCase{"ForwardBranchThenFortyTwoFillers", 40, kLdaFlag + Bytes{0xF0, 0x05} + filler(42) + Bytes{0x10, 0xFB},
        ""},
    HackCase{"SecondFlagReadInWindow", 40, Bytes{0xAD, 0x10, 0x42, 0xAD, 0x10, 0x42, 0x10, 0xFB}, "6=421B,"},

    // The address: 0x10 then 0x42.
    HackCase{"LowByteNot10", 40, Bytes{0xAD, 0x11, 0x42, 0x10, 0xFB}, ""},
    HackCase{"HighByteNot42", 40, Bytes{0xAD, 0x10, 0x43, 0x10, 0xFB}, ""},
    HackCase{"FailedLowByteIsNotAnOpcode", 40, Bytes{0xAD, 0xAD, 0x10, 0x42, 0x10, 0xFB}, ""},
    HackCase{"FailedHighByteIsNotAnOpcode", 40, Bytes{0xAD, 0x10, 0xAD, 0x10, 0x42, 0x10, 0xFB}, ""},

    // The window after 0x42 holds hackRange + 2 bytes.
    HackCase{"Range40FortyOneFillers", 40, kLdaFlag + filler(41) + Bytes{0x10, 0xFB}, "2C=421B,"},
    HackCase{"Range40FortyTwoFillers", 40, kLdaFlag + filler(42) + Bytes{0x10, 0xFB}, ""},
    HackCase{"Range0ClosingByteThenNewMatch", 0,
        Bytes{0xAD, 0x10, 0x42, 0xEA, 0xEA, 0xAD, 0x10, 0x42, 0x80, 0xFE}, "8=428E,"},
    HackCase{"Range0ClosingByteIsUsedUp", 0, Bytes{0xAD, 0x10, 0x42, 0xEA, 0xAD, 0x10, 0x42, 0x80, 0xFE}, ""},
    HackCase{"RangeMinusOneBranchRightAfter", -1, kLdaFlag + Bytes{0x10, 0xFB}, "3=421B,"},
    HackCase{"RangeMinusOneOneFiller", -1, kLdaFlag + filler(1) + Bytes{0x10, 0xFB}, ""},
    HackCase{"Range32766LastWindowByte", 32766, kLdaFlag + filler(32767) + Bytes{0x10, 0xFB}, "8002=421B,"},
    HackCase{"Range32766PastWindow", 32766, kLdaFlag + filler(32768) + Bytes{0x10, 0xFB}, ""},
    HackCase{"Range32767CounterWrapsWindowNeverCloses", 32767, kLdaFlag + filler(70000) + Bytes{0x10, 0xFB},
        "11173=421B,"},
    HackCase{"RangeMostPositiveWindowNeverCloses", std::numeric_limits<std::int32_t>::max(),
        kLdaFlag + filler(70000) + Bytes{0xD0, 0xE8}, "11173=DB68,"},

    // End of the data.
    HackCase{"Empty", 40, Bytes{}, ""},
    HackCase{"BranchIsLastByte", 40, Bytes{0xAD, 0x10, 0x42, 0x10}, "<end of file>"},
    HackCase{"RejectedBranchThenBranchIsLastByte", 40, Bytes{0xAD, 0x10, 0x42, 0x10, 0x05, 0xEA, 0xD0},
        "<end of file>"},
    HackCase{"EndsInsideWindow", 40, Bytes{0xAD, 0x10, 0x42, 0xEA}, ""},
    HackCase{"BranchByteLastOutsideWindow", 40, Bytes{0xEA, 0x10}, ""},
    HackCase{"BranchByteLastAfterOpcode", 40, Bytes{0xAD, 0x10}, ""}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(SpeedHackScan, EveryLoopBranchKeepsItsHighNibbleAndTheDisplacementsLowNibble)
{
    for (const int branch : {0x10, 0x30, 0x50, 0x70, 0x80, 0x90, 0xB0, 0xD0, 0xF0}) {
        for (int displacement = 0xF0; displacement <= 0xFF; ++displacement) {
            const Bytes rom = kLdaFlag + Bytes{static_cast<std::uint8_t>(branch), static_cast<std::uint8_t>(displacement)};
            char expected[16];
            std::snprintf(expected, sizeof expected, "3=42%02X,", (branch & 0xF0) | (displacement & 0x0F));
            EXPECT_EQ(scanText(scanSpeedHacks, rom, 40), expected) << std::hex << branch << " " << displacement;
        }
    }
}

TEST(SpeedHackScan, OnlyTheNineRelativeBranchesCloseTheLoop)
{
    const std::set<int> loopBranches = {0x10, 0x30, 0x50, 0x70, 0x80, 0x90, 0xB0, 0xD0, 0xF0};
    for (int opcode = 0; opcode < 256; ++opcode) {
        const Bytes rom = kLdaFlag + Bytes{static_cast<std::uint8_t>(opcode), 0xFE};
        EXPECT_EQ(!scanText(scanSpeedHacks, rom, 0).empty(), loopBranches.count(opcode) == 1)
            << "opcode 0x" << std::hex << opcode;
    }
}

TEST(SpeedHackScan, StartsAMatchOnExactlyTheFlagReadOpcodes)
{
    const std::set<int> flagRead = {0xA0, 0xA2, 0xA9, 0xAC, 0xAD, 0xAE, 0xAF, 0xB9, 0xBC, 0xBD, 0xBE, 0xC9, 0xCD,
        0xCF, 0xD9, 0xDD};
    for (int opcode = 0; opcode < 256; ++opcode) {
        const Bytes rom = {static_cast<std::uint8_t>(opcode), 0x10, 0x42, 0x10, 0xFB};
        EXPECT_EQ(scanText(scanSpeedHacks, rom, 40), flagRead.count(opcode) ? "3=421B," : "")
            << "opcode 0x" << std::hex << opcode;
    }
}

} // namespace
} // namespace tevrin::testing
