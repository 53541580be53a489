#include "fuzz_checks.h"

#include <algorithm>
#include <array>
#include <fstream>
#include <sstream>
#include <string_view>
#include <unordered_set>
#include <utility>
#include <vector>

#include "document/binary_shape_writer.h"
#include "document/placeholder_walk.h"
#include "document/shape_error.h"
#include "document/tree_edit.h"
#include "findings/find_problems.h"
#include "geometry/lod_geometry.h"

namespace orvane::fuzz {

namespace {

template <typename Test>
bool anyNode(const clsReader& root, Test test) {
    std::vector<const clsReader*> pending{&root};
    while (!pending.empty()) {
        const clsReader* node = pending.back();
        pending.pop_back();
        if (test(*node)) return true;
        for (const NodePtr& child : node->Nodes()) pending.push_back(child.get());
    }
    return false;
}

bool hasEmptyValue(const clsReader& root) {
    return anyNode(root, [](const clsReader& node) {
        for (const ShapeText& value : node.Strings())
            if (value.empty()) return true;
        return false;
    });
}

bool hasLabel(const clsReader& root) {
    return anyNode(root, [](const clsReader& node) { return !node.Text().empty(); });
}

// A value equal to the name of a child of its block makes the child's
// placeholder ambiguous: "2 2 (" reads as a value "2" and the placeholder of
// child "2", but the tree cannot tell which of the two is the placeholder, so
// the writer puts the child at the first and the text it writes reads
// differently. Such trees are left out of the same-tree check.
bool hasValueNamedLikeAChild(const clsReader& root) {
    return anyNode(root, [](const clsReader& node) {
        const NodeList& children = node.Nodes();
        if (children.empty()) return false;
        std::unordered_set<std::string_view> names;
        for (const NodePtr& child : children) names.insert(child->Name.view());
        for (PlaceholderWalk walk(node); walk.next();)
            if (!walk.child() && names.count(walk.value().view())) return true;
        return false;
    });
}

// Every child's Parent is the node whose list holds it.
bool hasWrongParent(const clsReader& root) {
    return anyNode(root, [](const clsReader& node) {
        for (const NodePtr& child : node.Nodes())
            if (child->Parent().get() != &node) return true;
        return false;
    });
}

std::string roundTripProblem(const std::filesystem::path& input, const std::filesystem::path& scratch, bool bText,
                             bool& labelled) {
    const auto first = scratch / "first.s";
    const auto second = scratch / "second.s";
    const auto third = scratch / "third.s";
    NodePtr root = readTree(input, bText);
    if (root->Nodes().empty()) return {};
    labelled = hasLabel(*root);
    if (root->Parent() || hasWrongParent(*root)) return "a Parent reference is wrong";

    const bool clean = findMissingPlaceholder(*root).empty() && !hasEmptyValue(*root) && !hasValueNamedLikeAChild(*root);
    root->SaveFile(first);
    NodePtr once = readTree(first, bText);
    // The writer leaves out a child without its placeholder and the children
    // after it; with all of the root's children left out the text holds no
    // block and does not read. Only a tree that reads has more to keep.
    if (once->Nodes().empty()) return clean ? "the written shape does not read back" : "";
    if (once->Header() != root->Header()) return "the header line changed on the way through the writer";
    if (clean) {
        std::string diff = compareTrees(*root, *once);
        if (!diff.empty()) return "read, write, read changed the tree: " + diff;
    }
    once->SaveFile(second);
    if (clean && readFile(first) != readFile(second)) return "writing the same tree twice gave different bytes";
    NodePtr twice = readTree(second, bText);
    std::string diff = compareTrees(*once, *twice);
    if (!diff.empty()) return "a second write-and-read cycle changed the tree: " + diff;
    twice->SaveFile(third);
    if (readFile(second) != readFile(third)) return "a second write-and-read cycle changed the bytes";
    return {};
}

}  // namespace

std::string documentProblem(const std::filesystem::path& input, const std::filesystem::path& scratch) {
    bool labelled = false;
    std::string problem = roundTripProblem(input, scratch, true, labelled);
    // Without labels the tree differs only where the labelled reading found one.
    if (problem.empty() && labelled) problem = roundTripProblem(input, scratch, false, labelled);
    return problem;
}

RunLimits fuzzLimits() {
    RunLimits limits;
    limits.maxPrimFaces = 3;
    limits.maxObjectPolys = 20;
    const float metres = 50.0f / 1000.0f;  // a 50 mm minimum edge
    limits.minEdgeSqr = metres * metres;
    return limits;
}

RunSwitches fuzzSwitches() {
    RunSwitches switches;
    switches.chkPoly = true;
    switches.chkAnims = true;
    switches.chkReport = false;
    return switches;
}

void SilentView::shapeRead(const clsReader& root) {
    findings::TextureFolders listings;
    const findings::ShapeFindings found = findings::findProblems(root, {&listings, {textureFolder}});
    std::array<std::int64_t, std::size(findings::kKinds)> listed{};
    for (const findings::Finding& f : found.listed) {
        ++listed[static_cast<std::size_t>(f.kind)];
        if (f.words.empty() || f.severity != findings::severityOf(f.kind))
            findingsProblem = "a finding without words or with another severity than its kind's";
    }
    for (std::size_t i = 0; i < listed.size(); ++i)
        if (listed[i] != std::min(found.perKind[i], findings::kMostListedPerKind))
            findingsProblem = "findings listed and counted disagree";
}

void SilentView::shapeWritten(const clsReader& root) {
    const std::int32_t lods = std::min(geometry::lodCount(root), 4);
    for (std::int32_t n = 0; n < lods && traceProblem.empty(); ++n) {
        const geometry::LodGeometry lod = geometry::buildLodGeometry(root, n, fuzzLimits(), &trace);
        for (const geometry::PrimitiveRecord& p : lod.primitives)
            if (p.piece != 0 && (p.split < 0 || p.split >= trace.splits))
                traceProblem = "a part of a split the trace does not know";
        for (const geometry::PlacedFinding& f : lod.findings)
            if (f.kind == geometry::FindingKind::SplitPiece && (f.count < 1 || f.count > f.pieces || f.pieces < 2))
                traceProblem = "a part numbered outside its split's parts";
    }
}

std::string runProblem(const std::filesystem::path& input) {
    const auto output = outputPathFor(input);
    const std::string before = readFile(input);
    SilentView view;
    view.textureFolder = input.parent_path();
    RunResult result = runFix(input, view, fuzzLimits(), fuzzSwitches());
    if (!view.findingsProblem.empty()) return view.findingsProblem;
    if (!view.traceProblem.empty()) return view.traceProblem;

    if (readFile(input) != before) return "the run changed its input file";
    const bool exists = std::filesystem::exists(output);
    if (result.wrote != exists) return "the output file does not exist exactly when the run says it wrote";
    switch (result.outcome) {
        case RunOutcome::Completed:
            if (view.messages != 0) return "a completed run showed a message box";
            break;
        case RunOutcome::Unreadable:
        case RunOutcome::Stopped:
        case RunOutcome::WriteFailed:
            if (exists) return "a run that did not complete left an output file";
            if (view.messages != 1) return "a run that did not complete showed no message (or more than one)";
            if (result.outcome != RunOutcome::Unreadable && result.problem.empty()) return "a stopped run gave no reason";
            break;
        case RunOutcome::Cancelled:
            return "a run nobody cancelled says it was cancelled";
    }
    if (exists && readTree(output)->Nodes().empty()) return "the written shape does not read back";
    for (const auto& entry : std::filesystem::directory_iterator(input.parent_path())) {
        const auto name = entry.path().filename();
        if (name != input.filename() && name != output.filename()) return "a stray file was left behind: " + name.string();
    }
    return {};
}

std::string readFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream content;
    content << in.rdbuf();
    return content.str();
}

NodePtr readTree(const std::filesystem::path& path, bool bText) {
    NodePtr root = clsReader::create();
    root->ReadFile(path, bText);
    return root;
}

std::string compareTrees(const clsReader& a, const clsReader& b) {
    std::vector<std::pair<const clsReader*, const clsReader*>> pending{{&a, &b}};
    while (!pending.empty()) {
        auto [x, y] = pending.back();
        pending.pop_back();
        if (x->Name != y->Name) return "name \"" + x->Name.str() + "\" became \"" + y->Name.str() + "\"";
        if (x->Text() != y->Text()) return "label of \"" + x->Name.str() + "\" changed";
        if (x->Strings() != y->Strings()) return "values of \"" + x->Name.str() + "\" changed";
        if (x->Nodes().size() != y->Nodes().size()) return "children of \"" + x->Name.str() + "\" changed";
        for (std::size_t i = 0; i < x->Nodes().size(); ++i)
            pending.emplace_back(x->Nodes()[i].get(), y->Nodes()[i].get());
    }
    return {};
}

std::string formsFile(std::string_view input) {
    if (input.empty()) return {};
    const auto kind = static_cast<unsigned char>(input[0]) % 3;
    const std::vector<unsigned char> rest(input.begin() + 1, input.end());
    if (kind == 0) {
        const std::vector<unsigned char> file = compressedShape(rest);
        return {file.begin(), file.end()};
    }
    if (kind == 1) return "SIMISA@@@@@@@@@@" + std::string(input.substr(1));
    return std::string(input.substr(1));
}

std::string formsProblem(std::string_view input, const std::filesystem::path& scratch) {
    const auto path = scratch / "input.s";
    {
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        const std::string file = formsFile(input);
        out.write(file.data(), static_cast<std::streamsize>(file.size()));
    }
    NodePtr root = readTree(path);
    const ShapeForm form = root->ReadForm();
    if (root->Nodes().empty()) {
        if (!root->ReadProblem().empty() && form != ShapeForm::Compressed && form != ShapeForm::Binary &&
            form != ShapeForm::Text8Bit)
            return "a reason for a file of form " + std::string(formName(form));
        return {};
    }
    // Text of any form (also inside a compressed file) is the document
    // target's ground.
    const bool tokens = !input.empty() && static_cast<unsigned char>(input[0]) % 3 != 2 &&
                        input.substr(1).starts_with("JINX0s1b");
    if (!tokens) return {};
    {
        try {
            root->SaveCompressedFile(scratch / "again.s");
            NodePtr again = readTree(scratch / "again.s");
            if (again->ReadForm() != ShapeForm::Compressed) return "the compressed write reads as another form";
            std::string difference = compareTrees(*root, *again);
            if (!difference.empty()) return "the compressed write reads back differently: " + difference;
        } catch (const ShapeError&) {
            // A tree that the labels rule read differently from its blocks.
        }
    }
    return documentProblem(path, scratch);
}

}  // namespace orvane::fuzz
