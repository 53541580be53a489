#pragma once
// One thing found in a shape that the simulators trip on, beyond the
// survey's checks: what it is, how bad it is, where it is and what it says.
// The place is precise enough for a view of the model to point at it.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace orvane::findings {

enum class Kind {
    ReferenceOutOfRange,     // a number naming a block that is not there
    HierarchyLoop,           // a matrix that is its own ancestor
    CountMismatch,           // a counted block whose count is not what it holds
    TextureNotFound,         // an image found in no texture folder
    TextureLetterCase,       // an image found only in another letter case
    KeyPastFrameCount,       // an animation key beyond the animation's frames
    AnimatedNameWithoutMatrix,  // an animation node naming no matrix
    DuplicateMatrixName,     // two matrices of a name an animation node names
    DistancesNotIncreasing,  // a distance level not farther than the one before
};

inline constexpr Kind kKinds[] = {Kind::ReferenceOutOfRange,     Kind::HierarchyLoop,
                                  Kind::CountMismatch,           Kind::TextureNotFound,
                                  Kind::TextureLetterCase,       Kind::KeyPastFrameCount,
                                  Kind::AnimatedNameWithoutMatrix, Kind::DuplicateMatrixName,
                                  Kind::DistancesNotIncreasing};

enum class Severity {
    FailsToLoad,  // the simulator refuses the shape or crashes on it
    DrawsWrong,   // the shape loads but shows something wrong
    Harmless,     // nothing shows, but it may on another system
};

// Stable identifiers, for summaries and for code that places findings:
// "reference-out-of-range", "fails-to-load".
std::string_view kindId(Kind kind);
std::string_view severityId(Severity severity);
// The severity a kind always has.
Severity severityOf(Kind kind);

// Where a finding is. Numbers count from 0 in file order, as the report
// does: LODs are the distance levels of the first lod_control, sub-objects
// those of their LOD, primitives the indexed_trilist blocks of their
// sub-object, triangles those of their primitive. `block` names the block
// holding the fault, `index` which of its kind it is where the shape has
// a list of them (vertex 12, prim_state 3), `value` the value within it
// (counted from 1, placeholders included, as everywhere in the project).
struct Place {
    std::optional<std::int64_t> lod;
    std::optional<std::int64_t> subObject;
    std::optional<std::int64_t> primitive;
    std::optional<std::int64_t> triangle;
    std::string block;
    std::optional<std::int64_t> index;
    std::optional<std::int64_t> value;
};

struct Finding {
    Kind kind = Kind::ReferenceOutOfRange;
    Severity severity = Severity::FailsToLoad;
    Place place;
    std::string words;  // plain words: what is wrong
};

// "LOD 0, sub-object 1, primitive 2, triangle 5, vertex_idxs value 17".
std::string placeText(const Place& place);

// One finding on one line, its parts separated by tabs: kind, severity,
// place, words.
std::string findingLine(const Finding& finding);

}  // namespace orvane::findings
