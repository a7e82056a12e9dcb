#pragma once

#include <cstdint>

#include "rom/byte_source.h"
#include "scan/patch_entry.h"

namespace tevrin {

// Finds a short backward branch within hackRange bytes after a read of the
// vertical-blank flag register $4210 and replaces it with a marker instruction
// (42yy, or DByy for BNE/BEQ back 17 to 32 bytes) that encodes the branch.
ScanResult scanSpeedHacks(ByteSource& rom, std::int32_t hackRange, EntryWriter& out);

} // namespace tevrin
