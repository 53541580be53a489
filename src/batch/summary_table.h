#pragma once
// The batch summary as a table for people: fixed-width columns sized to
// their content, heads stacked one word a line so that the main columns fit
// an 80-column terminal, the path last; then the totals.

#include <string>

#include "batch/summary_fields.h"

namespace orvane::batch {

std::string summaryTable(const SummaryJson& rows, const SummaryTotals& totals);

}  // namespace orvane::batch
