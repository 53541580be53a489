#pragma once
// The shape file as the reader sees it: the header line, then the body as
// the text T (an added space at position 1, body unit k at position k + 1),
// held in a sliding window of UTF-16 code units. Only the window is in
// memory, so reading a large file touches little fresh memory; the window
// keeps whatever the parser still needs (a word or quoted value that spans
// a refill) and grows only for items longer than itself.

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <string>
#include <system_error>
#include <vector>

namespace orvane::detail {

// Raised inside the reader for a file it cannot read; the reader turns it
// into an empty root. `found` says what was found instead of shape text,
// for the message ("empty file", ...); empty when there is nothing to add.
struct UnreadableShape {
    std::string found;
};

class ShapeTextSource {
public:
    // Opens the file; returns why it could not be opened (nothing at path,
    // a folder, access denied, ...), empty when it was. Throws
    // UnreadableShape for something else that is no regular file.
    std::error_code open(const std::filesystem::path& path);

    // The first n bytes of the file (fewer when it is shorter); reading
    // starts from the beginning all the same.
    std::string firstBytes(std::size_t n);
    std::uint64_t fileBytes() const { return fileBytes_; }
    // The file's bytes in order from its start, for the forms that are not
    // UTF-16 text: up to `room` of them to `to`; returns how many (0 at the
    // end). Throws UnreadableShape when the file ends early.
    std::size_t readBytes(unsigned char* to, std::size_t room);
    // Reads `text` (UTF-16 units) in place of the file's own bytes.
    void useText(std::u16string text);

    // Reads line 1 (after an optional byte-order mark) up to a line feed,
    // dropping a carriage return before it. Throws UnreadableShape when the
    // file holds no text at all.
    std::string readHeaderLine();

    // Makes the rest of the file the text T. Throws UnreadableShape for a
    // file of an odd number of bytes.
    void startBody();

    // L: the length of T; positions run from 1 to L.
    std::uint64_t length() const { return length_; }

    // The window: T[p] is data()[p - base()] for base() <= p < end().
    const char16_t* data() const { return buf_.get() + offset_; }
    std::uint64_t base() const { return base_; }
    std::uint64_t end() const { return base_ + count_; }

    // Makes every position up to `need` (at most L) available, dropping
    // positions before keepFrom. Throws UnreadableShape when the file ends
    // early (it shrank while being read).
    void fill(std::uint64_t keepFrom, std::uint64_t need);

    // The line (1-based, the header line being line 1) on which position p
    // of T stands. Reads the file again from its start up to p, so it is
    // meant for messages only.
    std::uint64_t lineOf(std::uint64_t p);

private:
    std::size_t readUnits(char16_t* to, std::size_t maxUnits);
    void reserve(std::size_t units);

    std::ifstream file_;
    std::uint64_t fileBytes_ = 0;
    std::uint64_t bytesLeft_ = 0;
    std::u16string text_;  // with useText: the units to read, from textPos_
    std::size_t textPos_ = 0;
    bool fromText_ = false;
    std::unique_ptr<char16_t[]> buf_;
    std::size_t capacity_ = 0;
    std::size_t offset_ = 0;  // index in buf_ of the window's first unit
    std::size_t count_ = 0;   // units in the window
    std::uint64_t base_ = 0;  // position of the window's first unit
    std::uint64_t length_ = 0;
    // Unit number (from the file's first unit, a byte-order mark included)
    // of the header's line feed, which T holds as its position 1.
    std::uint64_t headerEndUnit_ = 0;
};

}  // namespace orvane::detail
