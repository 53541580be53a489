#include <algorithm>
#include <cstdint>
#include <exception>
#include <string>
#include <system_error>
#include <vector>

#include "document/cls_reader.h"
#include "document/keep_alive.h"
#include "document/path_text.h"
#include "document/placeholder_walk.h"
#include "document/shape_error.h"
#include "document/shape_writer_output.h"
#include "document/system_reason.h"
#include "document/tree_edit.h"

namespace orvane {

// Writes a tree in the layout the reader reads back: one block head per
// line indented by depth, values on the head's line, ")" on a line of its
// own for blocks with children. The walk keeps its own stack of open
// blocks, so any depth writes.
class ShapeWriter {
public:
    static void saveFile(clsReader& root, const std::filesystem::path& target);

private:
    struct Open {
        const clsReader* node;
        PlaceholderWalk items;  // the next value to write, or the child it places
        int depth;
    };

    ShapeWriter(clsReader& root, detail::Utf16TextOutput& out) : root_(root), out_(out) {}
    void writeTree();
    void openBlock(const clsReader& node, int depth);
    void closeBlock();
    void progress(float fraction);
    void percentStep();

    // Blocks longer than this many characters on one line go on to the next.
    static constexpr std::uint64_t kLineLimit = 1000;

    clsReader& root_;
    detail::Utf16TextOutput& out_;
    std::vector<Open> open_;
    std::size_t topBlocksWritten_ = 0;
    bool listenerFailed_ = false;
    // With ReadProgress::EveryPercent and a known text size: progress at
    // each whole percent of the units written against that size, below 100
    // until the end. nextPercentAt_ is where the next whole percent begins.
    bool everyPercent_ = false;
    std::uint64_t expectedUnits_ = 0;
    std::uint64_t nextPercentAt_ = UINT64_MAX;
    std::int64_t lastPercent_ = 0;
    KeepAliveTicker keepAlive_{root_};
};

void ShapeWriter::saveFile(clsReader& root, const std::filesystem::path& target) {
    const std::string failure = "cannot write " + pathText(target) + ": ";
    bool listenerFailed = false;
    try {
        detail::ReplacingFile file(target);
        detail::Utf16TextOutput out(file);
        out.put(u'\uFEFF');
        out.putText(root.Header());
        out.lineEnd();
        ShapeWriter writer(root, out);
        try {
            writer.writeTree();
        } catch (...) {
            listenerFailed = writer.listenerFailed_;
            throw;
        }
        out.flush();
        file.commit();
    } catch (const std::system_error& e) {
        if (listenerFailed) throw;
        throw SaveError(failure + systemReason(e.code()));
    } catch (const std::exception& e) {
        if (listenerFailed) throw;
        throw SaveError(failure + e.what());
    }
}

void ShapeWriter::writeTree() {
    if (const clsReader::RootState* state = root_.rootState();
        state && state->readSteps == ReadProgress::EveryPercent && state->textUnits > 0) {
        everyPercent_ = true;
        expectedUnits_ = state->textUnits;
        nextPercentAt_ = (expectedUnits_ + 99) / 100;
    }
    openBlock(root_, 0);
    while (!open_.empty()) {
        if (out_.written() >= nextPercentAt_) percentStep();
        try {
            keepAlive_.tick();
        } catch (...) {
            listenerFailed_ = true;
            throw;
        }
        Open& block = open_.back();
        if (!block.items.next()) {
            closeBlock();
            continue;
        }
        if (out_.lineLength() >= kLineLimit) {
            out_.lineEnd();
            out_.putTabs(block.depth);
        }
        // A placeholder opens its child where it stands.
        if (const NodePtr* child = block.items.child())
            openBlock(**child, block.depth + 1);
        else
            out_.putSpaced(block.items.value());
    }
    if (everyPercent_) progress(1.0f);
}

void ShapeWriter::percentStep() {
    const std::uint64_t written = out_.written();
    const std::int64_t percent = std::min<std::int64_t>(static_cast<std::int64_t>(written * 100 / expectedUnits_), 99);
    // Past the estimate the bar waits at 99 until the end.
    nextPercentAt_ = percent >= 99 ? UINT64_MAX : ((static_cast<std::uint64_t>(percent) + 1) * expectedUnits_ + 99) / 100;
    if (percent == lastPercent_) return;
    lastPercent_ = percent;
    progress(static_cast<float>(static_cast<double>(percent) / 100.0));
}

void ShapeWriter::openBlock(const clsReader& node, int depth) {
    out_.lineEnd();
    out_.putTabs(depth);
    out_.putText(node.Name);
    if (!node.Text().empty()) {
        out_.put(u' ');
        out_.putText(node.Text());
    }
    out_.put(u' ');
    out_.put(u'(');
    open_.push_back({&node, PlaceholderWalk(node), depth});
}

void ShapeWriter::closeBlock() {
    const Open block = open_.back();
    open_.pop_back();
    if (block.node->Nodes().empty()) {
        out_.put(u' ');
        out_.put(u')');
    } else {
        out_.lineEnd();
        out_.putTabs(block.depth);
        out_.put(u')');
    }
    if (block.depth == 1 && !everyPercent_) {
        ++topBlocksWritten_;
        progress(static_cast<float>(static_cast<double>(topBlocksWritten_) /
                                    static_cast<double>(root_.Nodes().size())));
    }
}

void ShapeWriter::progress(float fraction) {
    try {
        root_.RaiseProgress(fraction);
    } catch (...) {
        listenerFailed_ = true;
        throw;
    }
}

void clsReader::SaveFile(const std::filesystem::path& sName) { ShapeWriter::saveFile(*this, sName); }

}  // namespace orvane
