#include "run_tevrin.h"

#include <cstdio>
#include <fstream>
#include <sstream>
#include <stdexcept>

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace tevrin::testing {
namespace {

std::string slurp(const std::filesystem::path& file)
{
    std::ifstream in(file, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// In the child, between fork and exec: only plain system calls.
[[noreturn]] void becomeTevrin(char* const argv[], const char* folder, const char* outFile, const char* errFile,
    Output output, int pipeEnd)
{
    if (chdir(folder) != 0)
        _exit(120);
    const int err = open(errFile, O_WRONLY | O_CREAT | O_TRUNC, 0600);
    if (err < 0 || dup2(err, 2) < 0)
        _exit(121);
    close(err);
    if (output == Output::Closed) {
        close(1);
    } else if (output == Output::GoneReader) {
        if (dup2(pipeEnd, 1) < 0)
            _exit(122);
        close(pipeEnd);
    } else {
        const int out = output == Output::Full ? open("/dev/full", O_WRONLY)
                                               : open(outFile, O_WRONLY | O_CREAT | O_TRUNC, 0600);
        if (out < 0 || dup2(out, 1) < 0)
            _exit(122);
        close(out);
    }
    execv(argv[0], argv);
    _exit(123);
}

} // namespace

RunResult runTevrin(const std::vector<std::string>& args, const std::filesystem::path& folder, Output output)
{
    const std::filesystem::path outFile = folder.parent_path() / (folder.filename().string() + ".stdout");
    const std::filesystem::path errFile = folder.parent_path() / (folder.filename().string() + ".stderr");

    std::vector<std::string> words = {TEVRIN_BINARY};
    words.insert(words.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (std::string& word : words)
        argv.push_back(word.data());
    argv.push_back(nullptr);

    int pipeEnds[2] = {-1, -1};
    if (output == Output::GoneReader && pipe2(pipeEnds, O_CLOEXEC) != 0)
        throw std::runtime_error("pipe failed");

    std::fflush(nullptr);
    const pid_t child = fork();
    if (child < 0)
        throw std::runtime_error("fork failed");
    if (child == 0)
        becomeTevrin(argv.data(), folder.c_str(), outFile.c_str(), errFile.c_str(), output, pipeEnds[1]);

    RunResult result;
    if (output == Output::GoneReader) {
        close(pipeEnds[1]);
        char head[10];
        std::size_t got = 0;
        while (got < sizeof head) {
            const ssize_t n = read(pipeEnds[0], head + got, sizeof head - got);
            if (n <= 0)
                break;
            got += static_cast<std::size_t>(n);
        }
        result.out.assign(head, got);
        close(pipeEnds[0]);
    }

    int how = 0;
    rusage usage{};
    if (wait4(child, &how, 0, &usage) != child)
        throw std::runtime_error("wait4 failed");
    result.maxResidentKiB = usage.ru_maxrss;
    result.status = WIFEXITED(how) ? WEXITSTATUS(how) : 128 + WTERMSIG(how);
    if (output == Output::Captured)
        result.out = slurp(outFile);
    result.err = slurp(errFile);
    return result;
}

} // namespace tevrin::testing
