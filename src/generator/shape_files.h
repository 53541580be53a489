#pragma once
// Shape files on disk for the tests, benchmarks and fuzz seeds: temporary
// folders, UTF-16LE bytes from UTF-8 text, and shape files built from a body.

#include <filesystem>
#include <string>
#include <string_view>

namespace orvane::test {

inline constexpr std::string_view kHeader = "SIMISA@@@@@@@@@@JINX0s1t______";

// A fresh folder under the system's temporary folder, removed on destruction.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const std::filesystem::path& path() const { return path_; }
    std::filesystem::path operator/(std::string_view name) const { return path_ / name; }

private:
    std::filesystem::path path_;
};

// Bytes of a UTF-16LE file: optional byte-order mark, then text (UTF-8 in).
std::string utf16Bytes(std::string_view text, bool withBom = true);
void writeBytes(const std::filesystem::path& path, std::string_view bytes);
std::string readBytes(const std::filesystem::path& path);

// Writes a shape file: BOM, the header line, CR LF, then body.
void writeShape(const std::filesystem::path& path, std::string_view body);

}  // namespace orvane::test
