#include "document/cls_reader.h"

namespace orvane {

namespace {
const NodeList kNoNodes;
const StringList kNoStrings;
}  // namespace

NodePtr clsReader::create() {
    // One allocation for the node and its reference count.
    struct Constructible : clsReader {};
    return std::make_shared<Constructible>();
}

NodePtr clsReader::create(std::string_view name) {
    NodePtr node = create();
    node->Name = name;
    return node;
}

clsReader::~clsReader() = default;

void clsReader::makeNodes() { nodes_ = std::make_shared<NodeList>(); }

const NodeList& clsReader::noNodes() { return kNoNodes; }

NodeListPtr clsReader::SharedNodes() {
    Nodes();
    return nodes_;
}

void clsReader::SetNodes(NodeListPtr list) { nodes_ = std::move(list); }

void clsReader::makeStrings() { strings_ = std::make_shared<StringList>(); }

const StringList& clsReader::noStrings() { return kNoStrings; }

StringListPtr clsReader::SharedStrings() {
    Strings();
    return strings_;
}

void clsReader::SetStrings(StringListPtr list) { strings_ = std::move(list); }

NodePtr clsReader::Parent() const { return parent_.lock(); }

void clsReader::SetParent(const NodePtr& parent) { parent_ = parent; }

void clsReader::SetParent(clsReader* parent) {
    if (parent)
        parent_ = parent->weak_from_this();
    else
        parent_.reset();
}

NodePtr clsReader::Find(std::string_view name) const {
    for (const NodePtr& child : Nodes())
        if (child->Name.view() == name) return child;
    return nullptr;
}

std::int32_t clsReader::ParentIndex() const {
    NodePtr parent = Parent();
    if (!parent) return -1;
    const NodeList& siblings = parent->Nodes();
    for (std::size_t i = 0; i < siblings.size(); ++i)
        if (siblings[i].get() == this) return static_cast<std::int32_t>(i + 1);
    return -1;
}

void clsReader::SetProgressListener(ProgressListener listener, ReadProgress steps) {
    root().progress = std::move(listener);
    root().readSteps = steps;
}

void clsReader::SetKeepAliveListener(std::function<void()> listener, std::chrono::milliseconds interval) {
    root().keepAlive = std::move(listener);
    root().keepAliveInterval = interval;
}

const std::string& clsReader::Header() const {
    static const std::string kNone;
    return root_ ? root_->sHeader : kNone;
}

std::error_code clsReader::OpenError() const { return root_ ? root_->openError : std::error_code(); }

ShapeForm clsReader::ReadForm() const { return root_ ? root_->form : ShapeForm::Unknown; }

const std::string& clsReader::ReadProblem() const {
    static const std::string kNone;
    return root_ ? root_->problem : kNone;
}

void clsReader::SetHeader(std::string header) { root().sHeader = std::move(header); }

clsReader::RootState& clsReader::root() {
    if (!root_) root_ = std::make_unique<RootState>();
    return *root_;
}

void clsReader::RaiseProgress(float percent) {
    if (root_ && root_->progress) root_->progress(percent);
}

void clsReader::RaiseKeepAlive() {
    if (root_ && root_->keepAlive) root_->keepAlive();
}

}  // namespace orvane
