#include "findings/finding.h"

namespace orvane::findings {

std::string_view kindId(Kind kind) {
    switch (kind) {
        case Kind::ReferenceOutOfRange: return "reference-out-of-range";
        case Kind::HierarchyLoop: return "hierarchy-loop";
        case Kind::CountMismatch: return "count-mismatch";
        case Kind::TextureNotFound: return "texture-not-found";
        case Kind::TextureLetterCase: return "texture-letter-case";
        case Kind::KeyPastFrameCount: return "key-past-frame-count";
        case Kind::AnimatedNameWithoutMatrix: return "animation-node-without-matrix";
        case Kind::DuplicateMatrixName: return "duplicate-matrix-name";
        case Kind::DistancesNotIncreasing: return "distances-not-increasing";
    }
    return "unknown";
}

std::string_view severityId(Severity severity) {
    switch (severity) {
        case Severity::FailsToLoad: return "fails-to-load";
        case Severity::DrawsWrong: return "draws-wrong";
        case Severity::Harmless: return "harmless";
    }
    return "unknown";
}

Severity severityOf(Kind kind) {
    switch (kind) {
        case Kind::ReferenceOutOfRange:
        case Kind::HierarchyLoop:
        case Kind::CountMismatch: return Severity::FailsToLoad;
        case Kind::TextureNotFound:
        case Kind::KeyPastFrameCount:
        case Kind::AnimatedNameWithoutMatrix:
        case Kind::DuplicateMatrixName:
        case Kind::DistancesNotIncreasing: return Severity::DrawsWrong;
        case Kind::TextureLetterCase: return Severity::Harmless;
    }
    return Severity::FailsToLoad;
}

std::string placeText(const Place& place) {
    std::string text;
    auto part = [&text](const std::string& piece) {
        if (!text.empty()) text += ", ";
        text += piece;
    };
    if (place.lod) part("LOD " + std::to_string(*place.lod));
    if (place.subObject) part("sub-object " + std::to_string(*place.subObject));
    if (place.primitive) part("primitive " + std::to_string(*place.primitive));
    if (place.triangle) part("triangle " + std::to_string(*place.triangle));
    if (!place.block.empty()) {
        std::string block = place.block;
        if (place.index) block += " " + std::to_string(*place.index);
        if (place.value) block += " value " + std::to_string(*place.value);
        part(block);
    }
    return text.empty() ? "shape" : text;
}

std::string findingLine(const Finding& finding) {
    return std::string(kindId(finding.kind)) + '\t' + std::string(severityId(finding.severity)) + '\t' +
           placeText(finding.place) + '\t' + finding.words;
}

}  // namespace orvane::findings
