#include "batch/summary_format.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <nlohmann/json.hpp>
#include <vector>

#include "batch/summary_totals.h"

namespace orvane::batch {

namespace {

using Json = nlohmann::ordered_json;

double milliRounded(double seconds) { return std::round(seconds * 1000.0) / 1000.0; }

Json rowJson(const ShapeRow& row) {
    Json j;
    j["path"] = row.path;
    j["outcome"] = outcomeName(row.outcome);
    j["problem"] = row.problem ? Json(*row.problem) : Json(nullptr);
    const RunFigures* f = row.figures ? &*row.figures : nullptr;
    auto figure = [&](const char* name, std::int64_t RunFigures::*member) {
        j[name] = f ? Json(f->*member) : Json(nullptr);
    };
    figure("lods", &RunFigures::lods);
    figure("sub_objects", &RunFigures::subObjects);
    figure("primitives", &RunFigures::primitives);
    figure("triangles", &RunFigures::triangles);
    figure("largest_primitive_faces", &RunFigures::largestPrimitiveFaces);
    figure("largest_sub_object_polygons", &RunFigures::largestSubObjectPolygons);
    figure("oversize_primitives", &RunFigures::oversizePrimitives);
    figure("oversize_sub_objects", &RunFigures::oversizeSubObjects);
    figure("short_edges", &RunFigures::shortEdges);
    figure("lifted_points", &RunFigures::liftedPoints);
    j["animation"] = f ? Json(animationName(f->animation)) : Json(nullptr);
    figure("max_sub_object_vertices", &RunFigures::maxSubObjectVertices);
    j["index_overflow"] = f ? Json(indexOverflow(*f)) : Json(nullptr);
    j["output"] = row.output ? Json(*row.output) : Json(nullptr);
    j["seconds"] = milliRounded(row.seconds);
    return j;
}

Json totalsJson(const SummaryTotals& totals) {
    Json j;
    j["shapes_found"] = totals.found;
    for (std::size_t i = 0; i < kOutcomes.size(); ++i) j[outcomeName(kOutcomes[i])] = totals.perOutcome[i];
    j["index_overflow"] = totals.indexOverflows;
    j["megabytes_read"] = milliRounded(totals.megabytesRead);
    j["wall_seconds"] = milliRounded(totals.wallSeconds);
    j["megabytes_per_second"] = milliRounded(totals.megabytesPerSecond);
    j["interrupted"] = totals.interrupted;
    j["not_run"] = totals.found - totals.finished;
    return j;
}

// A value as a CSV or table cell: null is empty (the table shows "-").
std::string cellText(const Json& value) {
    if (value.is_null()) return {};
    if (value.is_string()) return value.get<std::string>();
    return value.dump();
}

std::string csv(const Json& rows, const Json& totals) {
    std::string out;
    Json heads = Json::array();
    const Json blank = rowJson(ShapeRow{});
    for (const auto& [name, value] : blank.items()) heads.push_back(name);
    auto line = [&out](const Json& cells, auto text) {
        bool first = true;
        for (const Json& cell : cells) {
            if (!first) out += ',';
            out += csvField(text(cell));
            first = false;
        }
        out += "\r\n";
    };
    line(heads, [](const Json& c) { return c.get<std::string>(); });
    for (const Json& row : rows) {
        Json cells = Json::array();
        for (const auto& [name, value] : row.items()) cells.push_back(value);
        line(cells, cellText);
    }
    // The totals follow after an empty line, one "name,value" pair a line.
    out += "\r\n";
    for (const auto& [name, value] : totals.items()) out += csvField(name) + "," + csvField(cellText(value)) + "\r\n";
    return out;
}

// Column heads are stacked one word a line, so that the main columns stay
// narrow; the path comes last, where its length harms no other column.
std::string table(const Json& rows, const SummaryTotals& totals) {
    static const char* const kColumns[] = {"outcome",     "triangles", "largest_primitive_faces",
                                           "largest_sub_object_polygons", "short_edges", "animation", "path"};
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
            const bool rightAligned = c >= 1 && c <= 4;
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
        label.resize(std::max<std::size_t>(label.size(), 22), ' ');
        out += label + value + '\n';
    };
    total("shapes found", std::to_string(totals.found));
    for (std::size_t i = 0; i < kOutcomes.size(); ++i)
        total(outcomeName(kOutcomes[i]), std::to_string(totals.perOutcome[i]));
    total("index overflow", std::to_string(totals.indexOverflows));
    std::snprintf(number, sizeof number, "%.1f", totals.megabytesRead);
    total("megabytes read", number);
    std::snprintf(number, sizeof number, "%.2f", totals.wallSeconds);
    total("wall seconds", number);
    std::snprintf(number, sizeof number, "%.1f", totals.megabytesPerSecond);
    total("megabytes per second", number);
    if (totals.interrupted) total("interrupted", std::to_string(totals.found - totals.finished) + " shapes not run");
    return out;
}

}  // namespace

std::string csvField(std::string_view text) {
    if (text.find_first_of(",\"\r\n") == std::string_view::npos) return std::string(text);
    std::string out = "\"";
    for (char c : text) {
        if (c == '"') out += '"';
        out += c;
    }
    return out + '"';
}

std::string formatSummary(const BatchSummary& summary, SummaryFormat format) {
    Json rows = Json::array();
    for (const ShapeRow& row : summary.rows) rows.push_back(rowJson(row));
    const SummaryTotals totals = totalsOf(summary);
    switch (format) {
        case SummaryFormat::Json: {
            Json document;
            document["shapes"] = std::move(rows);
            document["totals"] = totalsJson(totals);
            return document.dump(2, ' ', false, Json::error_handler_t::replace) + '\n';
        }
        case SummaryFormat::Csv: return csv(rows, totalsJson(totals));
        case SummaryFormat::Table: break;
    }
    return table(rows, totals);
}

}  // namespace orvane::batch
