#pragma once
// A compact text value for the shape tree. A shape holds millions of short
// values (indices, coordinates), so a value takes 12 bytes: up to 11 bytes
// (every index and nearly every number) are stored inline, longer texts live
// on the heap. The text is UTF-8 (lone UTF-16 surrogates from a file are kept
// as their 3-byte forms so that every value writes back exactly as it was
// read).

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
            const char* p = heapBlock();
            std::uint32_t n;
            std::memcpy(&n, p, sizeof n);
            return {p + sizeof n, n};
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
    static constexpr std::size_t kInline = 11;
    static constexpr std::size_t kTagByte = 11;
    static constexpr unsigned char kHeapTag = 0xFF;

    // Inline: bytes 0..10 hold the text, byte 11 holds (11 - size).
    // Heap: bytes 0..7 point to a block of the size (4 bytes) and the text,
    // byte 11 holds the tag 0xFF.
    unsigned char raw_[12];

    bool isHeap() const noexcept { return raw_[kTagByte] == kHeapTag; }
    std::size_t inlineSize() const noexcept { return kInline - raw_[kTagByte]; }
    char* heapBlock() const noexcept {
        char* p;
        std::memcpy(&p, raw_, sizeof p);
        return p;
    }
    void clearInline() noexcept {
        std::memset(raw_, 0, sizeof raw_);
        raw_[kTagByte] = static_cast<unsigned char>(kInline);
    }
    void release() noexcept {
        if (isHeap()) delete[] heapBlock();
    }
    void assign(std::string_view s) {
        std::memset(raw_, 0, sizeof raw_);
        if (s.size() <= kInline) {
            if (!s.empty()) std::memcpy(raw_, s.data(), s.size());
            raw_[kTagByte] = static_cast<unsigned char>(kInline - s.size());
        } else {
            const auto n = static_cast<std::uint32_t>(s.size());
            if (s.size() > UINT32_MAX - sizeof n) throw std::length_error("shape value too long");
            char* p = new char[sizeof n + s.size()];
            std::memcpy(p, &n, sizeof n);
            std::memcpy(p + sizeof n, s.data(), s.size());
            std::memcpy(raw_, &p, sizeof p);
            raw_[kTagByte] = kHeapTag;
        }
    }
};

static_assert(sizeof(ShapeText) == 12);

}  // namespace orvane
