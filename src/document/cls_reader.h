#pragma once
// The shape node: one named block of a shape text file. The node that
// stands for the outermost block (the root) is also the document: it reads
// a file into itself and writes itself back out.
//
// Numbering: the lists are std::vectors (0-based in C++). "Value n" and
// "child i" in the rest of the program are 1-based, as in the file format's
// own vocabulary; use the helpers of tree_edit.h and block_layout.h for
// those.

#include <atomic>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

#include "document/label_text.h"
#include "document/node_pool.h"
#include "document/shape_form.h"
#include "document/shape_text.h"

namespace orvane {

class clsReader;

// Shared ownership of a node. The count lives in the node itself, so a
// reference is one pointer wide and a node is one allocation; otherwise it
// behaves as a shared pointer (copies share, the last one frees the node).
class NodePtr {
public:
    NodePtr() noexcept = default;
    NodePtr(std::nullptr_t) noexcept {}  // NOLINT: as a shared pointer
    // Takes a further reference to a node that is already owned elsewhere
    // (or to a new node, see clsReader::create).
    explicit NodePtr(clsReader* node) noexcept;
    NodePtr(const NodePtr& o) noexcept;
    NodePtr(NodePtr&& o) noexcept : p_(o.p_) { o.p_ = nullptr; }
    NodePtr& operator=(const NodePtr& o) noexcept {
        NodePtr copy(o);
        swap(copy);
        return *this;
    }
    NodePtr& operator=(NodePtr&& o) noexcept {
        NodePtr moved(std::move(o));
        swap(moved);
        return *this;
    }
    ~NodePtr();

    clsReader* get() const noexcept { return p_; }
    clsReader* operator->() const noexcept { return p_; }
    clsReader& operator*() const noexcept { return *p_; }
    explicit operator bool() const noexcept { return p_ != nullptr; }
    void reset() noexcept { NodePtr().swap(*this); }
    void swap(NodePtr& o) noexcept { std::swap(p_, o.p_); }

    friend bool operator==(const NodePtr& a, const NodePtr& b) noexcept { return a.p_ == b.p_; }
    friend bool operator==(const NodePtr& a, std::nullptr_t) noexcept { return a.p_ == nullptr; }

private:
    clsReader* p_ = nullptr;
};

// The lists of a block; their memory comes from the tree's slot pool.
using NodeList = std::vector<NodePtr, detail::TreeAllocator<NodePtr>>;
using StringList = std::vector<ShapeText, detail::TreeAllocator<ShapeText>>;
using NodeListPtr = std::shared_ptr<NodeList>;
using StringListPtr = std::shared_ptr<StringList>;

// Hears the root's progress while it reads or writes: a fraction from 0 to 1.
// A listener may throw to abandon the read or write (the exception passes
// through ReadFile/SaveFile to the caller; SaveFile leaves no file behind).
using ProgressListener = std::function<void(float percent)>;

// When a read reports progress: after the items that stand directly in the
// outermost block (as the format's reader always has), or at every whole
// percent of the text, however deep the block being read. A large shape
// keeps most of its text in a few top-level blocks, so only the second
// moves a bar through the whole read. The same choice holds for SaveFile:
// once per top-level block, or at every whole percent of the bytes written
// (against the size of the text that was read, the bar held below 100
// until the file is complete).
enum class ReadProgress { OutermostItems, EveryPercent };

// Deepest block nesting a file may have (the outermost block is level 1).
// Deeper files are unreadable, so no walk over a tree can exhaust the stack.
inline constexpr int kMaxNestingDepth = 1000;

class clsReader {
public:
    // Nodes are always owned through NodePtr (lists hold them, and Parent
    // is a back reference that does not keep the parent alive).
    static NodePtr create();
    static NodePtr create(std::string_view name);

    clsReader(const clsReader&) = delete;
    clsReader& operator=(const clsReader&) = delete;
    ~clsReader();
    // Nodes come from the tree's slot pool (see node_pool.h).
    static void* operator new(std::size_t bytes);
    static void operator delete(void* node, std::size_t bytes) noexcept;

private:
    // Placed before Name so that the two fill sixteen bytes (a node takes 56).
    mutable std::atomic<std::uint32_t> refs_{0};

public:
    // The block's name: the word before its opening parenthesis.
    ShapeText Name;
    // The block's label: a second word between the name and "(". Nearly
    // every block has none, so a label is kept with the node's rare extras.
    const LabelText& Text() const { return extras_ && extras_->rare ? extras_->rare->label : noLabel(); }
    void SetText(LabelText text);

    // The child blocks in file order. (The list accessors are inline: the
    // checks and the writer call them millions of times.)
    NodeList& Nodes() { return extras_ ? extras_->nodes() : makeNodes(); }
    const NodeList& Nodes() const { return extras_ ? extras_->nodes() : noNodes(); }
    // The list object itself; assigning it to another node shares it.
    NodeListPtr SharedNodes();
    void SetNodes(NodeListPtr list);

    // Every item of the block in order: values as written and, for each
    // child, a placeholder equal to the child's Name where the child stands.
    StringList& Strings() {
        StringList* shared = extras_ ? extras_->sharedStrings() : nullptr;
        return shared ? *shared : strings_;
    }
    const StringList& Strings() const {
        const StringList* shared = extras_ ? extras_->sharedStrings() : nullptr;
        return shared ? *shared : strings_;
    }
    StringListPtr SharedStrings();
    void SetStrings(StringListPtr list);

    // The enclosing block, or none (root, or the parent has been released).
    NodePtr Parent() const;
    void SetParent(const NodePtr& parent);
    void SetParent(clsReader* parent);

    // First direct child whose Name equals name exactly, or none.
    NodePtr Find(std::string_view name) const;
    // 1-based position of this very node in Parent's Nodes; -1 when it is
    // not there or has no parent.
    std::int32_t ParentIndex() const;

    // Fills this node from a shape file of any form: UTF-16 text, 8-bit
    // text, compressed or binary (see shape_reader.cpp). An unreadable file
    // leaves Nodes empty. Exceptions thrown by the progress listener pass
    // through.
    void ReadFile(const std::filesystem::path& sName, bool bText);
    // The form of the file last read (Unknown when it was not a shape), and
    // why a compressed or binary shape could not be read (the reason and
    // the byte where it was found; empty otherwise).
    ShapeForm ReadForm() const;
    const std::string& ReadProblem() const;
    // For a file that is no shape at all (Nodes empty, ReadProblem empty):
    // what was found instead, such as "empty file" or "not a shape: it
    // starts with ..."; empty when the reader has nothing to say.
    const std::string& ReadFound() const;
    // Writes the tree as a shape text file (see shape_writer.cpp). Throws
    // SaveError naming the path and the reason; on failure no file of that
    // name is created or changed.
    void SaveFile(const std::filesystem::path& sName);
    // Writes the tree as a compressed shape ("SIMISA@F", zlib of binary
    // tokens). Throws ShapeError naming the block and value when a value
    // has no binary form, SaveError when the file cannot be written; either
    // way no file of that name is created or changed.
    void SaveCompressedFile(const std::filesystem::path& sName);

    void SetProgressListener(ProgressListener listener, ReadProgress steps = ReadProgress::OutermostItems);
    // Called about every `interval` while a long read or write goes on,
    // between progress events, so that a window can handle its events; like
    // the progress listener it may throw to abandon the read or write.
    void SetKeepAliveListener(std::function<void()> listener,
                              std::chrono::milliseconds interval = std::chrono::milliseconds(50));
    // Why the last ReadFile could not open its file (no such file, access
    // denied, a folder); empty when it was opened.
    std::error_code OpenError() const;
    // The header line of the file read (without its line end).
    const std::string& Header() const;
    void SetHeader(std::string header);

private:
    clsReader() = default;
    struct RootState {
        std::string sHeader;
        std::error_code openError;
        std::int32_t lastPerc = 0;
        ShapeForm form = ShapeForm::Unknown;
        std::string problem;
        std::string found;
        // Characters of shape text the file held (0: not read from a file);
        // the writer's estimate of what it will write.
        std::uint64_t textUnits = 0;
        ProgressListener progress;
        ReadProgress readSteps = ReadProgress::OutermostItems;
        std::function<void()> keepAlive;
        std::chrono::milliseconds keepAliveInterval{50};
    };
    // What only some nodes need, made on first use: the children, lists
    // shared with other nodes, the label, the root's state. It is also what
    // children point to as their Parent: it outlives the node while children
    // hold it, and then tells them the parent is gone.
    struct Extras {
        // Lists shared with other nodes, the label and the root's state:
        // rarer still.
        struct Rare {
            NodeListPtr sharedNodes;      // when set, the node's Nodes
            StringListPtr sharedStrings;  // when set, the node's Strings
            std::unique_ptr<RootState> root;
            LabelText label;
        };
        static void* operator new(std::size_t bytes);
        static void operator delete(void* extras, std::size_t bytes) noexcept;
        std::atomic<std::uint32_t> refs{1};  // the node's own, one per child pointing here
        clsReader* owner = nullptr;          // none once the node is gone
        NodeList ownNodes;
        std::unique_ptr<Rare> rare;
        NodeList& nodes() { return rare && rare->sharedNodes ? *rare->sharedNodes : ownNodes; }
        StringList* sharedStrings() const { return rare ? rare->sharedStrings.get() : nullptr; }
        Rare& makeRare() {
            if (!rare) rare = std::make_unique<Rare>();
            return *rare;
        }
    };
    static void releaseExtras(Extras* extras) noexcept;
    Extras& extras();
    // A new reference to this node's Extras, for a child's Parent.
    Extras* anchor();
    RootState& root();
    const RootState* rootState() const { return extras_ && extras_->rare ? extras_->rare->root.get() : nullptr; }
    void RaiseProgress(float percent);
    void RaiseKeepAlive();
    NodeList& makeNodes();
    static const NodeList& noNodes();
    static const LabelText& noLabel();

    // Values live in the node; a node's list moves to a shared list object
    // only when SharedStrings is asked for or a shared list is set.
    StringList strings_;
    Extras* parent_ = nullptr;  // the enclosing node's Extras
    Extras* extras_ = nullptr;

    friend class NodePtr;
    friend class ShapeReader;
    friend class ShapeWriter;
    friend class KeepAliveTicker;
};

inline NodePtr::NodePtr(clsReader* node) noexcept : p_(node) {
    if (p_) p_->refs_.fetch_add(1, std::memory_order_relaxed);
}

inline NodePtr::NodePtr(const NodePtr& o) noexcept : p_(o.p_) {
    if (p_) p_->refs_.fetch_add(1, std::memory_order_relaxed);
}

inline NodePtr::~NodePtr() {
    if (p_ && p_->refs_.fetch_sub(1, std::memory_order_acq_rel) == 1) delete p_;
}

}  // namespace orvane
