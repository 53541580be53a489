#pragma once
// Small routes for the batch tests: a folder of shapes, one per outcome,
// and the figures read back from a run's report lines.

#include <cstdint>
#include <filesystem>
#include <string>

#include "batch/shape_list.h"
#include "fixes/run_state.h"

namespace orvane::test {

// Under `folder`: ok.s (nothing to repair), retimed.s (an animation at
// 30 fps to correct), compressed.s (a compressed shape's header),
// stopped.s (a face count that is no number) and blocked.s (retimed, but a
// folder stands where its output would go).
void writeMixedRoute(const std::filesystem::path& folder);

// The shapes found under folder (a failed test when there are none to find).
std::vector<batch::FoundShape> shapesUnder(const std::filesystem::path& folder);

// `count` names (s0.s, s1.s, ...) in folder for one generated shape of
// 20,000 triangles, as hard links: work for a run that is stopped part-way,
// at no cost in disk space. With `retimed` its 30 fps animation makes a run
// write a repaired shape.
void writeShapeNames(const std::filesystem::path& folder, int count, bool retimed);

// smallShape() with `vertices` vertices in its sub-object.
std::string shapeWithVertices(std::int64_t vertices);

// What a report tells: the figures counted from its lines. Lifted points
// cannot be told from the lines; animation is None unless a line says
// removed or retimed.
RunFigures figuresFromReport(const std::string& report);

}  // namespace orvane::test
