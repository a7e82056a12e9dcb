#pragma once

#include <cstdint>

#include "rom/byte_source.h"

namespace tevrin {

// Bytes to write at a ROM offset: one (0x80) or two (0xEA 0xEA, 0x42 yy, 0xDB yy).
struct PatchEntry {
    std::uint64_t romOffset = 0;
    std::uint8_t length = 0;
    std::uint8_t bytes[2] = {};

    bool operator==(const PatchEntry&) const = default;
};

// Where a scan delivers what it finds, the moment it finds it.
class EntryWriter {
public:
    virtual ~EntryWriter() = default;
    virtual void write(const PatchEntry& entry) = 0;
    // The data ended where the displacement of a recognised branch belonged.
    virtual void endOfFile() = 0;
};

enum class ScanResult { Complete, Fault };

// How a scan ends once its source has no more bytes: a failed read is a fault,
// so that a section cut short never looks complete.
inline ScanResult endOfData(const ByteSource& rom)
{
    return rom.failed() ? ScanResult::Fault : ScanResult::Complete;
}

// How a scan ends when the data runs out right after a recognised branch opcode.
inline ScanResult endBeforeDisplacement(const ByteSource& rom, EntryWriter& out)
{
    if (rom.failed())
        return ScanResult::Fault;
    out.endOfFile();
    return ScanResult::Complete;
}

} // namespace tevrin
