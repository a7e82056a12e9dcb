#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

namespace tevrin {

// ROM data handed out one byte at a time. The bytes arrive in chunks so that
// the per-byte path is one compare and one load; subclasses supply the chunks.
class ByteSource {
public:
    static constexpr int kEnd = -1;

    ByteSource() = default;
    ByteSource(const ByteSource&) = delete;
    ByteSource& operator=(const ByteSource&) = delete;
    virtual ~ByteSource() = default;

    // The next byte (0 to 255), or kEnd once the data is exhausted and on every call after that.
    int next()
    {
        if (cursor_ != limit_) [[likely]]
            return *cursor_++;
        return nextChunkByte();
    }

    // ROM offset of the byte that the next call to next() returns.
    std::uint64_t offset() const
    {
        return chunkOffset_ + static_cast<std::uint64_t>(cursor_ - chunk_);
    }

    // True when the data ended because a read failed, not because it was all read.
    bool failed() const { return failed_; }

protected:
    // Hands over the next chunk through setChunk(); returns false at the end of the data.
    virtual bool refill() = 0;
    void setChunk(std::span<const std::uint8_t> bytes);
    void markFailed() { failed_ = true; }

private:
    int nextChunkByte();

    const std::uint8_t* chunk_ = nullptr;
    const std::uint8_t* cursor_ = nullptr;
    const std::uint8_t* limit_ = nullptr;
    std::uint64_t chunkOffset_ = 0;
    bool ended_ = false;
    bool failed_ = false;
};

// ROM data already in memory, without the copier header: byte i has ROM offset i.
class MemorySource final : public ByteSource {
public:
    explicit MemorySource(std::span<const std::uint8_t> rom) : rom_(rom) {}

private:
    bool refill() override;

    std::span<const std::uint8_t> rom_;
    bool handedOver_ = false;
};

} // namespace tevrin
