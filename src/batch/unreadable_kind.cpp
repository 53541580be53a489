#include "batch/unreadable_kind.h"

#include <fstream>
#include <string_view>

namespace orvane::batch {

namespace {

// The first bytes as 8-bit text: UTF-16LE (with or without its byte-order
// mark) is narrowed, anything else is taken as it is.
std::string headerBytes(const std::filesystem::path& file, bool& utf16) {
    std::ifstream in(file, std::ios::binary);
    std::string bytes(64, '\0');
    in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    bytes.resize(static_cast<std::size_t>(in.gcount()));
    std::size_t start = bytes.starts_with("\xFF\xFE") ? 2 : 0;
    utf16 = bytes.size() >= start + 2 && bytes[start] != '\0' && bytes[start + 1] == '\0';
    if (!utf16) return bytes;
    std::string narrow;
    for (std::size_t i = start; i + 1 < bytes.size(); i += 2) narrow += bytes[i + 1] == '\0' ? bytes[i] : '?';
    return narrow;
}

}  // namespace

std::string unreadableKind(const std::filesystem::path& file) {
    bool utf16 = false;
    const std::string header = headerBytes(file, utf16);
    if (header.starts_with("SIMISA@@@@@@"))
        return utf16 ? "shape text that could not be parsed" : "8-bit shape text that could not be parsed";
    return "not a shape file";
}

}  // namespace orvane::batch
