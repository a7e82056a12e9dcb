#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace tevrin::testing {

// Where the child's standard output goes. GoneReader is a pipe whose reader
// takes the first ten bytes and then closes its end.
enum class Output { Captured, Closed, Full, GoneReader };

struct RunResult {
    std::string out;
    std::string err;
    int status = -1; // the exit status, or 128 + the signal that ended it
    long maxResidentKiB = 0;
};

// Runs the built tevrin with exactly these arguments (no shell in between) in the given folder.
RunResult runTevrin(const std::vector<std::string>& args, const std::filesystem::path& folder,
    Output output = Output::Captured);

} // namespace tevrin::testing
