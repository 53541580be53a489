#pragma once
// The fields of a batch summary as JSON values: one object per shape row,
// named as every form of the summary names them, and the totals.

#include <nlohmann/json.hpp>
#include <string>

#include "batch/batch_run.h"
#include "batch/summary_totals.h"

namespace orvane::batch {

using SummaryJson = nlohmann::ordered_json;

SummaryJson rowFields(const ShapeRow& row);
SummaryJson totalFields(const SummaryTotals& totals);

// A value as a CSV or table cell: null is empty.
std::string cellText(const SummaryJson& value);

}  // namespace orvane::batch
