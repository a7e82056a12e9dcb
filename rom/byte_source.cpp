#include "rom/byte_source.h"

namespace tevrin {

void ByteSource::setChunk(std::span<const std::uint8_t> bytes)
{
    chunkOffset_ += static_cast<std::uint64_t>(limit_ - chunk_);
    chunk_ = bytes.data();
    cursor_ = chunk_;
    limit_ = chunk_ + bytes.size();
}

int ByteSource::nextChunkByte()
{
    while (!ended_) {
        if (!refill()) {
            ended_ = true;
            break;
        }
        if (cursor_ != limit_)
            return *cursor_++;
    }
    return kEnd;
}

bool MemorySource::refill()
{
    if (handedOver_)
        return false;
    handedOver_ = true;
    setChunk(rom_);
    return true;
}

} // namespace tevrin
