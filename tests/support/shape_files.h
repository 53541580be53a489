#pragma once
// Helpers for tests: shapes read from text, and a report list that records
// what a run appends. Files on disk come from the generator library.

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "document/cls_reader.h"
#include "generator/shape_files.h"
#include "fixes/run_state.h"

namespace orvane::test {

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
