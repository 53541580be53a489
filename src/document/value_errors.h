#pragma once
// The messages for a block value a check or edit needs but cannot use: the
// value is missing, or its text is not what is expected. Every such message
// names the value as "value n of block" (1-based), after what it stands for
// when that is known: "the index total (value 5 of geometry_info) of
// sub-object 2 of LOD 1 is missing".

#include <cstddef>
#include <string>
#include <string_view>

#include "document/cls_reader.h"

namespace orvane {

// Text in double quotes for a message, shortened when long.
std::string quoted(std::string_view text);

// `what` names the value ("the face count") or is empty; `place` says where
// the block stands ("primitive 2 of sub-object 3 of LOD 0") or is empty.
[[noreturn]] void throwMissingValue(const clsReader& block, std::size_t n, std::string_view what = {},
                                    const std::string& place = {});
// Value n is there but is not `expected` ("a whole number within 32 bits").
[[noreturn]] void throwBadValue(const clsReader& block, std::size_t n, std::string_view what, const std::string& place,
                                std::string_view expected);
inline constexpr std::string_view kWholeExpected = "a whole number within 32 bits";

}  // namespace orvane
