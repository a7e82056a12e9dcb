#pragma once

#include "scan/patch_entry.h"

namespace tevrin {

// Writes each entry to standard output at once, as OFFSET=BYTES, with no line break.
class ConsoleEntryWriter final : public EntryWriter {
public:
    void write(const PatchEntry& entry) override;
    void endOfFile() override;
};

} // namespace tevrin
