#include "batch/summary_format.h"

#include <vector>

#include "batch/summary_fields.h"
#include "batch/summary_table.h"
#include "batch/summary_totals.h"

namespace orvane::batch {

namespace {

using Json = SummaryJson;

std::string csv(const Json& rows, const Json& totals) {
    std::string out;
    auto line = [&out](const std::vector<std::string>& cells) {
        for (std::size_t i = 0; i < cells.size(); ++i) out += (i ? "," : "") + csvField(cells[i]);
        out += "\r\n";
    };
    std::vector<std::string> cells;
    const Json heads = rowFields(ShapeRow{});
    // A row's findings are listed in JSON only; findings_count counts them.
    for (const auto& [name, value] : heads.items())
        if (name != kFindingsField) cells.push_back(name);
    line(cells);
    for (const Json& row : rows) {
        cells.clear();
        for (const auto& [name, value] : row.items())
            if (name != kFindingsField) cells.push_back(cellText(value));
        line(cells);
    }
    // The totals follow after an empty line, one "name,value" pair a line;
    // the findings one line per kind ("findings reference-out-of-range").
    out += "\r\n";
    for (const auto& [name, value] : totals.items()) {
        if (!value.is_object()) {
            out += csvField(name) + "," + csvField(cellText(value)) + "\r\n";
            continue;
        }
        for (const auto& [part, count] : value.items())
            out += csvField(name + " " + part) + "," + csvField(cellText(count)) + "\r\n";
    }
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
    for (const ShapeRow& row : summary.rows) rows.push_back(rowFields(row));
    const SummaryTotals totals = totalsOf(summary);
    switch (format) {
        case SummaryFormat::Json: {
            Json document;
            document["shapes"] = std::move(rows);
            document["totals"] = totalFields(totals);
            return document.dump(2, ' ', false, Json::error_handler_t::replace) + '\n';
        }
        case SummaryFormat::Csv: return csv(rows, totalFields(totals));
        case SummaryFormat::Table: break;
    }
    return summaryTable(rows, totals);
}

}  // namespace orvane::batch
