// Inputs a careless or hostile user can hand the tool: files that are not ROMs,
// names that look like options or format strings, odd window sizes, and a
// standard output that fails in every way it can.

#include <csignal>
#include <filesystem>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "tevrin_fixture.h"

namespace tevrin::testing {
namespace {

struct HostileCase {
    const char* what;
    Args args;
    std::string out;
    int status;
};

std::string bothEmpty(const std::string& name)
{
    return fixes(name, "") + hacks(name, "");
}

std::string bothOfGame(const std::string& name)
{
    return fixes(name, kGameFixes) + hacks(name, kGameHacks);
}

const std::string kDefaultSizes = sizes("16", "40");

class HostileInput : public Tevrin {
protected:
    HostileInput()
    {
        write("empty.smc", {});
        Bytes oneShortOfAHeader = patternHeader();
        oneShortOfAHeader.pop_back();
        write("short.smc", oneShortOfAHeader);
        write("ff.smc", Bytes(512 + 4096, 0xFF));
        std::filesystem::create_directory(folder_ / "roms");
        for (const char* name : {"game.smc", "-game.smc", "my game.smc", "new\nline.smc", "%n%s.smc"})
            write(name, gameImage());
    }
};

TEST_F(HostileInput, EveryCaseGivesItsExactReportAndStatus)
{
    const std::vector<HostileCase> cases = {
        {"empty file", {"16", "40", "empty.smc"}, kDefaultSizes + bothEmpty("empty.smc"), 0},
        {"511 bytes, all header", {"16", "40", "short.smc"}, kDefaultSizes + bothEmpty("short.smc"), 0},
        {"all 0xFF", {"16", "40", "ff.smc"}, kDefaultSizes + bothEmpty("ff.smc"), 0},
        {"directory", {"16", "40", "roms", "game.smc"}, kDefaultSizes + notFound("roms"), 0},
        {"through a non-directory", {"16", "40", "game.smc/x"}, kDefaultSizes + notFound("game.smc/x"), 0},
        {"/dev/null", {"16", "40", "/dev/null"}, kDefaultSizes + bothEmpty("/dev/null"), 0},
        {"name like an option", {"16", "40", "-game.smc", "--help"},
            kDefaultSizes + bothOfGame("-game.smc") + notFound("--help"), 0},
        {"space in the name", {"16", "40", "my game.smc"}, kDefaultSizes + bothOfGame("my game.smc"), 0},
        {"newline in the name", {"16", "40", "new\nline.smc"}, kDefaultSizes + bothOfGame("new\nline.smc"), 0},
        {"format string as name", {"16", "40", "%n%s.smc", "%n%s"},
            kDefaultSizes + bothOfGame("%n%s.smc") + notFound("%n%s"), 0},
        {"window sizes too large and minus zero", {"99999999999999999999", "-0", "game.smc"},
            sizes("2147483647", "0") + bothOfGame("game.smc"), 0},
        {"window sizes with two signs and leading blanks", {"+-1", " \t16", "game.smc"},
            sizes("0", "16") + bothOfGame("game.smc"), 0},
        {"no files", {"16", "40"}, kUsage, 255},
    };
    for (const HostileCase& c : cases) {
        SCOPED_TRACE(c.what);
        expectRun(c.args, kBanner + c.out + (c.status == 0 ? kFinished : ""), c.status);
    }
}

TEST_F(HostileInput, AReaderThatGoesAwayEndsTheRunWithoutAHang)
{
    // A report far larger than a pipe holds, so the tool is still writing when the reader leaves.
    Bytes rom;
    for (int i = 0; i < 20000; ++i)
        rom.insert(rom.end(), {0xAD, 0x40, 0x21, 0xD0, 0xFE});
    write("many.smc", copierImage(rom));
    const RunResult result = run({"16", "40", "many.smc"}, Output::GoneReader);
    EXPECT_EQ(result.out, kBanner.substr(0, 10));
    if (result.status == 128 + SIGPIPE) {
        EXPECT_EQ(result.err, "");
    } else {
        EXPECT_EQ(result.status, 255);
        EXPECT_EQ(result.err, kReportNotWritten);
    }
}

} // namespace
} // namespace tevrin::testing
