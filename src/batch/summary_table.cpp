#include "batch/summary_table.h"

#include <algorithm>
#include <cstdio>
#include <vector>

namespace orvane::batch {

std::string summaryTable(const SummaryJson& rows, const SummaryTotals& totals) {
    using Json = SummaryJson;
    static const char* const kColumns[] = {"outcome",     "form",        "triangles", "largest_primitive_faces",
                                           "largest_sub_object_polygons", "short_edges", "findings_count",
                                           "animation", "path"};
    constexpr std::size_t kCount = std::size(kColumns);
    std::vector<std::vector<std::string>> heads(kCount);
    std::vector<std::size_t> widths(kCount, 1);
    std::size_t headLines = 0;
    for (std::size_t c = 0; c < kCount; ++c) {
        std::string name = kColumns[c];
        for (std::size_t start = 0;;) {
            const std::size_t end = name.find('_', start);
            heads[c].push_back(name.substr(start, end == std::string::npos ? end : end - start));
            widths[c] = std::max(widths[c], heads[c].back().size());
            if (end == std::string::npos) break;
            start = end + 1;
        }
        headLines = std::max(headLines, heads[c].size());
    }
    std::vector<std::vector<std::string>> cells;
    for (const Json& row : rows) {
        std::vector<std::string> line;
        for (std::size_t c = 0; c < kCount; ++c) {
            std::string text = cellText(row[kColumns[c]]);
            if (text.empty()) text = "-";
            widths[c] = std::max(widths[c], text.size());
            line.push_back(std::move(text));
        }
        cells.push_back(std::move(line));
    }
    std::string out;
    auto put = [&](const std::vector<std::string>& line) {
        std::string text;
        for (std::size_t c = 0; c < kCount; ++c) {
            const std::string& cell = line[c];
            const bool rightAligned = c >= 2 && c <= 6;
            const std::string pad(widths[c] - std::min(widths[c], cell.size()), ' ');
            if (c) text += ' ';
            text += c == kCount - 1 ? cell : rightAligned ? pad + cell : cell + pad;
        }
        while (!text.empty() && text.back() == ' ') text.pop_back();
        out += text + '\n';
    };
    for (std::size_t l = 0; l < headLines; ++l) {
        // Heads are aligned to their last line.
        std::vector<std::string> line;
        for (std::size_t c = 0; c < kCount; ++c) {
            const std::size_t skip = headLines - heads[c].size();
            line.push_back(l < skip ? "" : heads[c][l - skip]);
        }
        put(line);
    }
    for (std::size_t r = 0; r < cells.size(); ++r) {
        put(cells[r]);
        if (rows[r]["problem"].is_string()) out += "    problem: " + rows[r]["problem"].get<std::string>() + '\n';
    }
    if (totals.found == 0) out += "no shapes found\n";
    out += '\n';
    char number[64];
    auto total = [&out](const char* name, const std::string& value) {
        std::string label = name;
        label.resize(std::max<std::size_t>(label.size() + 1, 22), ' ');
        out += label + value + '\n';
    };
    total("shapes found", std::to_string(totals.found));
    for (std::size_t i = 0; i < kOutcomes.size(); ++i)
        total(outcomeName(kOutcomes[i]), std::to_string(totals.perOutcome[i]));
    for (std::size_t i = 0; i < kForms.size(); ++i)
        total(("form " + std::string(formName(kForms[i]))).c_str(), std::to_string(totals.perForm[i]));
    total("index overflow", std::to_string(totals.indexOverflows));
    for (std::size_t i = 0; i < totals.findingsPerKind.size(); ++i)
        total(("findings " + std::string(findings::kindId(findings::kKinds[i]))).c_str(),
              std::to_string(totals.findingsPerKind[i]));
    std::snprintf(number, sizeof number, "%.1f", totals.megabytesRead);
    total("megabytes read", number);
    std::snprintf(number, sizeof number, "%.2f", totals.wallSeconds);
    total("wall seconds", number);
    std::snprintf(number, sizeof number, "%.1f", totals.megabytesPerSecond);
    total("megabytes per second", number);
    if (totals.interrupted) total("interrupted", std::to_string(totals.found - totals.finished) + " shapes not run");
    return out;
}

}  // namespace orvane::batch
