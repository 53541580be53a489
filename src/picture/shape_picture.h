#pragma once
// The picture of one LOD with its findings: each prim_state in its own
// muted colour, flat shaded from each face's normal (one light from the
// viewer's upper right and an ambient term, both faces lit alike);
// oversize primitives and sub-objects, sub-objects left undivided and
// sub-objects whose vertices overflow tinted; the parts of a split
// primitive (with a repair trace) tinted alternately by their part number,
// green for odd, mauve for even; short edges drawn last over
// everything as 3-pixel red lines with a ring round each; a selected
// finding outlined.

#include <cstdint>
#include <optional>

#include "geometry/lod_geometry.h"
#include "picture/camera.h"
#include "picture/image.h"

namespace orvane::picture {

struct DrawOptions {
    int threads = 1;
    const geometry::PlacedFinding* selected = nullptr;  // outlined when given
};

// The colours the picture uses, for tests and legends.
namespace colours {
inline constexpr Rgb kBackground{234, 237, 241};
inline constexpr Rgb kShortEdge{220, 24, 24};
inline constexpr Rgb kOversizePrimitive{236, 150, 32};
inline constexpr Rgb kOversizeSubObject{150, 96, 214};
inline constexpr Rgb kUndividedSubObject{64, 92, 222};
inline constexpr Rgb kVertexOverflow{32, 168, 168};
inline constexpr Rgb kSelection{255, 214, 0};
inline constexpr Rgb kSplitPieceOdd{84, 160, 72};
inline constexpr Rgb kSplitPieceEven{196, 92, 176};
}  // namespace colours

// The muted base colour of prim_state s (none: grey).
Rgb primStateColour(std::int32_t primState);

Image drawLod(const geometry::LodGeometry& lod, const Camera& camera, int width, int height, const DrawOptions& options);

// Threads for drawing: the cores, at most 8.
int drawingThreads();

}  // namespace orvane::picture
