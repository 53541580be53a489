#pragma once
// The batch summary as text: one row per shape, then the totals, as a
// table for people, as CSV (RFC 4180) or as one JSON document
// {"shapes": [...], "totals": {...}}. Field names are the same in all three.

#include <string>
#include <string_view>

#include "batch/batch_run.h"

namespace orvane::batch {

enum class SummaryFormat { Table, Csv, Json };

std::string formatSummary(const BatchSummary& summary, SummaryFormat format);

// A CSV field, quoted when it holds a comma, a quote or a line end.
std::string csvField(std::string_view text);

}  // namespace orvane::batch
