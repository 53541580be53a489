#pragma once
// A block's label: the rare second word between a block's name and its
// "(". Nearly every block has none, so an empty label takes one null
// pointer in the node; a label's text lives on the heap behind it.

#include <cstdint>
#include <cstring>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>

#include "document/shape_text.h"

namespace orvane {

class LabelText {
public:
    LabelText() noexcept = default;
    LabelText(std::string_view s) { assign(s); }        // NOLINT: implicit by design
    LabelText(const char* s) : LabelText(std::string_view(s)) {}  // NOLINT
    LabelText(const std::string& s) : LabelText(std::string_view(s)) {}  // NOLINT
    LabelText(const ShapeText& s) : LabelText(s.view()) {}  // NOLINT
    LabelText(const LabelText& o) { assign(o.view()); }
    LabelText(LabelText&& o) noexcept : p_(std::exchange(o.p_, nullptr)) {}
    LabelText& operator=(const LabelText& o) {
        LabelText copy(o);
        std::swap(p_, copy.p_);
        return *this;
    }
    LabelText& operator=(LabelText&& o) noexcept {
        std::swap(p_, o.p_);
        return *this;
    }
    ~LabelText() { delete[] p_; }

    std::string_view view() const noexcept {
        if (!p_) return {};
        std::uint32_t n;
        std::memcpy(&n, p_, sizeof n);
        return {p_ + sizeof n, n};
    }
    operator std::string_view() const noexcept { return view(); }  // NOLINT
    std::string str() const { return std::string(view()); }
    std::size_t size() const noexcept { return view().size(); }
    bool empty() const noexcept { return p_ == nullptr; }

    friend bool operator==(const LabelText& a, const LabelText& b) noexcept { return a.view() == b.view(); }
    friend bool operator==(const LabelText& a, std::string_view b) noexcept { return a.view() == b; }
    friend bool operator==(const LabelText& a, const char* b) noexcept { return a.view() == std::string_view(b); }
    friend bool operator==(const LabelText& a, const std::string& b) noexcept { return a.view() == b; }

private:
    // Null, or the size (4 bytes) followed by the text.
    char* p_ = nullptr;

    void assign(std::string_view s) {
        if (s.empty()) return;
        if (s.size() > UINT32_MAX - sizeof(std::uint32_t)) throw std::length_error("shape label too long");
        const auto n = static_cast<std::uint32_t>(s.size());
        p_ = new char[sizeof n + s.size()];
        std::memcpy(p_, &n, sizeof n);
        std::memcpy(p_ + sizeof n, s.data(), s.size());
    }
};

static_assert(sizeof(LabelText) == sizeof(void*));

}  // namespace orvane
