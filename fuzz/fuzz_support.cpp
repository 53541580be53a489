#include "fuzz_support.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <vector>

namespace orvane::fuzz {

namespace {

std::filesystem::path makeScratchDir() {
    std::filesystem::path base = std::filesystem::exists("/dev/shm") ? "/dev/shm" : std::filesystem::temp_directory_path();
    std::filesystem::path dir = base / ("orvane-fuzz-" + std::to_string(getpid()));
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

std::string readFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream content;
    content << in.rdbuf();
    return content.str();
}

NodePtr readTree(const std::filesystem::path& path) {
    NodePtr root = clsReader::create();
    root->ReadFile(path, true);
    return root;
}

std::string compareTrees(const clsReader& a, const clsReader& b) {
    std::vector<std::pair<const clsReader*, const clsReader*>> pending{{&a, &b}};
    while (!pending.empty()) {
        auto [x, y] = pending.back();
        pending.pop_back();
        if (x->Name != y->Name) return "name \"" + x->Name.str() + "\" became \"" + y->Name.str() + "\"";
        if (x->Text != y->Text) return "label of \"" + x->Name.str() + "\" changed";
        if (x->Strings() != y->Strings()) return "values of \"" + x->Name.str() + "\" changed";
        if (x->Nodes().size() != y->Nodes().size()) return "children of \"" + x->Name.str() + "\" changed";
        for (std::size_t i = 0; i < x->Nodes().size(); ++i)
            pending.emplace_back(x->Nodes()[i].get(), y->Nodes()[i].get());
    }
    return {};
}

void fail(const std::string& what) {
    std::fprintf(stderr, "fuzz finding: %s\n", what.c_str());
    std::abort();
}

}  // namespace orvane::fuzz
