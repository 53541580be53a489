#include "fixes/small_edges.h"

namespace orvane {
void checkPolyEdges(RunState&, std::int32_t, std::int32_t, std::int32_t, std::int32_t) {}
}  // namespace orvane
