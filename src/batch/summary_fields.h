#pragma once
// The fields of a batch summary as JSON values: one object per shape row,
// named as every form of the summary names them, and the totals.

#include <nlohmann/json.hpp>
#include <string>

#include "batch/batch_run.h"
#include "batch/summary_totals.h"

namespace orvane::batch {

using SummaryJson = nlohmann::ordered_json;

// A row's findings, and the totals' findings of each kind, are a list and
// an object: a CSV row gives their number, its totals one line per kind.
inline constexpr const char* kFindingsField = "findings";

SummaryJson rowFields(const ShapeRow& row);
SummaryJson findingFields(const findings::Finding& finding);
SummaryJson totalFields(const SummaryTotals& totals);

// A value as a CSV or table cell: null is empty.
std::string cellText(const SummaryJson& value);

}  // namespace orvane::batch
