#pragma once
// The shape reader behind clsReader::ReadFile: tells the file's form,
// checks the header, finds the outermost block's name and parses the body
// into nodes in one forward pass with an explicit stack of open blocks (no
// recursion). Binary tokens arrive as the items their text would hold and
// go through the same item handling.

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "document/binary_shape_text.h"
#include "document/cls_reader.h"
#include "document/shape_container.h"
#include "document/keep_alive.h"
#include "document/shape_reader_memory.h"
#include "document/shape_reader_source.h"

namespace orvane {

class ShapeReader : private ShapeTokenSink {
public:
    // The whole of ReadFile: an unreadable file leaves root with empty
    // lists; exceptions of the progress listener pass through unchanged.
    static void readFile(clsReader& root, const std::filesystem::path& path, bool bText);

private:
    // One open block. The items and children of all open blocks live on two
    // shared stacks; a block's own start at `itemStart` / `childStart`. Its
    // lists get their exact size when it closes.
    struct Frame {
        NodePtr node;  // none for the root, which is held by the caller
        clsReader* target = nullptr;
        std::size_t itemStart = 0;
        std::size_t childStart = 0;
        // The naming rule's last item and item before last, as positions on
        // the item stack (kEmpty: the empty item). The item before last is
        // copied out in the rare case that its element is removed.
        std::size_t last = 0;
        std::size_t beforeLast = 0;
        bool beforeLastCopied = false;
        ShapeText beforeLastCopy;
        // Where the block's "(" stands: a position in T, or in the tokens.
        std::uint64_t openAt = 0;
    };
    static constexpr std::size_t kEmpty = static_cast<std::size_t>(-1);

    ShapeReader(clsReader& root, bool bText) : root_(root), bText_(bText) {}
    void run(const std::filesystem::path& path);
    std::uint64_t findOutermostName();
    void startRoot(std::uint64_t q);
    void parseBody(std::uint64_t q);
    void readTokens(ShapeContent& content);

    // The items of binary tokens.
    void tokenBlockOpen(std::string_view name, std::string_view label) override;
    void tokenValue(std::string_view text) override;
    void tokenBlockClose(std::uint64_t endByte) override;

    // Items of the current block.
    void openChild();
    void readValue();
    void addItem(ShapeText item);
    void closeBlock();
    void progressStep();
    void keepAliveStep();
    ShapeText itemText(std::size_t index) const;
    // Gives list room for n elements in a fresh block, marked for huge pages
    // when large before anything is moved into it.
    template <class List>
    void reserveFresh(List& list, std::size_t n);
    ShapeText unitsToText(const char16_t* units, std::size_t n);
    // The unit at position p of T (p at most L), from the window or a refill.
    char16_t charAt(std::uint64_t p);
    // The reason given for a text that ends while blocks are still open.
    std::string cutOffReason();
    // "at line N" for position p of T, for messages.
    std::string lineText(std::uint64_t p);

    clsReader& root_;
    const bool bText_;
    detail::ShapeTextSource source_;
    std::optional<detail::LargeTreeHeap> heap_;
    std::uint64_t p_ = 0;  // the shared position in T
    std::uint64_t length_ = 0;
    // With ReadProgress::EveryPercent: the first position of the next whole
    // percent, looked at after every item at any depth.
    bool everyPercent_ = false;
    std::uint64_t nextPercentAt_ = 0;
    std::vector<Frame> frames_;
    std::vector<ShapeText> items_;
    std::vector<NodePtr> children_;
    std::string scratch_;
    bool listenerFailed_ = false;
    bool textBody_ = false;  // parsing text (not tokens): positions are in T
    std::uint64_t tokenTextUnits_ = 0;  // what the tokens' text would hold, about
    KeepAliveTicker keepAlive_{root_};
};

}  // namespace orvane
