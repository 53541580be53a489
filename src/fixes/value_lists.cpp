#include "fixes/value_lists.h"

namespace orvane {
void recountValues(clsReader&) {}
void addToValue(clsReader&, std::size_t, std::int32_t) {}
}  // namespace orvane
