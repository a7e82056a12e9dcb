#include "scan/speed_hack_scan.h"

#include "scan/scan_state.h"

namespace tevrin {
namespace {

// Loads and compares that can read $4210; unlike the port scan, no stores and no CPX/CPY.
constexpr OpcodeTable kFlagReadOpcodes = makeOpcodeTable({
    0xA0, 0xA2, 0xA9,                   // LDY, LDX, LDA immediate
    0xAC, 0xAD, 0xAE, 0xAF,             // LDY, LDA, LDX absolute, LDA long
    0xB9, 0xBC, 0xBD, 0xBE,             // LDA abs,Y, LDY abs,X, LDA abs,X, LDX abs,Y
    0xC9, 0xCD, 0xCF, 0xD9, 0xDD,       // CMP #, CMP abs, CMP long, CMP abs,Y, CMP abs,X
});

constexpr OpcodeTable kLoopBranchOpcodes = makeOpcodeTable({
    0x10, 0x30, 0x50, 0x70, 0x80, 0x90, 0xB0, 0xD0, 0xF0, // BPL BMI BVC BVS BRA BCC BCS BNE BEQ
});

constexpr int kBne = 0xD0;
constexpr int kBeq = 0xF0;
constexpr std::uint8_t kWdm = 0x42;
constexpr std::uint8_t kStp = 0xDB;

} // namespace

ScanResult scanSpeedHacks(ByteSource& rom, std::int32_t hackRange, EntryWriter& out)
{
    ScanState state = ScanState::FIND_VBLANK;
    WindowCounter counter = 0;
    int loopOp = 0;

    for (int b = rom.next(); b != ByteSource::kEnd; b = rom.next()) {
        switch (state) {
        case ScanState::FIND_VBLANK:
            if (kFlagReadOpcodes[b])
                state = ScanState::FOUND_POTENTIAL_OP;
            break;
        case ScanState::FOUND_POTENTIAL_OP:
            state = b == 0x10 ? ScanState::FOUND_0x10 : ScanState::FIND_VBLANK;
            break;
        case ScanState::FOUND_0x10:
            state = b == 0x42 ? ScanState::FOUND_0x42 : ScanState::FIND_VBLANK;
            break;
        case ScanState::FOUND_0x42:
            if (kLoopBranchOpcodes[b]) {
                loopOp = b;
                counter = 0;
                state = ScanState::FIND_VBLANK;
                const int displacement = rom.next();
                if (displacement == ByteSource::kEnd)
                    return endBeforeDisplacement(rom, out);
                const std::uint64_t branchOffset = rom.offset() - 2;
                if (displacement < 0xE0) {
                    // Forward, or too far back to be the wait loop: keep looking.
                    state = ScanState::FOUND_0x42;
                } else if (displacement < 0xF0) {
                    if (loopOp == kBne)
                        out.write({branchOffset, 2, {kStp, static_cast<std::uint8_t>(displacement & 0x7F)}});
                    else if (loopOp == kBeq)
                        out.write({branchOffset, 2, {kStp, static_cast<std::uint8_t>(displacement | 0x50)}});
                } else {
                    const auto marker = static_cast<std::uint8_t>(loopOp + displacement - 0xF0);
                    out.write({branchOffset, 2, {kWdm, marker}});
                }
            } else if (!countInWindow(counter, hackRange)) {
                state = ScanState::FIND_VBLANK;
            }
            break;
        default:
            return ScanResult::Fault;
        }
    }
    return endOfData(rom);
}

} // namespace tevrin
