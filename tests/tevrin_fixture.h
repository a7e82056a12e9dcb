#pragma once

// What the end-to-end tests share: the report's texts, written out here
// independently of the program, and a fixture that runs the built tool in a
// folder of its own.

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "fixtures.h"
#include "run_tevrin.h"

namespace tevrin::testing {

using Bytes = std::vector<std::uint8_t>;
using Args = std::vector<std::string>;

inline const std::string kBanner = "\n----------------------------------------------------"
                                   "\nOrvane Auto Patcher v4\n\tby Quillmoor\n"
                                   "----------------------------------------------------\n";
inline const std::string kUsage = "\nUSAGE: tevrin <fixRange> <hackRange> <file1.smc> <file2.smc> ..."
                                  "\n\tfixRange and hackRange refer to how many bytes from access of"
                                  "\n\tthe SPC/VBLANK the algorithm should search, I recommend 16 and 40."
                                  "No filename(s) specified!\n\n";
inline const std::string kFinished = "\n\nTool finished successfuly.\n\n";
inline const std::string kScanFault = "\n\nError, exiting...\n\n";
inline const std::string kEndOfFile = "\nEnd of file.\n";
inline const std::string kReportNotWritten = "tevrin: the report could not be written to standard output\n";

inline std::string sizes(const std::string& fixRange, const std::string& hackRange)
{
    return "\tfixRange = " + fixRange + " bytes, hackRange = " + hackRange + " bytes.";
}

inline std::string fixes(const std::string& name, const std::string& entries)
{
    return "\n\nFixes for " + name + ":\n" + entries;
}

inline std::string hacks(const std::string& name, const std::string& entries)
{
    return "\n\nSpeed Hacks for " + name + ":\n" + entries;
}

inline std::string notFound(const std::string& name)
{
    return "File not found: " + name + " ";
}

// Header full of both patterns (never reported), then two fixes and one speed hack.
inline Bytes gameImage()
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

inline const std::string kGameFixes = "13=EAEA,103=80,";
inline const std::string kGameHacks = "23=421B,";

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

} // namespace tevrin::testing
