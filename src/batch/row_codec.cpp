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
    }
    if (!in.whole()) return std::nullopt;
    return finished;
}

}  // namespace orvane::batch
