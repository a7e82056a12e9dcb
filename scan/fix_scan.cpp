#include "scan/fix_scan.h"

#include "scan/scan_state.h"

namespace tevrin {
namespace {

// Instructions with an absolute (or immediate, or long) operand that can name a port.
constexpr OpcodeTable kPortAccessOpcodes = makeOpcodeTable({
    0x8C, 0x8D, 0x8E, 0x8F, 0x99, 0x9D, 0x9F, // STY, STA, STX, STA long, STA abs,Y, STA abs,X, STA long,X
    0xA0, 0xA2, 0xA9,                         // LDY, LDX, LDA immediate
    0xAC, 0xAD, 0xAE,                         // LDY, LDA, LDX absolute
    0xB9, 0xBC, 0xBD, 0xBE,                   // LDA abs,Y, LDY abs,X, LDA abs,X, LDX abs,Y
    0xC0, 0xC9, 0xCC, 0xCD, 0xD9, 0xDD,       // CPY #, CMP #, CPY abs, CMP abs, CMP abs,Y, CMP abs,X
    0xE0, 0xEC,                               // CPX #, CPX abs
});

constexpr int kBeq = 0xF0;
constexpr int kBne = 0xD0;
constexpr int kBra = 0x80;
constexpr int kNop = 0xEA;

bool isPortLowByte(int b) { return b >= 0x40 && b <= 0x43; }

} // namespace

ScanResult scanFixes(ByteSource& rom, std::int32_t fixRange, EntryWriter& out)
{
    ScanState state = ScanState::FIND_SPC;
    WindowCounter counter = 0;

    for (int b = rom.next(); b != ByteSource::kEnd; b = rom.next()) {
        switch (state) {
        case ScanState::FIND_SPC:
            if (kPortAccessOpcodes[b])
                state = ScanState::FOUND_SPC_OP;
            break;
        case ScanState::FOUND_SPC_OP:
            state = isPortLowByte(b) ? ScanState::FOUND_0x4X : ScanState::FIND_SPC;
            break;
        case ScanState::FOUND_0x4X:
            state = b == 0x21 ? ScanState::FOUND_0x21 : ScanState::FIND_SPC;
            break;
        case ScanState::FOUND_0x21:
            if (b == kBeq || b == kBne) {
                counter = 0;
                state = ScanState::FIND_SPC;
                const int displacement = rom.next();
                if (displacement == ByteSource::kEnd)
                    return endBeforeDisplacement(rom, out);
                const std::uint64_t branchOffset = rom.offset() - 2;
                if (displacement < 0x10)
                    out.write({branchOffset, 1, {kBra, 0}});
                else
                    out.write({branchOffset, 2, {kNop, kNop}});
            } else if (!countInWindow(counter, fixRange)) {
                state = ScanState::FIND_SPC;
            }
            break;
        default:
            return ScanResult::Fault;
        }
    }
    return endOfData(rom);
}

} // namespace tevrin
