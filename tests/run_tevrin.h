#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace tevrin::testing {

// Where the child's standard output goes.
enum class Output { Captured, Closed, Full };

struct RunResult {
    std::string out;
    std::string err;
    int status = -1; // the exit status, or 128 + the signal that ended it
};

// Runs the built tevrin with exactly these arguments (no shell in between) in the given folder.
RunResult runTevrin(const std::vector<std::string>& args, const std::filesystem::path& folder,
    Output output = Output::Captured);

} // namespace tevrin::testing
