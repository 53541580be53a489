#include "document/shape_reader_parser.h"

#include <algorithm>
#include <exception>
#include <new>
#include <stdexcept>
#include <system_error>
#include <iterator>
#include <string_view>

#include "document/binary_shape_text.h"
#include "document/numbers.h"
#include "document/shape_container.h"
#include "document/utf16.h"

namespace orvane {

namespace {

constexpr std::string_view kHeaderStart = "SIMISA@@@@@@";

// Every code unit below "!" is a blank: space, tab, line ends, controls.
inline bool isBlank(char16_t u) { return u < 0x21; }
inline bool isWordUnit(char16_t u) { return u > 0x20 && u != u'(' && u != u')'; }

// Length in UTF-16 code units of UTF-8 text.
std::size_t utf16Length(std::string_view text) {
    std::size_t n = 0;
    for (unsigned char b : text) {
        if ((b & 0xC0) != 0x80) ++n;
        if (b >= 0xF0) ++n;  // a character beyond U+FFFF takes two units
    }
    return n;
}

// What a bad file, a failed read or exhausted memory throws while reading:
// the file is then unreadable. Anything else is a fault of the program and
// passes on.
bool isReadFailure(const std::exception_ptr& failure) {
    try {
        std::rethrow_exception(failure);
    } catch (const detail::UnreadableShape&) {
        return true;  // not shape text, or cut short
    } catch (const DamagedShape&) {
        return true;  // a damaged compressed or binary shape
    } catch (const std::bad_alloc&) {
        return true;  // too big for the memory
    } catch (const std::length_error&) {
        return true;  // a value or list too long to hold
    } catch (const std::system_error&) {
        return true;  // the file system or the stream failed
    } catch (...) {
        return false;
    }
}

// What the first bytes of a file that is no shape text show: up to 16
// characters, UTF-16 (by its byte-order mark, or a zero high byte in the
// first unit) or single bytes, anything but printable ASCII as ".".
std::string notAShape(std::string_view bytes) {
    constexpr std::size_t kShown = 16;
    const bool marked = bytes.starts_with("\xFF\xFE");
    const bool utf16 = marked || (bytes.size() >= 2 && bytes[0] != '\0' && bytes[1] == '\0');
    const auto printable = [](unsigned u) { return u >= 0x20 && u < 0x7F ? static_cast<char>(u) : '.'; };
    std::string shown;
    if (utf16) {
        for (std::size_t i = marked ? 2 : 0; i + 1 < bytes.size() && shown.size() < kShown; i += 2)
            shown += printable(static_cast<unsigned char>(bytes[i]) | unsigned{static_cast<unsigned char>(bytes[i + 1])} << 8);
        if (marked && shown.empty()) return "empty file: nothing but the byte-order mark";
    } else {
        for (std::size_t i = 0; i < bytes.size() && shown.size() < kShown; ++i)
            shown += printable(static_cast<unsigned char>(bytes[i]));
    }
    return "not a shape: it starts with \"" + shown + "\"";
}

// Bytes of the file's start that the message of a file that is no shape
// may show (16 UTF-16 characters after a byte-order mark).
constexpr std::size_t kShownBytes = 34;

}  // namespace

void ShapeReader::readFile(clsReader& root, const std::filesystem::path& path, bool bText) {
    bool unreadable = false;
    bool outOfMemory = false;
    {
        ShapeReader reader(root, bText);
        try {
            reader.run(path);
        } catch (const DamagedShape& e) {
            if (reader.listenerFailed_) throw;
            root.root().problem = e.what();
            unreadable = true;
        } catch (const detail::UnreadableShape& e) {
            if (reader.listenerFailed_) throw;
            root.root().found = e.found;
            unreadable = true;
        } catch (const std::bad_alloc&) {
            if (reader.listenerFailed_) throw;
            outOfMemory = unreadable = true;
        } catch (...) {
            if (reader.listenerFailed_ || !isReadFailure(std::current_exception())) throw;
            unreadable = true;
        }
    }  // the reader's buffers and any partial tree are released here
    if (outOfMemory) {
        try {
            root.root().found = "not enough memory to read it";
        } catch (const std::bad_alloc&) {
            // the message goes without its reason
        }
    }
    if (unreadable) {
        root.Nodes().clear();
        root.Strings().clear();
        root.Name = ShapeText();
    }
}

void ShapeReader::run(const std::filesystem::path& path) {
    // The root gets lists of its own, whatever it held or shared before.
    root_.SetNodes(nullptr);
    root_.SetStrings(nullptr);
    clsReader::RootState& state = root_.root();
    state.form = ShapeForm::Unknown;
    state.problem.clear();
    state.found.clear();
    state.textUnits = 0;
    state.openError.clear();
    if (const std::error_code reason = source_.open(path)) {
        state.openError = reason;
        return;
    }
    if (source_.fileBytes() == 0) throw detail::UnreadableShape{"empty file"};
    const std::string first = source_.firstBytes(std::max(kFormBytes, kShownBytes));
    const ShapeForm form = formOfFile(first);
    if (form != ShapeForm::Text) {
        state.form = form;
        // A large shape's tree memory is tuned from the start: the inflated
        // data comes from the same tuned heap (few page faults).
        const std::uint64_t bytes = form == ShapeForm::Compressed ? declaredInflatedSize(first) : source_.fileBytes();
        heap_.emplace(std::min(bytes, kMostShapeBytes) * 8);
        const auto advise = [this] { heap_->adviseGrowth(); };
        const auto file = [this](unsigned char* to, std::size_t room) { return source_.readBytes(to, room); };
        ShapeContent content(form, file, source_.fileBytes(), advise);
        if (content.isTokens()) return readTokens(content);
        source_.useText(content.takeText());
    }
    try {
        root_.SetHeader(source_.readHeaderLine());
    } catch (const detail::UnreadableShape&) {
        throw detail::UnreadableShape{notAShape(first)};  // a single byte, or a byte-order mark alone
    }
    if (!root_.Header().starts_with(kHeaderStart)) {
        state.found = notAShape(first);
        return;
    }
    if (form == ShapeForm::Text) state.form = ShapeForm::Text;
    root_.root().lastPerc = 0;
    everyPercent_ = root_.root().readSteps == ReadProgress::EveryPercent;
    source_.startBody();
    length_ = source_.length();
    textBody_ = true;
    state.textUnits = length_ + root_.Header().size() + 2;
    heap_.emplace(length_ * 2);
    parseBody(findOutermostName());
}

// The outermost block's name is the last run of non-blank units before the
// first "(", up to that "(" with trailing spaces (U+0020 only) removed.
// Returns the position of that "(".
std::uint64_t ShapeReader::findOutermostName() {
    std::uint64_t runStart = 0;  // 0: no non-blank unit seen yet
    bool inRun = false;
    std::uint64_t pos = 1;
    for (;;) {
        if (pos > length_) throw detail::UnreadableShape{"no block: the text after the header line holds no \"(\""};
        if (pos >= source_.end()) source_.fill(runStart ? runStart : pos, std::min(pos + (1u << 16), length_));
        const char16_t* d = source_.data();
        const std::uint64_t base = source_.base();
        const std::uint64_t stop = std::min(source_.end(), length_ + 1);
        for (; pos < stop; ++pos) {
            const char16_t u = d[pos - base];
            if (u == u'(') {
                if (runStart == 0)
                    throw detail::UnreadableShape{"no block name before the first \"(\" " + lineText(pos)};
                std::string name = toUtf8(std::u16string_view(d + (runStart - base), pos - runStart));
                name.erase(name.find_last_not_of(' ') + 1);
                root_.Name = std::string_view(name);
                return pos;
            }
            if (isBlank(u)) {
                inRun = false;
            } else if (!inRun) {
                inRun = true;
                runStart = pos;
            }
        }
    }
}

void ShapeReader::readTokens(ShapeContent& content) {
    root_.SetHeader(std::string(kDecodedHeader));
    root_.root().lastPerc = 0;
    everyPercent_ = root_.root().readSteps == ReadProgress::EveryPercent;
    // Progress runs over the tokens' positions.
    length_ = content.firstByte() + content.tokenBytes();
    try {
        decodeShapeTokens(content.tokens(), content.tokenBytes(), content.firstByte(), content.where(), *this);
        root_.root().textUnits = tokenTextUnits_;
    } catch (...) {
        // Damaged compressed data is the reason to give, wherever the
        // tokens went wrong; the listener's own failure passes unchanged.
        if (!listenerFailed_) content.finish();
        throw;
    }
    content.finish();
}

void ShapeReader::tokenBlockOpen(std::string_view name, std::string_view label) {
    keepAliveStep();
    // Its head line, indented by depth, and its ")" line.
    tokenTextUnits_ += name.size() + label.size() + 2 * frames_.size() + 10;
    if (frames_.empty()) {
        // The outermost name is the last word before its "(".
        root_.Name = label.empty() ? name : label;
        startRoot(0);
        return;
    }
    addItem(ShapeText(name));
    if (!label.empty()) addItem(ShapeText(label));
    openChild();
}

void ShapeReader::tokenValue(std::string_view text) {
    tokenTextUnits_ += text.size() + 1;
    addItem(ShapeText(text));
}

void ShapeReader::tokenBlockClose(std::uint64_t endByte) {
    p_ = endByte;
    closeBlock();
}

void ShapeReader::startRoot(std::uint64_t q) {
    frames_.reserve(64);
    items_.reserve(1024);
    children_.reserve(1024);
    Frame top;
    top.target = &root_;
    top.last = top.beforeLast = kEmpty;
    top.openAt = q;
    frames_.push_back(std::move(top));
    root_.SetParent(nullptr);
    p_ = q + 1;
}

void ShapeReader::parseBody(std::uint64_t q) {
    startRoot(q);
    while (!frames_.empty()) {
        keepAliveStep();
        if (p_ >= length_) {
            // The last character is looked at only as a ")" that closes a
            // block; a text that ends inside a block is cut off.
            if (p_ == length_ && charAt(p_) == u')') {
                ++p_;
                closeBlock();
                continue;
            }
            throw DamagedShape(cutOffReason());
        }
        // Skip blanks, stopping at the last character at the latest.
        for (;;) {
            const char16_t* d = source_.data();
            const std::uint64_t base = source_.base();
            const char16_t* c = d + (p_ - base);
            const char16_t* stop = d + (std::min(source_.end(), length_) - base);
            while (c < stop && isBlank(*c)) ++c;
            p_ = base + static_cast<std::uint64_t>(c - d);
            if (c < stop || p_ >= length_) break;
            source_.fill(p_, p_);
        }
        if (p_ >= source_.end()) source_.fill(p_, p_);
        const char16_t ch = source_.data()[p_ - source_.base()];
        if (ch == u'(') {
            openChild();
        } else if (ch == u')') {
            ++p_;
            closeBlock();
        } else {
            readValue();
        }
    }
}

template <class List>
void ShapeReader::reserveFresh(List& list, std::size_t n) {
    List fresh;
    fresh.reserve(n);
    heap_->adviseBlock(fresh.data(), fresh.capacity() * sizeof(typename List::value_type));
    fresh.insert(fresh.end(), std::make_move_iterator(list.begin()), std::make_move_iterator(list.end()));
    list.swap(fresh);
}

ShapeText ShapeReader::itemText(std::size_t index) const { return index == kEmpty ? ShapeText() : items_[index]; }

void ShapeReader::openChild() {
    if (frames_.size() >= static_cast<std::size_t>(kMaxNestingDepth))
        throw detail::UnreadableShape{"blocks nest deeper than " + groupedNumber(kMaxNestingDepth) + " levels" +
                                      (textBody_ ? " " + lineText(p_) : std::string())};
    Frame& f = frames_.back();
    const std::string_view beforeLast = f.beforeLastCopied ? f.beforeLastCopy.view()
                                        : f.beforeLast == kEmpty ? std::string_view()
                                                                 : items_[f.beforeLast].view();
    NodePtr child = clsReader::create();
    if (bText_ && !beforeLast.empty() && !isNumericText(beforeLast) && utf16Length(beforeLast) != 8) {
        // Name and label: the name stays behind as the placeholder, the
        // label (the last element of Strings) goes.
        child->Name = beforeLast;
        child->SetText(itemText(f.last));
        if (items_.size() == f.itemStart) throw detail::UnreadableShape{};  // nothing to remove
        if (!f.beforeLastCopied && f.beforeLast == items_.size() - 1) {
            f.beforeLastCopy = items_[f.beforeLast];
            f.beforeLastCopied = true;
        }
        items_.pop_back();
    } else {
        child->Name = itemText(f.last);
    }
    child->parent_ = f.target->anchor();

    Frame next;
    next.target = child.get();
    next.node = std::move(child);
    next.itemStart = items_.size();
    next.childStart = children_.size();
    next.last = next.beforeLast = kEmpty;
    next.openAt = p_;
    frames_.push_back(std::move(next));
    ++p_;
}

void ShapeReader::readValue() {
    const std::uint64_t s = p_;
    if (source_.data()[s - source_.base()] == u'"') {
        // A quoted value runs to the next quotation mark, whatever stands
        // between; without one the file is unreadable.
        std::uint64_t pos = s + 1;
        for (;;) {
            const char16_t* d = source_.data();
            const std::uint64_t base = source_.base();
            const std::uint64_t stop = std::min(source_.end(), length_ + 1);
            if (pos < stop) {
                const char16_t* found = std::find(d + (pos - base), d + (stop - base), u'"');
                pos = base + static_cast<std::uint64_t>(found - d);
                if (pos < stop) break;
            }
            if (stop > length_)
                throw detail::UnreadableShape{"a quoted value " + lineText(s) + " has no closing quotation mark"};
            source_.fill(s, stop);
        }
        p_ = pos + 1;
    } else {
        // A word; the last character of the text never belongs to one.
        for (;;) {
            const char16_t* d = source_.data();
            const std::uint64_t base = source_.base();
            const char16_t* c = d + (p_ - base);
            const char16_t* stop = d + (std::min(source_.end(), length_) - base);
            while (c < stop && isWordUnit(*c)) ++c;
            p_ = base + static_cast<std::uint64_t>(c - d);
            if (c < stop || p_ >= length_) break;
            source_.fill(s, p_);
        }
    }
    const char16_t* units = source_.data() + (s - source_.base());
    addItem(unitsToText(units, static_cast<std::size_t>(p_ - s)));
}

void ShapeReader::addItem(ShapeText item) {
    if (items_.size() == items_.capacity()) reserveFresh(items_, 2 * items_.size());
    items_.push_back(std::move(item));
    Frame& f = frames_.back();
    f.beforeLast = f.last;
    f.beforeLastCopied = false;
    f.last = items_.size() - 1;
    progressStep();
}

ShapeText ShapeReader::unitsToText(const char16_t* units, std::size_t n) {
    char16_t all = 0;
    for (std::size_t i = 0; i < n; ++i) all |= units[i];
    if (all < 0x80) {
        if (n <= 15) {
            char narrow[15];
            for (std::size_t i = 0; i < n; ++i) narrow[i] = static_cast<char>(units[i]);
            return ShapeText(std::string_view(narrow, n));
        }
        scratch_.resize(n);
        for (std::size_t i = 0; i < n; ++i) scratch_[i] = static_cast<char>(units[i]);
        return ShapeText(scratch_);
    }
    scratch_.clear();
    appendUtf8(scratch_, std::u16string_view(units, n));
    return ShapeText(scratch_);
}

void ShapeReader::closeBlock() {
    heap_->adviseGrowth();
    Frame& f = frames_.back();
    clsReader& node = *f.target;
    const auto firstItem = items_.begin() + static_cast<std::ptrdiff_t>(f.itemStart);
    const auto firstChild = children_.begin() + static_cast<std::ptrdiff_t>(f.childStart);
    if (frames_.size() == 1) {
        // The root fills the lists it was given when the read began.
        node.Strings().assign(std::make_move_iterator(firstItem), std::make_move_iterator(items_.end()));
        node.Nodes().assign(std::make_move_iterator(firstChild), std::make_move_iterator(children_.end()));
    } else {
        // Exact-size lists; a block without items or children gets its
        // (empty) list only when someone asks for it.
        if (firstItem != items_.end()) {
            reserveFresh(node.strings_, static_cast<std::size_t>(items_.end() - firstItem));
            node.strings_.assign(std::make_move_iterator(firstItem), std::make_move_iterator(items_.end()));
        }
        if (firstChild != children_.end()) {
            NodeList& children = node.extras().ownNodes;  // made when the first child was opened
            reserveFresh(children, static_cast<std::size_t>(children_.end() - firstChild));
            children.assign(std::make_move_iterator(firstChild), std::make_move_iterator(children_.end()));
        }
    }
    items_.erase(firstItem, items_.end());
    children_.erase(firstChild, children_.end());
    NodePtr closed = std::move(f.node);
    frames_.pop_back();
    if (frames_.empty()) return;
    if (children_.size() == children_.capacity()) reserveFresh(children_, 2 * children_.size());
    children_.push_back(std::move(closed));
    frames_.back().last = kEmpty;  // the item before last stays as it was
    progressStep();
}

char16_t ShapeReader::charAt(std::uint64_t p) {
    if (p < source_.base() || p >= source_.end()) source_.fill(p, p);
    return source_.data()[p - source_.base()];
}

std::string ShapeReader::lineText(std::uint64_t p) { return "at line " + groupedNumber(source_.lineOf(p)); }

std::string ShapeReader::cutOffReason() {
    const Frame& innermost = frames_.back();
    const std::string name = innermost.target->Name.str();
    return "the file ends inside block " + (name.empty() ? std::string("(unnamed)") : name) + " opened " +
           lineText(innermost.openAt) + ": it may be cut off";
}

void ShapeReader::keepAliveStep() {
    try {
        keepAlive_.tick();
    } catch (...) {
        listenerFailed_ = true;
        throw;
    }
}

// The root's own loop reports progress once per whole percent; with
// EveryPercent the blocks inside it do too, when the position reaches the
// next whole percent (a comparison per item, no division).
void ShapeReader::progressStep() {
    if (frames_.size() != 1 && (!everyPercent_ || p_ < nextPercentAt_)) return;
    clsReader::RootState& state = root_.root();
    const std::uint64_t pct = p_ * 100 / length_;
    nextPercentAt_ = ((pct + 1) * length_ + 99) / 100;
    if (static_cast<std::int64_t>(pct) == state.lastPerc) return;
    state.lastPerc = static_cast<std::int32_t>(pct);
    try {
        root_.RaiseProgress(static_cast<float>(static_cast<double>(pct) / 100.0));
    } catch (...) {
        listenerFailed_ = true;
        throw;
    }
}

}  // namespace orvane
