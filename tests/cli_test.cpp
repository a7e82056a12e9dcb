#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "run_tevrin.h"
#include "fixtures.h"

namespace tevrin::testing {
namespace {

using Bytes = std::vector<std::uint8_t>;
using Args = std::vector<std::string>;

// The report's texts, written out here independently of the program.
const std::string kBanner = "\n----------------------------------------------------"
                            "\nOrvane Auto Patcher v4\n\tby Quillmoor\n"
                            "----------------------------------------------------\n";
const std::string kUsage = "\nUSAGE: tevrin <fixRange> <hackRange> <file1.smc> <file2.smc> ..."
                           "\n\tfixRange and hackRange refer to how many bytes from access of"
                           "\n\tthe SPC/VBLANK the algorithm should search, I recommend 16 and 40."
                           "No filename(s) specified!\n\n";
const std::string kFinished = "\n\nTool finished successfuly.\n\n";
const std::string kScanFault = "\n\nError, exiting...\n\n";
const std::string kEndOfFile = "\nEnd of file.\n";
const std::string kReportNotWritten = "tevrin: the report could not be written to standard output\n";

std::string sizes(const std::string& fixRange, const std::string& hackRange)
{
    return "\tfixRange = " + fixRange + " bytes, hackRange = " + hackRange + " bytes.";
}

std::string fixes(const std::string& name, const std::string& entries)
{
    return "\n\nFixes for " + name + ":\n" + entries;
}

std::string hacks(const std::string& name, const std::string& entries)
{
    return "\n\nSpeed Hacks for " + name + ":\n" + entries;
}

std::string notFound(const std::string& name)
{
    return "File not found: " + name + " ";
}

// Header full of both patterns (never reported), then two fixes and one speed hack.
Bytes gameImage()
{
    Bytes rom(0x120, 0);
    const auto plant = [&rom](std::size_t at, const Bytes& bytes) {
        std::copy(bytes.begin(), bytes.end(), rom.begin() + static_cast<long>(at));
    };
    plant(0x10, {0xAD, 0x40, 0x21, 0xD0, 0xFE});  // LDA $2140 / BNE back
    plant(0x20, {0xAD, 0x10, 0x42, 0x10, 0xFB});  // LDA $4210 / BPL back
    plant(0x100, {0x8D, 0x41, 0x21, 0xF0, 0x05}); // STA $2141 / BEQ forward
    return copierImage(rom, patternHeader());
}

const std::string kGameFixes = "13=EAEA,103=80,";
const std::string kGameHacks = "23=421B,";

class Tevrin : public ::testing::Test {
protected:
    Tevrin() : folder_(root_.path() / "run") { std::filesystem::create_directory(folder_); }

    std::string write(const std::string& name, const Bytes& bytes) const
    {
        writeFile(folder_ / name, bytes);
        return name;
    }

    RunResult run(const Args& args, Output output = Output::Captured) const
    {
        return runTevrin(args, folder_, output);
    }

    // Runs and checks the whole standard output, the exit status and a silent standard error.
    void expectRun(const Args& args, const std::string& out, int status) const
    {
        const RunResult result = run(args);
        EXPECT_EQ(result.out, out);
        EXPECT_EQ(result.status, status);
        EXPECT_EQ(result.err, "");
    }

    TempDir root_;
    std::filesystem::path folder_;
};

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
    Bytes rom = {0xAD, 0x40, 0x21};
    rom.resize(rom.size() + 14, 0xEA);
    rom.insert(rom.end(), {0xD0, 0xFE, 0xAD, 0x10, 0x42});
    rom.resize(rom.size() + 14, 0xEA);
    rom.insert(rom.end(), {0x10, 0xFB});
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

TEST_F(Tevrin, OffsetsPastTwoGibibytesAreExact)
{
    // A sparse image: the holes read as zeros and take no disk.
    constexpr std::uint64_t kFar = 0x90000000;
    const std::filesystem::path image = folder_ / "big.smc";
    {
        std::ofstream out(image, std::ios::binary);
        const Bytes near = copierImage({0xAD, 0x40, 0x21, 0xD0, 0xFE});
        out.write(reinterpret_cast<const char*>(near.data()), static_cast<std::streamsize>(near.size()));
        out.seekp(static_cast<std::streamoff>(512 + kFar));
        const Bytes far = {0xAD, 0x40, 0x21, 0xD0, 0xFE, 0xAD, 0x10, 0x42, 0x10, 0xFB};
        out.write(reinterpret_cast<const char*>(far.data()), static_cast<std::streamsize>(far.size()));
    }
    expectRun({"16", "40", "big.smc"},
        kBanner + sizes("16", "40") + fixes("big.smc", "3=EAEA,90000003=EAEA,") + hacks("big.smc", "90000008=421B,") +
            kFinished,
        0);
}

} // namespace
} // namespace tevrin::testing
