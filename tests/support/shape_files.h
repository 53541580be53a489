#pragma once
// Helpers for tests: temporary folders, shape files built from text, and a
// report list that records what a run appends.

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "document/cls_reader.h"
#include "run/run_state.h"

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

// Reads body (as the body of a shape file) into a new root with bText true.
NodePtr readShape(std::string_view body, bool bText = true);

// Records the lines a run appends and counts the repaints.
class RecordingReport : public RunReport {
public:
    void addLine(const std::string& line) override { lines.push_back(line); }
    void repaintLines() override { ++repaints; }
    std::vector<std::string> lines;
    int repaints = 0;
};

}  // namespace orvane::test
