#include "fuzz_support.h"

#include <signal.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string_view>

namespace orvane::fuzz {

namespace {

constexpr std::string_view kScratchPrefix = "orvane-fuzz-";

// libFuzzer often ends the process without running exit handlers, so each
// process removes the folders of processes that are gone.
void removeStaleScratchDirs(const std::filesystem::path& base) {
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator(base, ec)) {
        const std::string name = entry.path().filename().string();
        if (name.rfind(kScratchPrefix, 0) != 0) continue;
        const std::string pid = name.substr(kScratchPrefix.size());
        if (pid.empty() || pid.find_first_not_of("0123456789") != std::string::npos) continue;
        if (::kill(static_cast<pid_t>(std::stol(pid)), 0) != 0 && errno == ESRCH)
            std::filesystem::remove_all(entry.path(), ec);
    }
}

std::filesystem::path makeScratchDir() {
    std::filesystem::path base = std::filesystem::exists("/dev/shm") ? "/dev/shm" : std::filesystem::temp_directory_path();
    removeStaleScratchDirs(base);
    std::filesystem::path dir = base / (std::string(kScratchPrefix) + std::to_string(getpid()));
    std::filesystem::create_directories(dir);
    std::atexit([] {
        std::error_code ec;
        std::filesystem::remove_all(scratchDir(), ec);
    });
    return dir;
}

}  // namespace

const std::filesystem::path& scratchDir() {
    static const std::filesystem::path dir = makeScratchDir();
    return dir;
}

void writeFile(const std::filesystem::path& path, const std::uint8_t* data, std::size_t size) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    if (!out) fail("cannot write the scratch file " + path.string());
}

void fail(const std::string& what) {
    std::fprintf(stderr, "fuzz finding: %s\n", what.c_str());
    std::abort();
}

}  // namespace orvane::fuzz
