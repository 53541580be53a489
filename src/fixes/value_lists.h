#pragma once
// General value-list utilities that keep counts in step.

#include <cstddef>
#include <cstdint>

#include "document/cls_reader.h"

namespace orvane {

// Value 1 becomes the number of values after it.
void recountValues(clsReader& node);
// Adds amount to the whole number at value `position`, which keeps its place.
void addToValue(clsReader& node, std::size_t position, std::int32_t amount);

}  // namespace orvane
