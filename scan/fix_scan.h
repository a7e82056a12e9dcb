#pragma once

#include <cstdint>

#include "rom/byte_source.h"
#include "scan/patch_entry.h"

namespace tevrin {

// Finds a BEQ or BNE within fixRange bytes after an access to an audio port
// ($2140 to $2143) and patches it: a short forward branch becomes BRA (80),
// any other one two NOPs (EAEA).
ScanResult scanFixes(ByteSource& rom, std::int32_t fixRange, EntryWriter& out);

} // namespace tevrin
