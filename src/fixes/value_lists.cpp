#include "fixes/value_lists.h"

#include <limits>
#include <string>

#include "document/block_layout.h"
#include "document/numbers.h"
#include "document/shape_error.h"
#include "document/tree_edit.h"

namespace orvane {

void recountValues(clsReader& node) {
    const std::size_t values = valueCount(node);
    // A block without even a count ends as an empty counted block.
    if (values == 0) {
        appendValue(node, "0");
        return;
    }
    // Removing value 1 and inserting the new count in its place is a replacement.
    replaceValue(node, 1, wholeText(static_cast<std::int64_t>(values - 1)));
}

void addToValue(clsReader& node, std::size_t position, std::int32_t amount) {
    const std::int64_t sum = static_cast<std::int64_t>(blocks::wholeValue(node, position)) + amount;
    if (sum < std::numeric_limits<std::int32_t>::min() || sum > std::numeric_limits<std::int32_t>::max())
        throw ShapeError("value " + std::to_string(position) + " of block \"" + node.Name.str() + "\" (\"" +
                         std::string(valueAt(node, position)) + "\") plus " + std::to_string(amount) +
                         " goes beyond 32 bits");
    replaceValue(node, position, wholeText(sum));
}

}  // namespace orvane
