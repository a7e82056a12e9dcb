// Throughput of the two passes and of a whole run over one image of 200 MiB or more.
//
//   build/bench/throughput            random bytes
//   build/bench/throughput FOLDER     the ROM data of every image in FOLDER, concatenated
//                                     and repeated up to the size
//
// Google Benchmark's own flags (--benchmark_repetitions=5, ...) come first.

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

#include <fcntl.h>
#include <spawn.h>
#include <unistd.h>
#include <sys/wait.h>

#include <benchmark/benchmark.h>

#include "rom/rom_stream.h"
#include "scan/fix_scan.h"
#include "scan/speed_hack_scan.h"

extern char** environ;

namespace {

constexpr std::size_t kMinimumRomBytes = 200u << 20;
constexpr std::size_t kRandomRomBytes = 256u << 20;

std::filesystem::path imagePath;
std::uint64_t romBytes = 0;

std::vector<std::uint8_t> randomRom()
{
    std::vector<std::uint8_t> rom(kRandomRomBytes);
    std::mt19937_64 random(2026);
    for (std::size_t i = 0; i + 8 <= rom.size(); i += 8) {
        const std::uint64_t word = random();
        for (int k = 0; k < 8; ++k)
            rom[i + k] = static_cast<std::uint8_t>(word >> (8 * k));
    }
    return rom;
}

std::vector<std::uint8_t> folderRom(const std::filesystem::path& folder)
{
    std::vector<std::filesystem::path> images;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        if (entry.is_regular_file() && entry.path().extension() == ".smc")
            images.push_back(entry.path());
    std::sort(images.begin(), images.end());
    std::vector<std::uint8_t> all;
    for (const auto& image : images) {
        std::ifstream in(image, std::ios::binary);
        std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        if (bytes.size() > 512)
            all.insert(all.end(), bytes.begin() + 512, bytes.end());
    }
    if (all.empty())
        return all;
    std::vector<std::uint8_t> rom;
    while (rom.size() < kMinimumRomBytes)
        rom.insert(rom.end(), all.begin(), all.end());
    return rom;
}

class CountingWriter final : public tevrin::EntryWriter {
public:
    void write(const tevrin::PatchEntry&) override { ++entries; }
    void endOfFile() override {}
    std::uint64_t entries = 0;
};

void reportRate(benchmark::State& state)
{
    state.counters["MB"] =
        benchmark::Counter(static_cast<double>(romBytes) / 1e6, benchmark::Counter::kIsIterationInvariantRate);
}

void pass(benchmark::State& state, tevrin::ScanResult (*scan)(tevrin::ByteSource&, std::int32_t, tevrin::EntryWriter&),
    std::int32_t range)
{
    CountingWriter writer;
    for (auto _ : state) {
        tevrin::RomStream rom;
        if (!rom.open(imagePath.string()) || !rom.positionAtRomStart() ||
            scan(rom, range, writer) != tevrin::ScanResult::Complete) {
            state.SkipWithError("scan failed");
            return;
        }
    }
    state.counters["entries"] = static_cast<double>(writer.entries / state.iterations());
    reportRate(state);
}

void fixPass(benchmark::State& state) { pass(state, tevrin::scanFixes, 16); }
void speedHackPass(benchmark::State& state) { pass(state, tevrin::scanSpeedHacks, 40); }

// The whole program on the image, both passes and the report, as a user runs it.
void wholeRun(benchmark::State& state)
{
    const std::string image = imagePath.string();
    char* argv[] = {const_cast<char*>(TEVRIN_BINARY), const_cast<char*>("16"), const_cast<char*>("40"),
        const_cast<char*>(image.c_str()), nullptr};
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    for (auto _ : state) {
        pid_t child = 0;
        int status = 0;
        if (posix_spawn(&child, argv[0], &actions, nullptr, argv, environ) != 0 ||
            waitpid(child, &status, 0) != child || !WIFEXITED(status) || WEXITSTATUS(status) != 0) {
            state.SkipWithError("tevrin failed");
            break;
        }
    }
    posix_spawn_file_actions_destroy(&actions);
    reportRate(state);
}

} // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    const std::vector<std::uint8_t> rom = argc > 1 ? folderRom(argv[1]) : randomRom();
    if (rom.empty()) {
        std::cerr << "no ROM images (*.smc larger than 512 bytes) in " << argv[1] << "\n";
        return 1;
    }
    romBytes = rom.size();

    imagePath = std::filesystem::temp_directory_path() / ("tevrin-bench-" + std::to_string(::getpid()) + ".smc");
    {
        std::ofstream out(imagePath, std::ios::binary);
        const std::vector<char> header(512, 0);
        out.write(header.data(), static_cast<std::streamsize>(header.size()));
        out.write(reinterpret_cast<const char*>(rom.data()), static_cast<std::streamsize>(rom.size()));
    }
    std::cout << "image: " << (argc > 1 ? argv[1] : "random bytes") << ", " << romBytes / 1e6 << " MB of ROM data\n";

    benchmark::RegisterBenchmark("fix pass", fixPass)->Unit(benchmark::kMillisecond)->UseRealTime();
    benchmark::RegisterBenchmark("speed-hack pass", speedHackPass)->Unit(benchmark::kMillisecond)->UseRealTime();
    benchmark::RegisterBenchmark("whole run (both passes)", wholeRun)->Unit(benchmark::kMillisecond)->UseRealTime();
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    std::filesystem::remove(imagePath);
    return 0;
}
