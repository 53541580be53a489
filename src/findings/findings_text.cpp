#include "findings/findings_text.h"

namespace orvane::findings {

std::string findingsText(const ShapeFindings& found) {
    std::string text = "Findings\t" + std::to_string(found.total()) + "\n";
    for (const Finding& finding : found.listed) text += findingLine(finding) + "\n";
    for (std::size_t i = 0; i < std::size(kKinds); ++i)
        if (found.perKind[i] > kMostListedPerKind)
            text += std::string(kindId(kKinds[i])) + "\t" + std::string(severityId(severityOf(kKinds[i]))) + "\t\t" +
                    std::to_string(found.perKind[i] - kMostListedPerKind) + " more not listed\n";
    return text;
}

}  // namespace orvane::findings
