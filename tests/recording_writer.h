#pragma once

#include <cinttypes>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "rom/byte_source.h"
#include "scan/patch_entry.h"

namespace tevrin::testing {

// Keeps what a scan reports, both as values and in the report's own notation
// ("13=EAEA,", and "<end of file>" for the end-of-file message), for short expectations.
class RecordingWriter final : public EntryWriter {
public:
    void write(const PatchEntry& entry) override
    {
        entries.push_back(entry);
        char buffer[40];
        if (entry.length == 1)
            std::snprintf(buffer, sizeof buffer, "%" PRIX64 "=%02X,", entry.romOffset, entry.bytes[0]);
        else
            std::snprintf(buffer, sizeof buffer, "%" PRIX64 "=%02X%02X,", entry.romOffset, entry.bytes[0],
                entry.bytes[1]);
        text += buffer;
    }
    void endOfFile() override { text += "<end of file>"; }

    std::vector<PatchEntry> entries;
    std::string text;
};

using Bytes = std::vector<std::uint8_t>;
using ScanFunction = ScanResult (*)(ByteSource&, std::int32_t, EntryWriter&);

// Runs a scan over ROM bytes held in memory and returns what it wrote.
inline std::string scanText(ScanFunction scan, const Bytes& rom, std::int32_t range)
{
    MemorySource source(rom);
    RecordingWriter writer;
    if (scan(source, range, writer) != ScanResult::Complete)
        return "<fault>";
    return writer.text;
}

// Builders for short, readable fixtures.
inline Bytes operator+(Bytes a, const Bytes& b)
{
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

inline Bytes filler(std::size_t count, std::uint8_t value = 0xEA)
{
    return Bytes(count, value);
}

} // namespace tevrin::testing
