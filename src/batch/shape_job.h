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
    std::optional<picture::EncodedPicture> picture;  // with settings.picturesDir: of the shape as read
};

ShapeJobResult runShapeJob(const FoundShape& shape, const BatchSettings& settings, const std::atomic<bool>& stop);

// What a worker hands back for one shape.
struct FinishedShape {
    std::optional<ShapeRow> row;               // none when the run was abandoned
    std::optional<std::string> reportFailure;  // the report file that could not be written
    std::optional<std::string> pictureFailure;  // the picture not written, and why
};

// runShapeJob, with an error escaping the run turned into a stopped row, and
// the report lines written to the reports folder when there is one.
FinishedShape runShape(const FoundShape& shape, const BatchSettings& settings, const std::atomic<bool>& stop);

}  // namespace orvane::batch
