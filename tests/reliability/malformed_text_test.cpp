// Shape text broken as a file: cut short anywhere, parentheses that do not
// balance either way, every block left out in turn, a 50 MB value and deep
// nesting. Whatever reads is checked and repaired or stops with a message;
// every run keeps the promises of runChecked.

#include <gtest/gtest.h>

#include <algorithm>
#include <utility>
#include <string>
#include <vector>

#include "document/cls_reader.h"
#include "document/tree_edit.h"
#include "reliability/malformed_shapes.h"
#include "reliability/run_contract.h"
#include "generator/sample_shapes.h"
#include "support/shape_files.h"

using namespace orvane;
using namespace orvane::test;

namespace {

// A small complete shape with an animation: every kind of block the run uses.
std::string smallBody() { return smallShape(animationBlock(15, 30)); }

class BrokenText : public ::testing::Test {
protected:
    // Runs on the bytes with the repairing limits and, unless only those are
    // asked for, with the defaults; answers the outcome of the repairing run.
    RunOutcome runBoth(const std::string& bytes, bool repairingOnly = false) {
        RunOutcome repairing{};
        for (bool defaults : {false, true}) {
            if (defaults && repairingOnly) break;
            std::filesystem::remove_all(dir_.path());
            std::filesystem::create_directory(dir_.path());
            writeBytes(dir_ / "model.s", bytes);
            CheckedRun run = runChecked(dir_ / "model.s", defaults ? RunLimits{} : repairingLimits(), allSwitchesOn());
            if (!defaults) repairing = run.result.outcome;
        }
        return repairing;
    }
    TempDir dir_;
    static std::string fileBytes(const std::string& body) {
        return utf16Bytes(std::string(kHeader) + "\r\n" + body);
    }
};

TEST_F(BrokenText, CutShortAtManyPoints) {
    // Odd and even lengths, inside words and between blocks: every 7th byte
    // of the small shape, every 97th of the larger one.
    for (const auto& [body, step] : {std::pair{smallBody(), 7}, std::pair{repairableShapeBody(), 97}}) {
        const std::string bytes = fileBytes(body);
        for (std::size_t cut = 0; cut < bytes.size(); cut += step) {
            SCOPED_TRACE("cut after " + std::to_string(cut) + " of " + std::to_string(bytes.size()) + " bytes");
            const RunOutcome outcome = runBoth(bytes.substr(0, cut));
            if (cut % 2 == 1) {
                EXPECT_EQ(outcome, RunOutcome::Unreadable) << "an odd number of bytes is not UTF-16";
            }
        }
    }
}

TEST_F(BrokenText, EveryClosingParenthesisLeftOutInTurn) {
    const std::string body = smallBody();
    for (std::size_t at = body.find(')'); at != std::string::npos; at = body.find(')', at + 1)) {
        SCOPED_TRACE("without the \")\" at " + std::to_string(at));
        std::string broken = body;
        broken.erase(at, 1);
        runBoth(fileBytes(broken));
    }
}

TEST_F(BrokenText, SurplusParenthesesEverywhere) {
    const std::string body = smallBody();
    for (char extra : {')', '('}) {
        for (std::size_t at = body.find('('); at != std::string::npos; at = body.find_first_of("()", at + 1)) {
            SCOPED_TRACE(std::string("a surplus \"") + extra + "\" at " + std::to_string(at));
            std::string broken = body;
            broken.insert(at, 1, extra);
            runBoth(fileBytes(broken));
        }
    }
}

TEST_F(BrokenText, UnbalancedAtTheEnds) {
    const std::string body = smallBody();
    // Never closed: the text is taken to be cut off.
    EXPECT_EQ(runBoth(fileBytes(body.substr(0, body.rfind(')')))), RunOutcome::Unreadable);
    EXPECT_NE(runBoth(fileBytes(body + ") ) )")), RunOutcome::Unreadable);
    // Whatever stands before the outermost block's name is ignored.
    EXPECT_EQ(runBoth(fileBytes(") ) " + body)), RunOutcome::Completed);
    EXPECT_EQ(runBoth(fileBytes("( " + body)), RunOutcome::Unreadable) << "no block name before the first \"(\"";
}

// The shape with one block (and its placeholder) left out, as text.
std::string withoutBlock(const std::string& body, std::size_t skip) {
    NodePtr root = readShape(body);
    std::size_t seen = 0;
    std::vector<clsReader*> pending{root.get()};
    while (!pending.empty()) {
        clsReader* node = pending.back();
        pending.pop_back();
        for (std::size_t i = 0; i < node->Nodes().size(); ++i) {
            if (seen++ == skip) {
                removeChildWithPlaceholder(*node, i + 1);
                TempDir dir;
                root->SaveFile(dir / "without.s");
                return readBytes(dir / "without.s");
            }
            pending.push_back(node->Nodes()[i].get());
        }
    }
    return {};
}

TEST_F(BrokenText, EveryBlockMissingInTurn) {
    const std::string body = smallBody();
    std::size_t blocks = 0;
    for (std::size_t skip = 0;; ++skip) {
        const std::string bytes = withoutBlock(body, skip);
        if (bytes.empty()) break;
        ++blocks;
        SCOPED_TRACE("block " + std::to_string(skip) + " left out");
        runBoth(bytes);
    }
    EXPECT_GT(blocks, 40u);
}

TEST_F(BrokenText, FiftyMegabyteValue) {
    // 25 million characters: 50 MB of UTF-16, as one word and as a count.
    const std::string huge(25'000'000, '7');
    EXPECT_EQ(runBoth(fileBytes(replaceFirst(smallBody(), "00000000 00000000", huge)), true), RunOutcome::Completed);
    EXPECT_EQ(runBoth(fileBytes(replaceFirst(smallBody(), "vertex_idxs ( 6", "vertex_idxs ( " + huge)), true),
              RunOutcome::Stopped);
}

TEST_F(BrokenText, DeepNesting) {
    auto nested = [](int levels) {
        std::string text = "shape (";  // level 1
        for (int i = 2; i <= levels; ++i) text += " a (";
        text += " 1";
        for (int i = 1; i <= levels; ++i) text += " )";
        return text;
    };
    EXPECT_EQ(runBoth(fileBytes(nested(1000))), RunOutcome::Completed);
    EXPECT_EQ(runBoth(fileBytes(nested(1001))), RunOutcome::Unreadable);
    // Deep inside a sub-object that is divided and whose primitives are split.
    std::string deep = "x (";
    for (int i = 0; i < 950; ++i) deep += " a (";
    for (int i = 0; i <= 950; ++i) deep += " )";
    const std::string body = replaceFirst(repairableShapeBody(), "vertex_sets (", deep + " vertex_sets (");
    EXPECT_EQ(runBoth(fileBytes(body)), RunOutcome::Completed);
}

}  // namespace
