#pragma once
// A compact text value for the shape tree. A shape holds millions of short
// values (indices, coordinates), so a value takes 16 bytes: up to 15 bytes
// are stored inline, longer texts live on the heap. The text is UTF-8
// (lone UTF-16 surrogates from a file are kept as their 3-byte forms so
// that every value writes back exactly as it was read).

#include <cstdint>
#include <cstring>
#include <stdexcept>
#include <string>
#include <string_view>

namespace orvane {

class ShapeText {
public:
    ShapeText() noexcept { clearInline(); }
    ShapeText(std::string_view s) { assign(s); }  // NOLINT: implicit by design
    ShapeText(const char* s) : ShapeText(std::string_view(s)) {}  // NOLINT
    ShapeText(const std::string& s) : ShapeText(std::string_view(s)) {}  // NOLINT

    ShapeText(const ShapeText& o) { assign(o.view()); }
    ShapeText(ShapeText&& o) noexcept {
        std::memcpy(raw_, o.raw_, sizeof raw_);
        o.clearInline();
    }
    ShapeText& operator=(const ShapeText& o) {
        if (this != &o) {
            ShapeText copy(o);
            swap(copy);
        }
        return *this;
    }
    ShapeText& operator=(ShapeText&& o) noexcept {
        if (this != &o) {
            release();
            std::memcpy(raw_, o.raw_, sizeof raw_);
            o.clearInline();
        }
        return *this;
    }
    ShapeText& operator=(std::string_view s) {
        ShapeText copy(s);
        swap(copy);
        return *this;
    }
    ShapeText& operator=(const char* s) { return *this = std::string_view(s); }
    ShapeText& operator=(const std::string& s) { return *this = std::string_view(s); }
    ~ShapeText() { release(); }

    void swap(ShapeText& o) noexcept {
        unsigned char tmp[sizeof raw_];
        std::memcpy(tmp, raw_, sizeof raw_);
        std::memcpy(raw_, o.raw_, sizeof raw_);
        std::memcpy(o.raw_, tmp, sizeof raw_);
    }

    std::string_view view() const noexcept {
        if (isHeap()) {
            const char* p;
            std::uint32_t n;
            std::memcpy(&p, raw_, sizeof p);
            std::memcpy(&n, raw_ + 8, sizeof n);
            return {p, n};
        }
        return {reinterpret_cast<const char*>(raw_), inlineSize()};
    }
    operator std::string_view() const noexcept { return view(); }  // NOLINT
    std::string str() const { return std::string(view()); }
    std::size_t size() const noexcept { return view().size(); }
    bool empty() const noexcept { return size() == 0; }

    friend bool operator==(const ShapeText& a, const ShapeText& b) noexcept { return a.view() == b.view(); }
    friend bool operator==(const ShapeText& a, std::string_view b) noexcept { return a.view() == b; }
    friend bool operator==(const ShapeText& a, const char* b) noexcept { return a.view() == std::string_view(b); }
    friend bool operator==(const ShapeText& a, const std::string& b) noexcept { return a.view() == b; }

private:
    static constexpr std::size_t kInline = 15;
    static constexpr unsigned char kHeapTag = 0xFF;

    // Inline: bytes 0..14 hold the text, byte 15 holds (15 - size).
    // Heap: bytes 0..7 a pointer, 8..11 the size, byte 15 the tag 0xFF.
    unsigned char raw_[16];

    bool isHeap() const noexcept { return raw_[15] == kHeapTag; }
    std::size_t inlineSize() const noexcept { return kInline - raw_[15]; }
    void clearInline() noexcept {
        std::memset(raw_, 0, sizeof raw_);
        raw_[15] = static_cast<unsigned char>(kInline);
    }
    void release() noexcept {
        if (isHeap()) {
            char* p;
            std::memcpy(&p, raw_, sizeof p);
            delete[] p;
        }
    }
    void assign(std::string_view s) {
        if (s.size() <= kInline) {
            std::memset(raw_, 0, sizeof raw_);
            if (!s.empty()) std::memcpy(raw_, s.data(), s.size());
            raw_[15] = static_cast<unsigned char>(kInline - s.size());
        } else {
            if (s.size() > UINT32_MAX) throw std::length_error("shape value too long");
            char* p = new char[s.size()];
            std::memcpy(p, s.data(), s.size());
            auto n = static_cast<std::uint32_t>(s.size());
            std::memset(raw_, 0, sizeof raw_);
            std::memcpy(raw_, &p, sizeof p);
            std::memcpy(raw_ + 8, &n, sizeof n);
            raw_[15] = kHeapTag;
        }
    }
};

static_assert(sizeof(ShapeText) == 16);

}  // namespace orvane
