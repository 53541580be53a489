#include "document/cls_reader.h"

#include <utility>

namespace orvane {

// A shape holds millions of nodes: keep the layout from growing unnoticed.
static_assert(sizeof(void*) != 8 || sizeof(clsReader) == 56);

namespace {
const NodeList kNoNodes;
const LabelText kNoLabel;
}  // namespace

void* clsReader::operator new(std::size_t bytes) { return detail::takeSlot(bytes); }

void clsReader::operator delete(void* node, std::size_t bytes) noexcept { detail::giveSlot(node, bytes); }

void* clsReader::Extras::operator new(std::size_t bytes) { return detail::takeSlot(bytes); }

void clsReader::Extras::operator delete(void* extras, std::size_t bytes) noexcept { detail::giveSlot(extras, bytes); }

NodePtr clsReader::create() { return NodePtr(new clsReader()); }

NodePtr clsReader::create(std::string_view name) {
    NodePtr node = create();
    node->Name = name;
    return node;
}

clsReader::~clsReader() {
    if (parent_) releaseExtras(parent_);
    if (!extras_) return;
    // Children that outlive this node learn that their parent is gone; the
    // lists are released after that, each child releasing its hold on the
    // Extras as it goes.
    extras_->owner = nullptr;
    NodeList nodes = std::move(extras_->ownNodes);
    std::unique_ptr<Extras::Rare> rare = std::move(extras_->rare);
    releaseExtras(extras_);
}

void clsReader::releaseExtras(Extras* extras) noexcept {
    if (extras->refs.fetch_sub(1, std::memory_order_acq_rel) == 1) delete extras;
}

clsReader::Extras& clsReader::extras() {
    if (!extras_) {
        extras_ = new Extras();
        extras_->owner = this;
    }
    return *extras_;
}

clsReader::Extras* clsReader::anchor() {
    Extras& e = extras();
    e.refs.fetch_add(1, std::memory_order_relaxed);
    return &e;
}

NodeList& clsReader::makeNodes() { return extras().nodes(); }

const NodeList& clsReader::noNodes() { return kNoNodes; }

const LabelText& clsReader::noLabel() { return kNoLabel; }

void clsReader::SetText(LabelText text) {
    if (!text.empty())
        extras().makeRare().label = std::move(text);
    else if (extras_ && extras_->rare)
        extras_->rare->label = LabelText();
}

NodeListPtr clsReader::SharedNodes() {
    Extras& e = extras();
    Extras::Rare& rare = e.makeRare();
    if (!rare.sharedNodes) rare.sharedNodes = std::make_shared<NodeList>(std::exchange(e.ownNodes, NodeList()));
    return rare.sharedNodes;
}

void clsReader::SetNodes(NodeListPtr list) {
    Extras& e = extras();
    NodeList old = std::exchange(e.ownNodes, NodeList());
    // A list nobody else holds becomes the node's own.
    if (list && list.use_count() == 1) {
        e.ownNodes = std::move(*list);
        list.reset();
    }
    if (list || e.rare) e.makeRare().sharedNodes = std::move(list);
}

StringListPtr clsReader::SharedStrings() {
    Extras::Rare& rare = extras().makeRare();
    if (!rare.sharedStrings) rare.sharedStrings = std::make_shared<StringList>(std::exchange(strings_, StringList()));
    return rare.sharedStrings;
}

void clsReader::SetStrings(StringListPtr list) {
    StringList old = std::exchange(strings_, StringList());
    if (list && list.use_count() == 1) {
        strings_ = std::move(*list);
        list.reset();
    }
    if (list || (extras_ && extras_->rare)) extras().makeRare().sharedStrings = std::move(list);
}

NodePtr clsReader::Parent() const {
    return parent_ && parent_->owner ? NodePtr(parent_->owner) : NodePtr();
}

void clsReader::SetParent(const NodePtr& parent) { SetParent(parent.get()); }

void clsReader::SetParent(clsReader* parent) {
    Extras* next = parent ? parent->anchor() : nullptr;
    if (parent_) releaseExtras(parent_);
    parent_ = next;
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
    return rootState() ? rootState()->sHeader : kNone;
}

std::error_code clsReader::OpenError() const { return rootState() ? rootState()->openError : std::error_code(); }

ShapeForm clsReader::ReadForm() const { return rootState() ? rootState()->form : ShapeForm::Unknown; }

const std::string& clsReader::ReadProblem() const {
    static const std::string kNone;
    return rootState() ? rootState()->problem : kNone;
}

const std::string& clsReader::ReadFound() const {
    static const std::string kNone;
    return rootState() ? rootState()->found : kNone;
}

void clsReader::SetHeader(std::string header) { root().sHeader = std::move(header); }

clsReader::RootState& clsReader::root() {
    Extras::Rare& rare = extras().makeRare();
    if (!rare.root) rare.root = std::make_unique<RootState>();
    return *rare.root;
}

void clsReader::RaiseProgress(float percent) {
    const RootState* state = rootState();
    if (state && state->progress) state->progress(percent);
}

void clsReader::RaiseKeepAlive() {
    const RootState* state = rootState();
    if (state && state->keepAlive) state->keepAlive();
}

}  // namespace orvane
