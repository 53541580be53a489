#pragma once
// What the parts of the findings pass share: the list being made, and
// careful access to the tree (a child by name, a value as a number).

#include <charconv>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "document/cls_reader.h"
#include "document/numbers.h"
#include "findings/find_problems.h"

namespace orvane::findings {

class Collector {
public:
    explicit Collector(ShapeFindings& out) : out_(out) {}

    // Counts the finding; lists it while its kind has room. The words are
    // made only then.
    template <class Words>
    void add(Kind kind, const Place& place, Words&& words) {
        std::int64_t& count = out_.perKind[static_cast<std::size_t>(kind)];
        if (++count > kMostListedPerKind) return;
        out_.listed.push_back({kind, severityOf(kind), place, std::forward<Words>(words)()});
    }

private:
    ShapeFindings& out_;
};

// The first child named `name`, or null.
inline const clsReader* childNamed(const clsReader& node, std::string_view name) {
    for (const NodePtr& child : node.Nodes())
        if (child->Name.view() == name) return child.get();
    return nullptr;
}

// Value n (from 1) of a node, or null when it has fewer.
inline const ShapeText* valueAt(const clsReader& node, std::size_t n) {
    const StringList& values = node.Strings();
    return n >= 1 && n <= values.size() ? &values[n - 1] : nullptr;
}

// A whole number as the checks read one: plain decimal digits at once, any
// other numeric text as the repairs would round it; none for the rest.
inline std::optional<std::int64_t> wholeValue(std::string_view text) {
    // Indices are short runs of digits: read those here, at once.
    if (!text.empty() && text.size() <= 9) {
        const bool negative = text[0] == '-';
        std::int64_t whole = 0;
        std::size_t i = negative ? 1 : 0;
        bool digits = i < text.size();
        for (; digits && i < text.size(); ++i) {
            const unsigned digit = static_cast<unsigned char>(text[i]) - static_cast<unsigned>('0');
            if (digit > 9) digits = false;
            whole = whole * 10 + digit;
        }
        if (digits) return negative ? -whole : whole;
    }
    std::int64_t value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec == std::errc() && end == text.data() + text.size()) return value;
    if (const auto rounded = toWholeNumber(text)) return *rounded;
    return std::nullopt;
}

// A place of a shape-wide block (and a LOD's), without designated
// initialisers, which the compiler's warnings frown on.
inline Place blockPlace(std::string block, std::optional<std::int64_t> index = {},
                        std::optional<std::int64_t> value = {}) {
    Place place;
    place.block = std::move(block);
    place.index = index;
    place.value = value;
    return place;
}
inline Place lodPlace(std::int64_t lod, std::string block = {}, std::optional<std::int64_t> value = {}) {
    Place place = blockPlace(std::move(block), {}, value);
    place.lod = lod;
    return place;
}

inline std::string quotedText(std::string_view text) { return "\"" + std::string(text) + "\""; }

// A list of values whose first value counts them, `perEntry` values an
// entry: a finding when the count is not what the list holds.
void checkValueCount(const clsReader& list, int perEntry, const Place& place, Collector& found);

// The parts of the pass, each over the whole tree.
void findReferenceProblems(const clsReader& root, Collector& found);
void findCountProblems(const clsReader& root, Collector& found);
void findAnimationProblems(const clsReader& root, Collector& found);
void findTextureProblems(const clsReader& root, const TextureSearch& textures, Collector& found);

}  // namespace orvane::findings
