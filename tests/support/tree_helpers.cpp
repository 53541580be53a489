#include "support/tree_helpers.h"

#include <algorithm>
#include <utility>

#include "document/utf16.h"
#include "support/shape_files.h"

namespace orvane::test {

std::string treeDifference(const clsReader& a, const clsReader& b) {
    // Walks both trees side by side without recursion.
    std::vector<std::pair<const clsReader*, const clsReader*>> pending{{&a, &b}};
    while (!pending.empty()) {
        auto [x, y] = pending.back();
        pending.pop_back();
        const std::string where = "block '" + x->Name.str() + "'";
        if (x->Name != y->Name) return where + ": name differs from '" + y->Name.str() + "'";
        if (x->Text() != y->Text()) return where + ": label '" + x->Text().str() + "' vs '" + y->Text().str() + "'";
        if (x->Strings() != y->Strings()) return where + ": values differ";
        if (x->Nodes().size() != y->Nodes().size()) return where + ": child counts differ";
        for (std::size_t i = 0; i < x->Nodes().size(); ++i) pending.emplace_back(x->Nodes()[i].get(), y->Nodes()[i].get());
    }
    return {};
}

std::vector<std::string> valuesOf(const clsReader& node) {
    std::vector<std::string> out;
    for (const ShapeText& v : node.Strings()) out.push_back(v.str());
    return out;
}

std::vector<std::string> childNames(const clsReader& node) {
    std::vector<std::string> out;
    for (const NodePtr& c : node.Nodes()) out.push_back(c->Name.str());
    return out;
}

std::string decodedFile(const std::filesystem::path& path) {
    const std::string bytes = readBytes(path);
    std::u16string units;
    for (std::size_t i = 0; i + 1 < bytes.size(); i += 2)
        units += static_cast<char16_t>(static_cast<unsigned char>(bytes[i]) |
                                       (static_cast<unsigned char>(bytes[i + 1]) << 8));
    if (!units.empty() && units.front() == u'\uFEFF') units.erase(0, 1);
    return toUtf8(units);
}

std::vector<std::string> folderEntries(const std::filesystem::path& folder) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

NodePtr readFileRecording(const std::filesystem::path& path, std::vector<float>* events, bool bText) {
    NodePtr root = clsReader::create();
    if (events) root->SetProgressListener([events](float f) { events->push_back(f); });
    root->ReadFile(path, bText);
    return root;
}

}  // namespace orvane::test
