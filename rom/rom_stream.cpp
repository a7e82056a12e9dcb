#include "rom/rom_stream.h"

#include <filesystem>
#include <system_error>

namespace tevrin {

bool RomStream::open(const std::string& path)
{
    close();
    // A directory opens fine for reading on some systems but yields no bytes.
    std::error_code error;
    if (std::filesystem::is_directory(path, error))
        return false;
    file_ = std::fopen(path.c_str(), "rb");
    if (file_ == nullptr)
        return false;
    // Reads go straight into our own buffer; a second one inside the FILE would only copy.
    std::setvbuf(file_, nullptr, _IONBF, 0);
    buffer_.resize(kBufferSize);
    return true;
}

bool RomStream::positionAtRomStart()
{
    return file_ != nullptr && std::fseek(file_, kHeaderSize, SEEK_SET) == 0;
}

void RomStream::close()
{
    if (file_ != nullptr)
        std::fclose(file_);
    file_ = nullptr;
}

bool RomStream::refill()
{
    if (file_ == nullptr)
        return false;
    const std::size_t got = std::fread(buffer_.data(), 1, buffer_.size(), file_);
    // A failed read ends the pass as a fault, even when it delivered some bytes first.
    if (std::ferror(file_)) {
        markFailed();
        return false;
    }
    if (got == 0)
        return false;
    setChunk({buffer_.data(), got});
    return true;
}

} // namespace tevrin
