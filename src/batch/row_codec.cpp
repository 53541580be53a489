#include "batch/row_codec.h"

#include <cstdint>
#include <cstring>
#include <type_traits>

namespace orvane::batch {

namespace {

// Both ends are the same program on the same machine: numbers go in the
// machine's own byte order.
class Writer {
public:
    template <typename T>
    void number(T value) {
        static_assert(std::is_arithmetic_v<T>);
        bytes.append(reinterpret_cast<const char*>(&value), sizeof value);
    }
    void text(const std::string& value) {
        number<std::uint64_t>(value.size());
        bytes += value;
    }
    void optionalText(const std::optional<std::string>& value) {
        number<std::uint8_t>(value ? 1 : 0);
        if (value) text(*value);
    }

    std::string bytes;
};

class Reader {
public:
    explicit Reader(std::string_view bytes) : rest_(bytes) {}

    template <typename T>
    T number() {
        T value{};
        if (rest_.size() < sizeof value) {
            ok_ = false;
            return value;
        }
        std::memcpy(&value, rest_.data(), sizeof value);
        rest_.remove_prefix(sizeof value);
        return value;
    }
    std::string text() {
        const auto size = number<std::uint64_t>();
        if (!ok_ || rest_.size() < size) {
            ok_ = false;
            return {};
        }
        std::string value(rest_.substr(0, size));
        rest_.remove_prefix(size);
        return value;
    }
    std::optional<std::string> optionalText() {
        if (number<std::uint8_t>() == 0) return std::nullopt;
        return text();
    }
    bool whole() const { return ok_ && rest_.empty(); }
    // Whether n more items of at least `each` bytes can be there.
    bool room(std::uint64_t n, std::size_t each) {
        if (ok_ && n <= rest_.size() / each) return true;
        ok_ = false;
        return false;
    }

private:
    std::string_view rest_;
    bool ok_ = true;
};

// The counted figures, in one order for both directions.
constexpr std::int64_t RunFigures::*kFigureCounts[] = {
    &RunFigures::lods,
    &RunFigures::subObjects,
    &RunFigures::primitives,
    &RunFigures::triangles,
    &RunFigures::largestPrimitiveFaces,
    &RunFigures::largestSubObjectPolygons,
    &RunFigures::oversizePrimitives,
    &RunFigures::oversizeSubObjects,
    &RunFigures::shortEdges,
    &RunFigures::liftedPoints,
    &RunFigures::maxSubObjectVertices,
};
static_assert(sizeof(RunFigures) == sizeof(kFigureCounts) / sizeof(kFigureCounts[0]) * sizeof(std::int64_t) + 8,
              "a figure was added: send it too");

using findings::Finding;
using findings::ShapeFindings;

void putOptional(Writer& out, const std::optional<std::int64_t>& value) {
    out.number<std::uint8_t>(value ? 1 : 0);
    out.number<std::int64_t>(value.value_or(0));
}

std::optional<std::int64_t> takeOptional(Reader& in) {
    const bool present = in.number<std::uint8_t>() != 0;
    const auto value = in.number<std::int64_t>();
    return present ? std::optional<std::int64_t>(value) : std::nullopt;
}

void putFindings(Writer& out, const std::optional<ShapeFindings>& found) {
    out.number<std::uint8_t>(found ? 1 : 0);
    if (!found) return;
    for (std::int64_t count : found->perKind) out.number(count);
    out.number<std::uint64_t>(found->listed.size());
    for (const Finding& f : found->listed) {
        out.number(static_cast<std::int32_t>(f.kind));
        out.number(static_cast<std::int32_t>(f.severity));
        for (const auto* part : {&f.place.lod, &f.place.subObject, &f.place.primitive, &f.place.triangle})
            putOptional(out, *part);
        out.text(f.place.block);
        putOptional(out, f.place.index);
        putOptional(out, f.place.value);
        out.text(f.words);
    }
}

std::optional<ShapeFindings> takeFindings(Reader& in) {
    if (in.number<std::uint8_t>() == 0) return std::nullopt;
    ShapeFindings found;
    for (std::int64_t& count : found.perKind) count = in.number<std::int64_t>();
    const auto listed = in.number<std::uint64_t>();
    if (!in.room(listed, 8)) return found;
    found.listed.resize(static_cast<std::size_t>(listed));
    for (Finding& f : found.listed) {
        f.kind = static_cast<findings::Kind>(in.number<std::int32_t>());
        f.severity = static_cast<findings::Severity>(in.number<std::int32_t>());
        for (auto* part : {&f.place.lod, &f.place.subObject, &f.place.primitive, &f.place.triangle})
            *part = takeOptional(in);
        f.place.block = in.text();
        f.place.index = takeOptional(in);
        f.place.value = takeOptional(in);
        f.words = in.text();
    }
    return found;
}

}  // namespace

std::string encodeFinishedShape(const FinishedShape& finished) {
    Writer out;
    out.optionalText(finished.reportFailure);
    out.optionalText(finished.pictureFailure);
    out.number<std::uint8_t>(finished.row ? 1 : 0);
    if (!finished.row) return std::move(out.bytes);
    const ShapeRow& row = *finished.row;
    out.text(row.path);
    out.number(static_cast<std::int32_t>(row.outcome));
    out.number(static_cast<std::int32_t>(row.form));
    out.optionalText(row.problem);
    out.number<std::uint8_t>(row.figures ? 1 : 0);
    if (row.figures) {
        for (auto count : kFigureCounts) out.number((*row.figures).*count);
        out.number(static_cast<std::int32_t>(row.figures->animation));
    }
    out.optionalText(row.output);
    out.number(row.seconds);
    out.number(row.bytes);
    putFindings(out, row.findings);
    return std::move(out.bytes);
}

std::optional<FinishedShape> decodeFinishedShape(std::string_view bytes) {
    Reader in(bytes);
    FinishedShape finished;
    finished.reportFailure = in.optionalText();
    finished.pictureFailure = in.optionalText();
    if (in.number<std::uint8_t>() != 0) {
        ShapeRow& row = finished.row.emplace();
        row.path = in.text();
        row.outcome = static_cast<ShapeOutcome>(in.number<std::int32_t>());
        row.form = static_cast<ShapeForm>(in.number<std::int32_t>());
        row.problem = in.optionalText();
        if (in.number<std::uint8_t>() != 0) {
            RunFigures& figures = row.figures.emplace();
            for (auto count : kFigureCounts) figures.*count = in.number<std::int64_t>();
            figures.animation = static_cast<RunFigures::Animation>(in.number<std::int32_t>());
        }
        row.output = in.optionalText();
        row.seconds = in.number<double>();
        row.bytes = in.number<std::uint64_t>();
        row.findings = takeFindings(in);
    }
    if (!in.whole()) return std::nullopt;
    return finished;
}

}  // namespace orvane::batch
