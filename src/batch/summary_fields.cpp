#include "batch/summary_fields.h"

#include <cmath>

namespace orvane::batch {

namespace {

using Json = SummaryJson;

double milliRounded(double seconds) { return std::round(seconds * 1000.0) / 1000.0; }

}  // namespace

SummaryJson rowFields(const ShapeRow& row) {
    Json j;
    j["path"] = row.path;
    j["outcome"] = outcomeName(row.outcome);
    j["form"] = row.form == ShapeForm::Unknown ? Json(nullptr) : Json(std::string(formName(row.form)));
    j["problem"] = row.problem ? Json(*row.problem) : Json(nullptr);
    const RunFigures* f = row.figures ? &*row.figures : nullptr;
    auto figure = [&](const char* name, std::int64_t RunFigures::*member) {
        j[name] = f ? Json(f->*member) : Json(nullptr);
    };
    figure("lods", &RunFigures::lods);
    figure("sub_objects", &RunFigures::subObjects);
    figure("primitives", &RunFigures::primitives);
    figure("triangles", &RunFigures::triangles);
    figure("largest_primitive_faces", &RunFigures::largestPrimitiveFaces);
    figure("largest_sub_object_polygons", &RunFigures::largestSubObjectPolygons);
    figure("oversize_primitives", &RunFigures::oversizePrimitives);
    figure("oversize_sub_objects", &RunFigures::oversizeSubObjects);
    figure("short_edges", &RunFigures::shortEdges);
    figure("lifted_points", &RunFigures::liftedPoints);
    j["animation"] = f ? Json(animationName(f->animation)) : Json(nullptr);
    figure("max_sub_object_vertices", &RunFigures::maxSubObjectVertices);
    j["index_overflow"] = f ? Json(indexOverflow(*f)) : Json(nullptr);
    j["output"] = row.output ? Json(*row.output) : Json(nullptr);
    j["seconds"] = milliRounded(row.seconds);
    j["findings_count"] = row.findings ? Json(row.findings->total()) : Json(nullptr);
    Json list = Json::array();
    if (row.findings)
        for (const findings::Finding& f : row.findings->listed) list.push_back(findingFields(f));
    j[kFindingsField] = std::move(list);
    return j;
}

SummaryJson findingFields(const findings::Finding& finding) {
    const findings::Place& p = finding.place;
    auto optional = [](const std::optional<std::int64_t>& v) { return v ? Json(*v) : Json(nullptr); };
    Json place;
    place["lod"] = optional(p.lod);
    place["sub_object"] = optional(p.subObject);
    place["primitive"] = optional(p.primitive);
    place["triangle"] = optional(p.triangle);
    place["block"] = p.block.empty() ? Json(nullptr) : Json(p.block);
    place["index"] = optional(p.index);
    place["value"] = optional(p.value);
    Json j;
    j["kind"] = std::string(findings::kindId(finding.kind));
    j["severity"] = std::string(findings::severityId(finding.severity));
    j["place"] = std::move(place);
    j["where"] = findings::placeText(p);
    j["words"] = finding.words;
    return j;
}

SummaryJson totalFields(const SummaryTotals& totals) {
    Json j;
    j["shapes_found"] = totals.found;
    for (std::size_t i = 0; i < kOutcomes.size(); ++i) j[outcomeName(kOutcomes[i])] = totals.perOutcome[i];
    for (std::size_t i = 0; i < kForms.size(); ++i) j["form_" + std::string(formName(kForms[i]))] = totals.perForm[i];
    j["index_overflow"] = totals.indexOverflows;
    j["megabytes_read"] = milliRounded(totals.megabytesRead);
    j["wall_seconds"] = milliRounded(totals.wallSeconds);
    j["megabytes_per_second"] = milliRounded(totals.megabytesPerSecond);
    j["interrupted"] = totals.interrupted;
    j["not_run"] = totals.found - totals.finished;
    Json perKind;
    for (std::size_t i = 0; i < std::size(findings::kKinds); ++i)
        perKind[std::string(findings::kindId(findings::kKinds[i]))] = totals.findingsPerKind[i];
    j[kFindingsField] = std::move(perKind);
    return j;
}

std::string cellText(const Json& value) {
    if (value.is_null()) return {};
    if (value.is_string()) return value.get<std::string>();
    return value.dump();
}

}  // namespace orvane::batch
