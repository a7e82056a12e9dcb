#pragma once

#include "rom/byte_source.h"
#include "tevrin/scan.h"

namespace tevrin {

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
