#pragma once
// The binary vocabulary of shape blocks: each block's token number and the
// contents it holds, in order. The binary reader and the compressed writer
// both follow these rules, one forwards and one backwards.

#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

namespace orvane::binary {

enum class SlotType { U32, I32, Hex, F32, String, Block };
enum class SlotCount {
    One,       // always present
    Optional,  // present exactly when bytes (items) remain
    Repeated,  // repeats to the end of the block
};

struct Slot {
    SlotType type = SlotType::U32;
    SlotCount count = SlotCount::One;
    std::vector<std::uint16_t> blocks;  // for Block: the tokens allowed there
};

struct BlockRule {
    std::uint16_t token = 0;
    std::string_view name;
    bool known = false;  // false: the name is in the token list, but no layout is known
    std::vector<Slot> slots;
};

// The rule of a token number, or null when the number is not a shape token.
const BlockRule* ruleForToken(std::uint32_t token);
// The rule of a block name, or null when the name is not a shape token.
const BlockRule* ruleForName(std::string_view name);

inline constexpr std::uint16_t kShapeToken = 71;

}  // namespace orvane::binary
