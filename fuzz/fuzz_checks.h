#pragma once
// The promises the fuzz targets check, as plain functions that answer with
// the first broken promise in words (empty when all hold). The fuzz targets
// stop on an answer; the regression test replays committed inputs through
// the same functions.

#include <filesystem>
#include <string>
#include <string_view>

#include "document/cls_reader.h"
#include "run/fix_run.h"

namespace orvane::fuzz {

// For a file that reads (with bText, and without labels where that reads
// differently): a tree in which every child has its placeholder, no value is
// empty and no value bears the name of a child of its block (which would make
// the placeholder ambiguous) writes and reads back into the same tree, and
// writes again to the same bytes; a tree that reads back after one
// write-and-read cycle is stable from then on. Scratch files go to `scratch`.
std::string documentProblem(const std::filesystem::path& input, const std::filesystem::path& scratch);

// The file a forms input stands for: its first byte picks the container
// (0: the rest compressed, 1: the rest as uncompressed binary, else the rest
// as it is); the rest is binary tokens from their sub-header on, or for the
// last kind any file.
std::string formsFile(std::string_view input);

// For the file of a forms input, at `scratch`/input.s: reading it ends in a
// tree or, for a compressed or binary shape only, a reason; binary tokens
// that read, written compressed (when their tree can be), read back into
// the same tree, and survive the text writer as documentProblem says.
// (Text of any form is left to the document target.)
std::string formsProblem(std::string_view input, const std::filesystem::path& scratch);

// The limits and switches of the fuzzed run: maxPrimFaces 3, maxObjectPolys
// 20, a 50 mm minimum edge, every switch on except "Report Only".
RunLimits fuzzLimits();
RunSwitches fuzzSwitches();

// The whole run on `input`, which stands alone in its folder: the input
// keeps its bytes; the run completes, or stops with one message and a
// reason; the output exists exactly when the run wrote and then reads back;
// nothing else is left in the folder.
std::string runProblem(const std::filesystem::path& input);

// Empty when both trees have the same names, labels, values and children in
// order; otherwise where they first differ.
std::string compareTrees(const clsReader& a, const clsReader& b);

// Reads a file into a new root (bText true: the naming rule with labels, as the run reads).
NodePtr readTree(const std::filesystem::path& path, bool bText = true);
std::string readFile(const std::filesystem::path& path);

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
    // The findings of the shape as read, its textures looked for in
    // textureFolder: what is wrong with them, or empty.
    std::filesystem::path textureFolder;
    std::string findingsProblem;
    void shapeRead(const clsReader& root) override;
    // The repairs are traced; the written shape's LODs (the first four),
    // built with the trace, number the parts of each split within its
    // count: what is wrong with them, or empty.
    RepairTrace trace;
    std::string traceProblem;
    RepairTrace* repairTrace() override { return &trace; }
    void shapeWritten(const clsReader& root) override;
};

}  // namespace orvane::fuzz
