// The in-memory entry point of the library: the tool's own scanners over a MemorySource.

#include "tevrin/scan.h"

#include "rom/byte_source.h"
#include "scan/fix_scan.h"
#include "scan/speed_hack_scan.h"

namespace tevrin {
namespace {

class CallbackWriter final : public EntryWriter {
public:
    explicit CallbackWriter(const EntryCallback& onEntry) : onEntry_(onEntry) {}

    void write(const PatchEntry& entry) override { onEntry_(entry); }
    void endOfFile() override { cutShort = true; }

    bool cutShort = false;

private:
    const EntryCallback& onEntry_;
};

} // namespace

ScanEnd scanRom(std::span<const std::uint8_t> rom, ScanKind kind, std::int32_t range, const EntryCallback& onEntry)
{
    MemorySource source(rom);
    CallbackWriter writer(onEntry);
    // Memory cannot fail a read, so the scan always completes.
    if (kind == ScanKind::Fixes)
        scanFixes(source, range, writer);
    else
        scanSpeedHacks(source, range, writer);
    return writer.cutShort ? ScanEnd::BranchCutShort : ScanEnd::Complete;
}

} // namespace tevrin
