#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "rom/byte_source.h"

namespace tevrin {

// A ROM image file in the copier layout, read sequentially from just past its
// 512-byte header. One stream serves one scan pass.
class RomStream final : public ByteSource {
public:
    static constexpr long kHeaderSize = 512;
    static constexpr std::size_t kBufferSize = 64 * 1024;

    RomStream() = default;
    ~RomStream() override { close(); }

    // Opens the file read-only. Fails for a missing or unreadable file and for a directory.
    bool open(const std::string& path);

    // Moves to the first ROM byte. Fails when the file cannot seek (a pipe, say),
    // because reading on from anywhere else would misplace every offset.
    bool positionAtRomStart();

    void close();

private:
    bool refill() override;

    std::FILE* file_ = nullptr;
    std::vector<std::uint8_t> buffer_;
};

} // namespace tevrin
