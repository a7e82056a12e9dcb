#include <cstdint>
#include <limits>
#include <set>
#include <string>

#include <gtest/gtest.h>

#include "recording_writer.h"
#include "scan/fix_scan.h"

namespace tevrin::testing {
namespace {

struct FixCase {
    const char* name;
    std::int32_t fixRange;
    Bytes rom;
    std::string expected;
};

void PrintTo(const FixCase& c, std::ostream* os) { *os << c.name; }

class FixScanTable : public ::testing::TestWithParam<FixCase> {};

TEST_P(FixScanTable, WritesExactlyTheExpectedEntries)
{
    const FixCase& c = GetParam();
    EXPECT_EQ(scanText(scanFixes, c.rom, c.fixRange), c.expected);
}

const Bytes kLdaPort = {0xAD, 0x40, 0x21};

INSTANTIATE_TEST_SUITE_P(Fixes, FixScanTable, ::testing::Values(
    // Matches and the choice between 80 and EAEA.
    FixCase{"LdaBneBack", 16, filler(0x10, 0) + Bytes{0xAD, 0x40, 0x21, 0xD0, 0xFE}, "13=EAEA,"},
    FixCase{"StaBeqShortForward", 16, filler(0x100, 0) + Bytes{0x8D, 0x41, 0x21, 0xF0, 0x05}, "103=80,"},
    FixCase{"DisplacementZeroIsBra", 16, kLdaPort + Bytes{0xF0, 0x00}, "3=80,"},
    FixCase{"Displacement0FIsBra", 16, kLdaPort + Bytes{0xD0, 0x0F}, "3=80,"},
    FixCase{"Displacement10IsNops", 16, kLdaPort + Bytes{0xD0, 0x10}, "3=EAEA,"},
    FixCase{"Displacement80IsNops", 16, kLdaPort + Bytes{0xF0, 0x80}, "3=EAEA,"},
    FixCase{"DisplacementFFIsNops", 16, kLdaPort + Bytes{0xF0, 0xFF}, "3=EAEA,"},
    FixCase{"TwoEntriesOnOneLine", 16,
        filler(0x10, 0) + Bytes{0xAD, 0x40, 0x21, 0xD0, 0xFE} + filler(0xEB, 0) + Bytes{0x8D, 0x41, 0x21, 0xF0, 0x05},
        "13=EAEA,103=80,"},

    // The address: low byte 0x40 to 0x43, high byte 0x21.
    FixCase{"Port2141", 16, Bytes{0xAD, 0x41, 0x21, 0xD0, 0xFE}, "3=EAEA,"},
    FixCase{"Port2142", 16, Bytes{0xAD, 0x42, 0x21, 0xD0, 0xFE}, "3=EAEA,"},
    FixCase{"Port2143", 16, Bytes{0xAD, 0x43, 0x21, 0xD0, 0xFE}, "3=EAEA,"},
    FixCase{"LowByte3FIsNoPort", 16, Bytes{0xAD, 0x3F, 0x21, 0xD0, 0xFE}, ""},
    FixCase{"LowByte44IsNoPort", 16, Bytes{0xAD, 0x44, 0x21, 0xD0, 0xFE}, ""},
    FixCase{"HighByte20IsNoPort", 16, Bytes{0xAD, 0x40, 0x20, 0xD0, 0xFE}, ""},
    FixCase{"FailedLowByteIsNotAnOpcode", 16, Bytes{0xAD, 0xAD, 0x40, 0x21, 0xD0, 0xFE}, ""},
    FixCase{"FailedHighByteIsNotAnOpcode", 16, Bytes{0xAD, 0x40, 0xAD, 0x40, 0x21, 0xD0, 0xFE}, ""},
    FixCase{"LongStoreCountsBankByte", 0, Bytes{0x8F, 0x40, 0x21, 0x7E, 0xD0, 0xFE}, "4=EAEA,"},
    FixCase{"LongStoreBankByteFillsNegativeWindow", -1, Bytes{0x8F, 0x40, 0x21, 0x7E, 0xD0, 0xFE}, ""},

    // The window after 0x21 holds fixRange + 2 bytes.
    FixCase{"Range16SeventeenFillers", 16, kLdaPort + filler(17) + Bytes{0xD0, 0xFE}, "14=EAEA,"},
    FixCase{"Range16EighteenFillers", 16, kLdaPort + filler(18) + Bytes{0xD0, 0xFE}, ""},
    FixCase{"Range0OneFiller", 0, kLdaPort + filler(1) + Bytes{0xD0, 0xFE}, "4=EAEA,"},
    FixCase{"Range0ClosingByteThenNewMatch", 0,
        Bytes{0xAD, 0x40, 0x21, 0xEA, 0xEA, 0xAD, 0x40, 0x21, 0xF0, 0x05}, "8=80,"},
    FixCase{"Range0ClosingByteIsUsedUp", 0, Bytes{0xAD, 0x40, 0x21, 0xEA, 0xAD, 0x40, 0x21, 0xF0, 0x05}, ""},
    FixCase{"RangeMinusOneBranchRightAfter", -1, kLdaPort + Bytes{0xD0, 0xFE}, "3=EAEA,"},
    FixCase{"RangeMinusOneOneFiller", -1, kLdaPort + filler(1) + Bytes{0xD0, 0xFE}, ""},
    FixCase{"RangeMostNegative", std::numeric_limits<std::int32_t>::min(), kLdaPort + filler(1) + Bytes{0xD0, 0xFE},
        ""},
    FixCase{"Range32766LastWindowByte", 32766, kLdaPort + filler(32767) + Bytes{0xD0, 0xFE}, "8002=EAEA,"},
    FixCase{"Range32766PastWindow", 32766, kLdaPort + filler(32768) + Bytes{0xD0, 0xFE}, ""},
    FixCase{"Range32767CounterWrapsWindowNeverCloses", 32767, kLdaPort + filler(70000) + Bytes{0xD0, 0xFE},
        "11173=EAEA,"},
    FixCase{"RangeMostPositiveWindowNeverCloses", std::numeric_limits<std::int32_t>::max(),
        kLdaPort + filler(70000) + Bytes{0xF0, 0x01}, "11173=80,"},

    // Inside an open window every D0/F0 byte is the branch, operands included.
    FixCase{"SecondPortAccessIsFiller", 16, Bytes{0xAD, 0x40, 0x21, 0xAD, 0x40, 0x21, 0xD0, 0xFE}, "6=EAEA,"},
    FixCase{"OperandD0IsTakenAsBranch", 16, Bytes{0xAD, 0x40, 0x21, 0xA9, 0xD0, 0x05}, "4=80,"},
    FixCase{"DisplacementIsNotScanned", 16, Bytes{0xAD, 0x40, 0x21, 0xD0, 0xAD, 0x40, 0x21, 0xF0, 0x05},
        "3=EAEA,"},

    // End of the data.
    FixCase{"Empty", 16, Bytes{}, ""},
    FixCase{"BranchIsLastByte", 16, Bytes{0xAD, 0x40, 0x21, 0xD0}, "<end of file>"},
    FixCase{"EntryThenBranchIsLastByte", 16, Bytes{0xAD, 0x40, 0x21, 0xD0, 0xFE, 0xAD, 0x40, 0x21, 0xF0},
        "3=EAEA,<end of file>"},
    FixCase{"EndsInsideWindow", 16, Bytes{0xAD, 0x40, 0x21, 0xEA}, ""},
    FixCase{"BranchByteLastOutsideWindow", 16, Bytes{0xEA, 0xD0}, ""},
    FixCase{"BranchByteLastAfterOpcode", 16, Bytes{0xAD, 0xD0}, ""}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(FixScan, StartsAMatchOnExactlyThePortAccessOpcodes)
{
    const std::set<int> portAccess = {0x8C, 0x8D, 0x8E, 0x8F, 0x99, 0x9D, 0x9F, 0xA0, 0xA2, 0xA9, 0xAC, 0xAD, 0xAE,
        0xB9, 0xBC, 0xBD, 0xBE, 0xC0, 0xC9, 0xCC, 0xCD, 0xD9, 0xDD, 0xE0, 0xEC};
    for (int opcode = 0; opcode < 256; ++opcode) {
        const Bytes rom = {static_cast<std::uint8_t>(opcode), 0x40, 0x21, 0xD0, 0xFE};
        EXPECT_EQ(scanText(scanFixes, rom, 16), portAccess.count(opcode) ? "3=EAEA," : "")
            << "opcode 0x" << std::hex << opcode;
    }
}

} // namespace
} // namespace tevrin::testing
