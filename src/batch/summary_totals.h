#pragma once
// The totals under a batch summary.

#include <array>
#include <cstddef>
#include <cstdint>

#include "batch/batch_run.h"

namespace orvane::batch {

inline constexpr std::array<ShapeOutcome, 6> kOutcomes = {ShapeOutcome::Ok,         ShapeOutcome::Repaired,
                                                          ShapeOutcome::WouldRepair, ShapeOutcome::Unreadable,
                                                          ShapeOutcome::Stopped,    ShapeOutcome::WriteFailed};

inline constexpr std::array<ShapeForm, 4> kForms = {ShapeForm::Text, ShapeForm::Text8Bit, ShapeForm::Compressed,
                                                     ShapeForm::Binary};

struct SummaryTotals {
    std::size_t found = 0;
    std::size_t finished = 0;
    std::array<std::size_t, kOutcomes.size()> perOutcome{};  // in the order of kOutcomes
    std::array<std::size_t, kForms.size()> perForm{};  // shapes of each form, in the order of kForms
    std::size_t indexOverflows = 0;
    double megabytesRead = 0;  // of the finished shapes, 1 MB = 10^6 bytes
    double wallSeconds = 0;
    double megabytesPerSecond = 0;
    bool interrupted = false;
    std::array<std::int64_t, std::size(findings::kKinds)> findingsPerKind{};  // in the order of kKinds
};

// Open Rails draws a sub-object through 16-bit indices.
inline constexpr std::int64_t kMostIndexedVertices = 65535;

inline bool indexOverflow(const RunFigures& figures) { return figures.maxSubObjectVertices > kMostIndexedVertices; }

SummaryTotals totalsOf(const BatchSummary& summary);

}  // namespace orvane::batch
