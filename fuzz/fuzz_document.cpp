// Any bytes as a shape file. When they read: a tree without missing
// placeholders or empty values writes and reads back into the same tree and
// writes again to the same bytes; any tree that reads is stable after one
// write-and-read cycle.

#include <cstddef>
#include <cstdint>

#include "document/tree_edit.h"
#include "fuzz_support.h"

using namespace orvane;
using namespace orvane::fuzz;

namespace {

bool hasEmptyValue(const clsReader& root) {
    std::vector<const clsReader*> pending{&root};
    while (!pending.empty()) {
        const clsReader* node = pending.back();
        pending.pop_back();
        for (const ShapeText& value : node->Strings())
            if (value.empty()) return true;
        for (const NodePtr& child : node->Nodes()) pending.push_back(child.get());
    }
    return false;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto input = scratchDir() / "input.s";
    const auto first = scratchDir() / "first.s";
    const auto second = scratchDir() / "second.s";
    const auto third = scratchDir() / "third.s";
    writeFile(input, data, size);
    NodePtr root = readTree(input);
    if (root->Nodes().empty()) return 0;

    const bool clean = findMissingPlaceholder(*root).empty() && !hasEmptyValue(*root);
    root->SaveFile(first);
    NodePtr once = readTree(first);
    if (once->Nodes().empty()) fail("the written shape does not read back");
    if (clean) {
        std::string diff = compareTrees(*root, *once);
        if (!diff.empty()) fail("read, write, read changed the tree: " + diff);
    }
    once->SaveFile(second);
    if (clean && readFile(first) != readFile(second)) fail("writing the same tree twice gave different bytes");
    NodePtr twice = readTree(second);
    std::string diff = compareTrees(*once, *twice);
    if (!diff.empty()) fail("a second write-and-read cycle changed the tree: " + diff);
    twice->SaveFile(third);
    if (readFile(second) != readFile(third)) fail("a second write-and-read cycle changed the bytes");
    return 0;
}
