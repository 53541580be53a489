#pragma once
// The bare pass: reads the whole file into a new buffer and classifies every
// UTF-16 code unit (blank, "(", ")", quotation mark, word character), the
// least any reader must do. The class counts are returned so the pass
// cannot be optimised away.

#include <array>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <memory>

namespace orvane::bench {

inline std::array<std::uint64_t, 5> barePass(const std::filesystem::path& path) {
    const auto size = static_cast<std::size_t>(std::filesystem::file_size(path));
    auto bytes = std::make_unique_for_overwrite<char16_t[]>(size / 2 + 1);
    std::FILE* f = std::fopen(path.c_str(), "rb");
    const std::size_t got = f ? std::fread(bytes.get(), 1, size, f) : 0;
    if (f) std::fclose(f);
    std::array<std::uint64_t, 5> classes{};
    for (std::size_t i = 0; i < got / 2; ++i) {
        const char16_t u = bytes[i];
        const int c = u < 0x21 ? 0 : u == u'(' ? 1 : u == u')' ? 2 : u == u'"' ? 3 : 4;
        ++classes[c];
    }
    return classes;
}

// The same pass over a small reused buffer: no memory for the whole file, a
// stricter reference for a reader that keeps only a window of the text.
inline std::array<std::uint64_t, 5> barePassWindowed(const std::filesystem::path& path) {
    constexpr std::size_t kWindow = std::size_t{1} << 17;
    static const auto window = std::make_unique<char16_t[]>(kWindow);
    std::array<std::uint64_t, 5> classes{};
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) return classes;
    std::size_t got;
    while ((got = std::fread(window.get(), 2, kWindow, f)) > 0) {
        for (std::size_t i = 0; i < got; ++i) {
            const char16_t u = window[i];
            const int c = u < 0x21 ? 0 : u == u'(' ? 1 : u == u')' ? 2 : u == u'"' ? 3 : 4;
            ++classes[c];
        }
    }
    std::fclose(f);
    return classes;
}

}  // namespace orvane::bench
