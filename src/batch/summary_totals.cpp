#include "batch/summary_totals.h"

namespace orvane::batch {

SummaryTotals totalsOf(const BatchSummary& summary) {
    SummaryTotals totals;
    totals.found = summary.found;
    totals.finished = summary.rows.size();
    totals.interrupted = summary.interrupted;
    std::uint64_t bytes = 0;
    for (const ShapeRow& row : summary.rows) {
        ++totals.perOutcome[static_cast<std::size_t>(row.outcome)];
        for (std::size_t i = 0; i < kForms.size(); ++i)
            if (row.form == kForms[i]) ++totals.perForm[i];
        if (row.figures && indexOverflow(*row.figures)) ++totals.indexOverflows;
        bytes += row.bytes;
        if (row.findings)
            for (std::size_t i = 0; i < totals.findingsPerKind.size(); ++i)
                totals.findingsPerKind[i] += row.findings->perKind[i];
    }
    totals.megabytesRead = static_cast<double>(bytes) / 1e6;
    totals.wallSeconds = summary.wallSeconds;
    totals.megabytesPerSecond = summary.wallSeconds > 0 ? totals.megabytesRead / summary.wallSeconds : 0;
    return totals;
}

}  // namespace orvane::batch
