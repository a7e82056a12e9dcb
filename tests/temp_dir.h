#pragma once

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string>
#include <vector>

namespace tevrin::testing {

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
        const std::filesystem::path file = path_ / name;
        std::ofstream out(file, std::ios::binary);
        out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
        if (!out)
            throw std::runtime_error("cannot write " + file.string());
        return file.string();
    }

private:
    std::filesystem::path path_;
};

// A copier image: a 512-byte header (zeros unless given) in front of the ROM data.
inline std::vector<std::uint8_t> copierImage(const std::vector<std::uint8_t>& rom,
    const std::vector<std::uint8_t>& header = std::vector<std::uint8_t>(512, 0))
{
    std::vector<std::uint8_t> image = header;
    image.resize(512, 0);
    image.insert(image.end(), rom.begin(), rom.end());
    return image;
}

} // namespace tevrin::testing
