#pragma once
// One shape of a batch: the single-file run with its report lines kept in
// memory, and the row made from its result.

#include <atomic>
#include <string>

#include "batch/batch_run.h"

namespace orvane::batch {

struct ShapeJobResult {
    std::optional<ShapeRow> row;  // none when the run was abandoned
    std::string report;           // the report lines, each ended by a line feed
};

ShapeJobResult runShapeJob(const FoundShape& shape, const BatchSettings& settings, const std::atomic<bool>& stop);

}  // namespace orvane::batch
