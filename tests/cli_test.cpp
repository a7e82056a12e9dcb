#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "tevrin_fixture.h"

namespace tevrin::testing {
namespace {

TEST_F(Tevrin, AnswersTooFewArgumentsWithTheUsage)
{
    for (const Args& args : {Args{}, Args{"16"}, Args{"16", "40"}}) {
        SCOPED_TRACE(args.size());
        expectRun(args, kBanner + kUsage, 255);
    }
}

TEST_F(Tevrin, ParsesWindowSizesLikeAtoiButClamped)
{
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"16", "16"}, {" 16", "16"}, {" \t16", "16"}, {"\n\v\f\r8", "8"}, {"16k", "16"}, {"1 2", "1"},
        {"abc", "0"}, {"", "0"}, {"0x10", "0"}, {"-3", "-3"}, {"+7", "7"}, {"-0", "0"}, {"+-1", "0"},
        {"- 1", "0"}, {"007", "7"}, {"2147483647", "2147483647"}, {"2147483648", "2147483647"},
        {"99999999999999999999", "2147483647"}, {"-2147483648", "-2147483648"},
        {"-2147483649", "-2147483648"}, {"-99999999999999999999", "-2147483648"},
    };
    for (const auto& [arg, value] : cases) {
        SCOPED_TRACE("argument '" + arg + "'");
        expectRun({arg, "40", "x.smc"}, kBanner + sizes(value, "40") + notFound("x.smc") + kFinished, 0);
        expectRun({"16", arg, "x.smc"}, kBanner + sizes("16", value) + notFound("x.smc") + kFinished, 0);
    }
}

TEST_F(Tevrin, ReportsBothSectionsOfAnImage)
{
    write("game.smc", gameImage());
    expectRun({"16", "40", "game.smc"},
        kBanner + sizes("16", "40") + fixes("game.smc", kGameFixes) + hacks("game.smc", kGameHacks) + kFinished, 0);
}

TEST_F(Tevrin, WindowSizesReachTheirOwnScan)
{
    // Fourteen bytes between the address and the branch: too many for a window of 0 or 11.
    Bytes rom(3 + 14 + 5 + 14 + 2, 0xEA);
    const Bytes start = {0xAD, 0x40, 0x21};
    const Bytes middle = {0xD0, 0xFE, 0xAD, 0x10, 0x42};
    const Bytes end = {0x10, 0xFB};
    std::copy(start.begin(), start.end(), rom.begin());
    std::copy(middle.begin(), middle.end(), rom.begin() + 3 + 14);
    std::copy(end.begin(), end.end(), rom.end() - 2);
    write("w.smc", copierImage(rom));
    const std::string fixEntry = "11=EAEA,";
    const std::string hackEntry = "24=421B,";
    expectRun({"16", "0", "w.smc"},
        kBanner + sizes("16", "0") + fixes("w.smc", fixEntry) + hacks("w.smc", "") + kFinished, 0);
    expectRun({"11", "40", "w.smc"},
        kBanner + sizes("11", "40") + fixes("w.smc", "") + hacks("w.smc", hackEntry) + kFinished, 0);
}

TEST_F(Tevrin, WritesEndOfFileWhereABranchLacksItsDisplacement)
{
    write("cut.smc", copierImage({0xAD, 0x10, 0x42, 0xAD, 0x40, 0x21, 0xD0}));
    expectRun({"16", "40", "cut.smc"},
        kBanner + sizes("16", "40") + fixes("cut.smc", kEndOfFile) + hacks("cut.smc", kEndOfFile) + kFinished, 0);
}

TEST_F(Tevrin, AMissingFileAloneEndsTheWalkWithStatusZero)
{
    expectRun({"16", "40", "x.smc"}, kBanner + sizes("16", "40") + notFound("x.smc") + kFinished, 0);
}

TEST_F(Tevrin, AMissingFileEndsTheWalkAfterTheFilesBeforeIt)
{
    write("game.smc", gameImage());
    write("third.smc", gameImage());
    expectRun({"16", "40", "game.smc", "missing.smc", "third.smc"},
        kBanner + sizes("16", "40") + fixes("game.smc", kGameFixes) + hacks("game.smc", kGameHacks) +
            notFound("missing.smc") + kFinished,
        0);
}

TEST_F(Tevrin, ADirectoryIsAFileThatCannotBeOpened)
{
    std::filesystem::create_directory(folder_ / "roms");
    write("game.smc", gameImage());
    expectRun({"16", "40", "roms", "game.smc"}, kBanner + sizes("16", "40") + notFound("roms") + kFinished, 0);
    expectRun({"16", "40", "game.smc/x"}, kBanner + sizes("16", "40") + notFound("game.smc/x") + kFinished, 0);
}

TEST_F(Tevrin, FilesOfAHeaderOrLessGiveEmptySections)
{
    write("empty.smc", {});
    write("header.smc", Bytes(512, 0xAD));
    write("one.smc", copierImage({0xD0}));
    std::string out = kBanner + sizes("16", "40");
    for (const std::string name : {"empty.smc", "header.smc", "one.smc"})
        out += fixes(name, "") + hacks(name, "");
    expectRun({"16", "40", "empty.smc", "header.smc", "one.smc"}, out + kFinished, 0);
}

TEST_F(Tevrin, TheSameFileTwiceIsReportedTwice)
{
    write("game.smc", gameImage());
    const std::string once = fixes("game.smc", kGameFixes) + hacks("game.smc", kGameHacks);
    expectRun({"16", "40", "game.smc", "game.smc"}, kBanner + sizes("16", "40") + once + once + kFinished, 0);
}

TEST_F(Tevrin, EchoesFileNamesLiterally)
{
    write("my game.smc", gameImage());
    write("%s%n%x.smc", gameImage());
    std::filesystem::create_directory(folder_ / "sub dir");
    write("sub dir/-a.smc", gameImage());
    std::string out = kBanner + sizes("16", "40");
    for (const std::string name : {"my game.smc", "%s%n%x.smc", "./sub dir/-a.smc"})
        out += fixes(name, kGameFixes) + hacks(name, kGameHacks);
    expectRun({"16", "40", "my game.smc", "%s%n%x.smc", "./sub dir/-a.smc", "%n%s"},
        out + notFound("%n%s") + kFinished, 0);
}

TEST_F(Tevrin, AFailedReadIsAFaultNotAShortSection)
{
    // Reading a process's own memory at an unmapped address fails with an I/O error.
    write("game.smc", gameImage());
    expectRun({"16", "40", "game.smc", "/proc/self/mem", "game.smc"},
        kBanner + sizes("16", "40") + fixes("game.smc", kGameFixes) + hacks("game.smc", kGameHacks) +
            fixes("/proc/self/mem", "") + kScanFault,
        255);
}

TEST_F(Tevrin, AReportThatCannotBeWrittenIsAFailure)
{
    write("game.smc", gameImage());
    for (const Output output : {Output::Full, Output::Closed}) {
        for (const Args& args : {Args{"16", "40", "game.smc"}, Args{"16", "40", "x.smc"}, Args{}}) {
            SCOPED_TRACE(std::to_string(static_cast<int>(output)) + " with " + std::to_string(args.size()));
            const RunResult result = run(args, output);
            EXPECT_EQ(result.status, 255);
            EXPECT_EQ(result.err, kReportNotWritten);
        }
    }
}

TEST_F(Tevrin, ReportsTheBundledExample)
{
    std::filesystem::copy_file(std::filesystem::path(TEVRIN_EXAMPLES) / "wait_loops.smc", folder_ / "wait_loops.smc");
    expectRun({"16", "40", "wait_loops.smc"},
        kBanner + sizes("16", "40") + fixes("wait_loops.smc", "10=EAEA,17=EAEA,21=EAEA,26=80,") +
            hacks("wait_loops.smc", "3C=DB6D,41=421B,") + kFinished,
        0);
}

} // namespace
} // namespace tevrin::testing
