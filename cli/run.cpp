#include "cli/run.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <limits>

#include "cli/console_entry_writer.h"
#include "cli/report_texts.h"
#include "rom/rom_stream.h"
#include "scan/fix_scan.h"
#include "scan/speed_hack_scan.h"

namespace tevrin {
namespace {

constexpr int kExitSuccess = 0;
constexpr int kExitFailure = -1;

struct WindowSizes {
    std::int32_t fixRange = 0;
    std::int32_t hackRange = 0;
};

// Every file goes through these passes, in this order, each on a stream of its own.
struct Pass {
    const char* title; // receives the file argument
    std::int32_t WindowSizes::*range;
    ScanResult (*scan)(ByteSource&, std::int32_t, EntryWriter&);
};

constexpr Pass kPasses[] = {
    {text::kFixesTitle, &WindowSizes::fixRange, scanFixes},
    {text::kSpeedHacksTitle, &WindowSizes::hackRange, scanSpeedHacks},
};

enum class Walk { Finished, ScanFault, OutputFailed };

bool isWhiteSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

// Leading white space, one optional sign, then decimal digits up to the first
// non-digit; no digits gives 0. Values beyond 32 bits are clamped to the nearest limit.
std::int32_t parseWindowSize(const char* text)
{
    while (isWhiteSpace(*text))
        ++text;
    const bool negative = *text == '-';
    if (*text == '+' || *text == '-')
        ++text;
    constexpr std::int64_t kBeyondAnyLimit = std::int64_t{1} << 32;
    std::int64_t magnitude = 0;
    for (; *text >= '0' && *text <= '9'; ++text)
        magnitude = std::min(magnitude * 10 + (*text - '0'), kBeyondAnyLimit);
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(negative ? -magnitude : magnitude,
        std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::max()));
}

void writeBanner()
{
    std::fputs(text::kBannerTop, stdout);
    std::fputs(text::kBannerTitle, stdout);
    std::fputs(text::kBannerBottom, stdout);
}

void writeUsage()
{
    std::fputs(text::kUsage, stdout);
    std::fputs(text::kUsageRanges, stdout);
    std::fputs(text::kUsageAdvice, stdout);
    std::fputs(text::kNoFiles, stdout);
}

// Runs every pass over every file; the first file that cannot be opened ends the walk.
Walk walkFiles(const WindowSizes& sizes, char* const files[], int count)
{
    ConsoleEntryWriter writer;
    for (int i = 0; i < count; ++i) {
        for (const Pass& pass : kPasses) {
            RomStream rom;
            if (!rom.open(files[i])) {
                std::printf(text::kFileNotFound, files[i]);
                return Walk::Finished;
            }
            std::printf(pass.title, files[i]);
            if (!rom.positionAtRomStart() || pass.scan(rom, sizes.*pass.range, writer) == ScanResult::Fault)
                return Walk::ScanFault;
            // No point reading gigabytes for a report that is not arriving anywhere.
            if (std::ferror(stdout))
                return Walk::OutputFailed;
        }
    }
    return Walk::Finished;
}

// The report is only as good as its last byte: a write failure overrides any other status.
int finish(int status)
{
    if (std::fflush(stdout) != 0 || std::ferror(stdout)) {
        std::fputs(text::kReportNotWritten, stderr);
        return kExitFailure;
    }
    return status;
}

} // namespace

int run(int argc, char* argv[])
{
    writeBanner();
    if (argc < 4) {
        writeUsage();
        return finish(kExitFailure);
    }
    const WindowSizes sizes{parseWindowSize(argv[1]), parseWindowSize(argv[2])};
    std::printf(text::kWindowSizes, sizes.fixRange, sizes.hackRange);

    switch (walkFiles(sizes, argv + 3, argc - 3)) {
    case Walk::Finished:
        std::fputs(text::kFinished, stdout);
        return finish(kExitSuccess);
    case Walk::ScanFault:
        std::fputs(text::kScanFault, stdout);
        return finish(kExitFailure);
    case Walk::OutputFailed:
        break;
    }
    return finish(kExitFailure);
}

} // namespace tevrin
