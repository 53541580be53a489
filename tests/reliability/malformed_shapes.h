#pragma once
// Shapes for the malformed-input suite: a consistent generated shape that
// the repairs all work on, and text edits that break it in one place.

#include <string>
#include <string_view>

namespace orvane::test {

// One LOD, one sub-object of two geometry nodes with a primitive of six
// triangles each (a third of them with a 1 mm edge), and a 15-frame
// animation at 30 fps. Under repairingLimits() every repair runs.
const std::string& repairableShapeBody();

// text with the first occurrence of `from` replaced by `to`; throws when
// `from` does not occur (a test that no longer edits what it says).
std::string replaceFirst(std::string text, std::string_view from, std::string_view to);

// text with the items of the first block whose head is `head` (for example
// "vertex_idxs (") removed, children included: "vertex_idxs ( )".
std::string emptyFirstBlock(std::string text, std::string_view head);

}  // namespace orvane::test
