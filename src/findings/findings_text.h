#pragma once
// The findings of a shape as lines of text, for orvane-cli and the report
// files of a batch: "Findings" and their number, then one line a finding.

#include <string>

#include "findings/find_problems.h"

namespace orvane::findings {

// Each line ends in a line feed; the parts of a finding's line are
// separated by tabs (see findingLine). Findings past a kind's listing limit
// are counted on one line of their own.
std::string findingsText(const ShapeFindings& found);

}  // namespace orvane::findings
