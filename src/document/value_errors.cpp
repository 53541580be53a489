#include "document/value_errors.h"

#include "document/shape_error.h"

namespace orvane {

namespace {

std::string position(const clsReader& block, std::size_t n) {
    return "value " + std::to_string(n) + " of " + block.Name.str();
}

std::string placeSuffix(const std::string& place) { return place.empty() ? std::string() : " of " + place; }

}  // namespace

std::string quoted(std::string_view text) {
    constexpr std::size_t kMax = 40;
    std::string out(1, '"');
    out += text.substr(0, kMax);
    if (text.size() > kMax) out += "...";
    out += '"';
    return out;
}

void throwMissingValue(const clsReader& block, std::size_t n, std::string_view what, const std::string& place) {
    const std::string subject = what.empty() ? position(block, n) : std::string(what) + " (" + position(block, n) + ")";
    throw ShapeError(subject + placeSuffix(place) + " is missing");
}

void throwBadValue(const clsReader& block, std::size_t n, std::string_view what, const std::string& place,
                   std::string_view expected) {
    const std::string text = quoted(block.Strings().at(n - 1).view());
    const std::string subject = what.empty() ? position(block, n) + " " + text
                                             : std::string(what) + " " + text + " (" + position(block, n) + ")";
    throw ShapeError(subject + placeSuffix(place) + " is not " + std::string(expected));
}

}  // namespace orvane
