// Feeds arbitrary bytes to both scanners and checks what must hold for any ROM.
//
// Input layout: three bytes choose the fix window, three the speed-hack window,
// one the chunk pattern of a chunked source; the rest is the ROM data. Every
// scan runs three ways (in memory, in uneven chunks, and from a real file with a
// copier header) and all three must report exactly the same.

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <span>
#include <string>
#include <vector>

#include <sys/mman.h>
#include <unistd.h>

#include "rom/byte_source.h"
#include "rom/rom_stream.h"
#include "scan/fix_scan.h"
#include "scan/patch_entry.h"
#include "scan/speed_hack_scan.h"
#include "tests/fixtures.h"

namespace {

using namespace tevrin;
using Rom = std::span<const std::uint8_t>;

[[noreturn]] void fail(const char* what, std::uint64_t offset)
{
    std::fprintf(stderr, "property violated at ROM offset %llX: %s\n", static_cast<unsigned long long>(offset), what);
    std::abort();
}

void require(bool holds, const char* what, std::uint64_t offset = 0)
{
    if (!holds)
        fail(what, offset);
}

// Everything a scan said, in order; an end-of-file message is an entry of length 0.
struct Outcome {
    ScanResult result = ScanResult::Complete;
    std::vector<PatchEntry> said;
    bool operator==(const Outcome&) const = default;
};

class Recorder final : public EntryWriter {
public:
    explicit Recorder(Outcome& outcome) : outcome_(outcome) {}
    void write(const PatchEntry& entry) override { outcome_.said.push_back(entry); }
    void endOfFile() override { outcome_.said.push_back({}); }

private:
    Outcome& outcome_;
};

using Scan = ScanResult (*)(ByteSource&, std::int32_t, EntryWriter&);

Outcome runScan(Scan scan, ByteSource& source, std::int32_t range)
{
    Outcome outcome;
    Recorder recorder(outcome);
    outcome.result = scan(source, range, recorder);
    return outcome;
}

// Hands the data over in chunks of 0 to 15 bytes, so that every pattern gets split somewhere.
class ChunkedSource final : public ByteSource {
public:
    ChunkedSource(Rom rom, std::uint8_t pattern) : rom_(rom), step_(pattern) {}

private:
    bool refill() override
    {
        if (at_ == rom_.size())
            return false;
        step_ = static_cast<std::uint8_t>(step_ * 5 + 3);
        const std::size_t size = std::min<std::size_t>(step_ % 16, rom_.size() - at_);
        setChunk(rom_.subspan(at_, size));
        at_ += size;
        return true;
    }

    Rom rom_;
    std::size_t at_ = 0;
    std::uint8_t step_;
};

// One image file for the whole run, rewritten for every input. It lives in
// memory, and the stream opens it by name like any other file.
class ImageFile {
public:
    ImageFile()
    {
        fd_ = memfd_create("tevrin-fuzz-image", 0);
        require(fd_ >= 0, "cannot create the image file");
        path_ = "/proc/self/fd/" + std::to_string(fd_);
    }
    ~ImageFile() { close(fd_); }

    // The header is made of both patterns, so that a header byte read as ROM data shows.
    const std::string& write(Rom rom)
    {
        static const std::vector<std::uint8_t> header = testing::patternHeader();
        const bool written = ftruncate(fd_, 0) == 0 &&
            pwrite(fd_, header.data(), header.size(), 0) == static_cast<ssize_t>(header.size()) &&
            pwrite(fd_, rom.data(), rom.size(), RomStream::kHeaderSize) == static_cast<ssize_t>(rom.size());
        require(written, "cannot write the image file");
        return path_;
    }

private:
    int fd_ = -1;
    std::string path_;
};

Outcome runFromFile(Scan scan, Rom rom, std::int32_t range)
{
    static ImageFile image;
    RomStream stream;
    require(stream.open(image.write(rom)) && stream.positionAtRomStart(), "cannot open the image file");
    return runScan(scan, stream, range);
}

// Window sizes of every kind: the small ones people use, any 16-bit value
// (zero, negative, 32767), just past the 16-bit counter, and near the 32-bit limits.
std::int32_t windowSize(std::uint8_t kind, std::uint8_t low, std::uint8_t high)
{
    const int value = low | high << 8;
    switch (kind % 4) {
    case 0:
        return low % 64;
    case 1:
        return static_cast<std::int16_t>(value);
    case 2:
        return 32767 + value;
    default:
        return kind & 4 ? INT32_MIN + value : INT32_MAX - value;
    }
}

bool isLoopBranch(std::uint8_t op)
{
    switch (op) {
    case 0x10: case 0x30: case 0x50: case 0x70: case 0x80: case 0x90: case 0xB0: case 0xD0: case 0xF0:
        return true;
    default:
        return false;
    }
}

// Whether an address's two bytes appear in the data, in order, ending at or before `end`.
// Entries arrive in increasing order, so one forward walk serves a whole pass.
class AddressSeen {
public:
    AddressSeen(Rom rom, bool (*isLowByte)(std::uint8_t), std::uint8_t highByte)
        : rom_(rom), isLowByte_(isLowByte), highByte_(highByte) {}

    bool before(std::uint64_t end)
    {
        for (; !seen_ && next_ + 2 <= end; ++next_)
            seen_ = isLowByte_(rom_[next_]) && rom_[next_ + 1] == highByte_;
        return seen_;
    }

private:
    Rom rom_;
    bool (*isLowByte_)(std::uint8_t);
    std::uint8_t highByte_;
    std::uint64_t next_ = 0;
    bool seen_ = false;
};

bool isFixBranch(std::uint8_t op) { return op == 0xD0 || op == 0xF0; }
bool isPortLowByte(std::uint8_t b) { return b >= 0x40 && b <= 0x43; }
bool isFlagLowByte(std::uint8_t b) { return b == 0x10; }

// What a pass looks for: the branch it patches, after an address ($21xx or $42xx).
struct PassShape {
    bool (*isBranch)(std::uint8_t);
    bool (*isAddressLowByte)(std::uint8_t);
    std::uint8_t addressHighByte;
};

// What holds for any pass: offsets inside the data and strictly increasing,
// each entry on a branch of the pass's kind after the pass's address, and an
// end-of-file message only last and only after a branch opcode in the final
// byte. checkBytes then judges the entry's bytes against the displacement.
template <typename CheckBytes>
void checkPass(Rom rom, const Outcome& outcome, const PassShape& shape, CheckBytes checkBytes)
{
    require(outcome.result == ScanResult::Complete, "a scan of memory faulted");
    AddressSeen address(rom, shape.isAddressLowByte, shape.addressHighByte);
    std::uint64_t next = 0;
    for (std::size_t i = 0; i < outcome.said.size(); ++i) {
        const PatchEntry& entry = outcome.said[i];
        const std::uint64_t at = entry.romOffset;
        if (entry.length == 0) {
            require(i + 1 == outcome.said.size(), "end of file is not the last message");
            require(!rom.empty() && shape.isBranch(rom.back()), "end of file without a branch in the last byte",
                rom.size());
            continue;
        }
        require(at >= next, "offsets do not strictly increase", at);
        require(at + 1 < rom.size(), "entry outside the data", at);
        require(shape.isBranch(rom[at]), "entry not on a branch of its kind", at);
        require(address.before(at), "entry without its address before it", at);
        checkBytes(entry, rom[at], rom[at + 1]);
        next = at + 2;
    }
}

void checkFixes(Rom rom, const Outcome& outcome)
{
    checkPass(rom, outcome, {isFixBranch, isPortLowByte, 0x21},
        [](const PatchEntry& entry, std::uint8_t, std::uint8_t displacement) {
            const std::uint64_t at = entry.romOffset;
            if (displacement < 0x10)
                require(entry == PatchEntry{at, 1, {0x80, 0}}, "short forward branch not made BRA", at);
            else
                require(entry == PatchEntry{at, 2, {0xEA, 0xEA}}, "branch not made two NOPs", at);
        });
}

void checkSpeedHacks(Rom rom, const Outcome& outcome)
{
    checkPass(rom, outcome, {isLoopBranch, isFlagLowByte, 0x42},
        [](const PatchEntry& entry, std::uint8_t op, std::uint8_t displacement) {
            const std::uint64_t at = entry.romOffset;
            require(entry.length == 2, "speed hack is not two bytes", at);
            if (displacement >= 0xF0) {
                const auto marker = static_cast<std::uint8_t>((op & 0xF0) | (displacement & 0x0F));
                require(entry.bytes[0] == 0x42 && entry.bytes[1] == marker, "wrong WDM marker", at);
            } else if (displacement >= 0xE0 && op == 0xD0) {
                require(entry.bytes[0] == 0xDB && entry.bytes[1] == (displacement & 0x7F), "wrong STP marker for BNE",
                    at);
            } else if (displacement >= 0xE0 && op == 0xF0) {
                require(entry.bytes[0] == 0xDB && entry.bytes[1] == (displacement | 0x50), "wrong STP marker for BEQ",
                    at);
            } else {
                fail("speed hack on a branch that is not a short loop back", at);
            }
        });
}

struct Pass {
    Scan scan;
    void (*check)(Rom, const Outcome&);
};

constexpr Pass kPasses[] = {{scanFixes, checkFixes}, {scanSpeedHacks, checkSpeedHacks}};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    constexpr std::size_t kSettings = 7;
    if (size < kSettings)
        return 0;
    const std::int32_t ranges[] = {windowSize(data[0], data[1], data[2]), windowSize(data[3], data[4], data[5])};
    const std::uint8_t chunkPattern = data[6];
    const Rom rom(data + kSettings, size - kSettings);

    for (int i = 0; i < 2; ++i) {
        const Pass& pass = kPasses[i];
        MemorySource memory(rom);
        const Outcome expected = runScan(pass.scan, memory, ranges[i]);
        pass.check(rom, expected);

        ChunkedSource chunked(rom, chunkPattern);
        require(runScan(pass.scan, chunked, ranges[i]) == expected, "chunked source differs from memory");
        require(runFromFile(pass.scan, rom, ranges[i]) == expected, "file stream differs from memory");
    }
    return 0;
}
