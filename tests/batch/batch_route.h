#pragma once
// Small routes for the batch tests: a folder of shapes, one per outcome,
// and the figures read back from a run's report lines.

#include <cstdint>
#include <filesystem>
#include <string>

#include "fixes/run_state.h"

namespace orvane::test {

// Under `folder`: ok.s (nothing to repair), retimed.s (an animation at
// 30 fps to correct), compressed.s (a compressed shape's header),
// stopped.s (a face count that is no number) and blocked.s (retimed, but a
// folder stands where its output would go).
void writeMixedRoute(const std::filesystem::path& folder);

// smallShape() with `vertices` vertices in its sub-object.
std::string shapeWithVertices(std::int64_t vertices);

// What a report tells: the figures counted from its lines. Lifted points
// cannot be told from the lines; animation is None unless a line says
// removed or retimed.
RunFigures figuresFromReport(const std::string& report);

}  // namespace orvane::test
