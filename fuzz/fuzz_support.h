#pragma once
// Shared pieces of the fuzz targets: scratch files on a memory-backed file
// system, a run view that shows nothing, and a tree comparison.

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>

#include "document/cls_reader.h"
#include "run/fix_run.h"

namespace orvane::fuzz {

// A private scratch folder for this process (removed at exit).
const std::filesystem::path& scratchDir();
void writeFile(const std::filesystem::path& path, const std::uint8_t* data, std::size_t size);
std::string readFile(const std::filesystem::path& path);

// Empty when both trees have the same names, labels, values and children in
// order; otherwise where they first differ.
std::string compareTrees(const clsReader& a, const clsReader& b);

// Reads a file into a new root (bText true: the naming rule with labels, as the run reads).
NodePtr readTree(const std::filesystem::path& path, bool bText = true);

// Stops the process with a message: a broken promise found by the fuzzer.
[[noreturn]] void fail(const std::string& what);

// A run view that shows nothing and counts the message boxes.
class SilentView : public RunView {
public:
    int messages = 0;
    void addLine(const std::string&) override {}
    void repaintLines() override {}
    void clearReport() override {}
    void setCaption(const std::string&) override {}
    void pc(float) override {}
    void prt(const std::string&) override {}
    void showMessage(const std::string&) override { ++messages; }
    void setBusy(bool) override {}
};

}  // namespace orvane::fuzz
