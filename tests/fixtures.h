#pragma once

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string>
#include <vector>

namespace tevrin::testing {

inline void writeFile(const std::filesystem::path& file, const std::vector<std::uint8_t>& bytes)
{
    std::ofstream out(file, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    if (!out)
        throw std::runtime_error("cannot write " + file.string());
}

// A fresh folder under the system's temporary directory, removed with everything in it.
class TempDir {
public:
    TempDir()
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "tevrin-test-XXXXXX").string();
        if (mkdtemp(pattern.data()) == nullptr)
            throw std::runtime_error("mkdtemp failed");
        path_ = pattern;
    }
    ~TempDir()
    {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::filesystem::path& path() const { return path_; }

    // Writes a file in the folder and returns its full path.
    std::string write(const std::string& name, const std::vector<std::uint8_t>& bytes) const
    {
        writeFile(path_ / name, bytes);
        return (path_ / name).string();
    }

private:
    std::filesystem::path path_;
};

// A copier image: a 512-byte header (zeros unless given) in front of the ROM data.
inline std::vector<std::uint8_t> copierImage(const std::vector<std::uint8_t>& rom,
    const std::vector<std::uint8_t>& header = std::vector<std::uint8_t>(512, 0))
{
    std::vector<std::uint8_t> image(512 + rom.size(), 0);
    std::copy_n(header.begin(), std::min<std::size_t>(header.size(), 512), image.begin());
    std::copy(rom.begin(), rom.end(), image.begin() + 512);
    return image;
}

// A header full of both patterns, so that any header byte read as ROM data shows.
inline std::vector<std::uint8_t> patternHeader()
{
    std::vector<std::uint8_t> header;
    while (header.size() < 512)
        for (const std::uint8_t b : {0xAD, 0x40, 0x21, 0xD0, 0xFE, 0xAD, 0x10, 0x42, 0x10, 0xFB})
            header.push_back(b);
    header.resize(512);
    return header;
}

} // namespace tevrin::testing
