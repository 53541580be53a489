#pragma once
// The shape node: one named block of a shape text file. The node that
// stands for the outermost block (the root) is also the document: it reads
// a file into itself and writes itself back out.
//
// Numbering: the lists are std::vectors (0-based in C++). "Value n" and
// "child i" in the rest of the program are 1-based, as in the file format's
// own vocabulary; use the helpers of tree_edit.h and block_layout.h for
// those.

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

#include "document/shape_form.h"
#include "document/shape_text.h"

namespace orvane {

class clsReader;
using NodePtr = std::shared_ptr<clsReader>;
using NodeList = std::vector<NodePtr>;
using StringList = std::vector<ShapeText>;
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
// moves a bar through the whole read.
enum class ReadProgress { OutermostItems, EveryPercent };

// Deepest block nesting a file may have (the outermost block is level 1).
// Deeper files are unreadable, so no walk over a tree can exhaust the stack.
inline constexpr int kMaxNestingDepth = 1000;

class clsReader : public std::enable_shared_from_this<clsReader> {
public:
    // Nodes are always owned through shared pointers (lists hold them, and
    // Parent is a weak back reference).
    static NodePtr create();
    static NodePtr create(std::string_view name);

    clsReader(const clsReader&) = delete;
    clsReader& operator=(const clsReader&) = delete;
    ~clsReader();

    // The block's name: the word before its opening parenthesis.
    ShapeText Name;
    // The block's label: a second word between the name and "(" (usually empty).
    ShapeText Text;

    // The child blocks in file order. (The list accessors are inline: the
    // checks and the writer call them millions of times.)
    NodeList& Nodes() {
        if (!nodes_) makeNodes();
        return *nodes_;
    }
    const NodeList& Nodes() const { return nodes_ ? *nodes_ : noNodes(); }
    // The list object itself; assigning it to another node shares it.
    NodeListPtr SharedNodes();
    void SetNodes(NodeListPtr list);

    // Every item of the block in order: values as written and, for each
    // child, a placeholder equal to the child's Name where the child stands.
    StringList& Strings() {
        if (!strings_) makeStrings();
        return *strings_;
    }
    const StringList& Strings() const { return strings_ ? *strings_ : noStrings(); }
    StringListPtr SharedStrings();
    void SetStrings(StringListPtr list);

    // The enclosing block, or none (root, or the parent has been released).
    NodePtr Parent() const;
    void SetParent(const NodePtr& parent);
    void SetParent(clsReader* parent);  // parent must be owned by a shared pointer

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
        ProgressListener progress;
        ReadProgress readSteps = ReadProgress::OutermostItems;
        std::function<void()> keepAlive;
        std::chrono::milliseconds keepAliveInterval{50};
    };
    RootState& root();
    void RaiseProgress(float percent);
    void RaiseKeepAlive();
    void makeNodes();
    void makeStrings();
    static const NodeList& noNodes();
    static const StringList& noStrings();

    NodeListPtr nodes_;
    StringListPtr strings_;
    std::weak_ptr<clsReader> parent_;
    std::unique_ptr<RootState> root_;

    friend class ShapeReader;
    friend class ShapeWriter;
    friend class KeepAliveTicker;
};

}  // namespace orvane
