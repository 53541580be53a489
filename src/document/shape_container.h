#pragma once
// The forms of a shape file and what the reader reads of each. UTF-16 text
// is read as it stands (by the text source); 8-bit text becomes UTF-16
// text; compressed data is inflated a piece at a time, and binary tokens
// are handed on as they are read (see binary_shape_text.h), so neither the
// file nor its inflated data is ever held whole.

#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "document/binary_shape_text.h"
#include "document/shape_form.h"

struct z_stream_s;

namespace orvane {

// Bytes of the file's start that tell its form.
inline constexpr std::size_t kFormBytes = 24;

// The form the first bytes show. Text for anything the UTF-16 reader is to
// decide on (it may still turn out not to be a shape).
ShapeForm formOfFile(std::string_view firstBytes);

// Most bytes a compressed shape may inflate to, and a binary or 8-bit shape
// may have.
inline constexpr std::uint64_t kMostShapeBytes = std::uint64_t{2} << 30;

// A compressed shape's data, inflated as it is read. Each check is made
// when its data is reached; every failure throws DamagedShape with the
// reason and the byte.
class ShapeInflater {
public:
    // Reads and checks the header from `file`, the whole file of
    // `fileBytes` bytes from its start.
    ShapeInflater(ReadBytes file, std::uint64_t fileBytes);
    ~ShapeInflater();
    ShapeInflater(const ShapeInflater&) = delete;
    ShapeInflater& operator=(const ShapeInflater&) = delete;

    // The size the header declares.
    std::uint64_t declared() const { return declared_; }
    // Inflates the next bytes into `to`, filling all `room` unless the
    // declared size is reached first; returns how many.
    std::size_t read(unsigned char* to, std::size_t room);
    // Inflates what is left and checks how the data ends: the stream's
    // end, nothing after it, the declared size. Does nothing once a check
    // has failed.
    void finish();

private:
    std::size_t inflateInto(unsigned char* to, std::size_t room);
    void checkEnd();
    [[noreturn]] void fail(const std::string& reason);

    ReadBytes file_;
    std::uint64_t fileBytes_;
    std::uint64_t declared_ = 0;
    std::uint64_t inputLeft_ = 0;  // compressed bytes not yet read from the file
    std::uint64_t produced_ = 0;
    std::vector<unsigned char> input_;
    std::unique_ptr<z_stream_s> z_;
    bool started_ = false;
    bool ended_ = false;
    bool failed_ = false;
};

// What a file of a non-UTF-16 form holds: shape text (its header line
// first), or binary tokens to be decoded as they are read.
class ShapeContent {
public:
    // Reads up to the tokens, or the whole text, from `file` (the whole
    // file from its start). `reserved` is called once the room for a whole
    // text is taken and before it is written. Throws DamagedShape.
    ShapeContent(ShapeForm form, ReadBytes file, std::uint64_t fileBytes, const std::function<void()>& reserved = {});
    ShapeContent(const ShapeContent&) = delete;
    ShapeContent& operator=(const ShapeContent&) = delete;

    bool isTokens() const { return isTokens_; }
    std::u16string takeText() { return std::move(text_); }

    // The tokens: how many bytes, their position for messages, what is
    // added to each position a message names, and reading them.
    std::uint64_t tokenBytes() const { return tokenBytes_; }
    std::uint64_t firstByte() const { return firstByte_; }
    std::string_view where() const { return where_; }
    const ReadBytes& tokens() const { return tokens_; }
    // Checks what follows the tokens. Call it when the tokens have been
    // read, and also when decoding them failed: a fault of the compressed
    // data is the one to report. Throws DamagedShape.
    void finish();

private:
    void subHeader(const ReadBytes& data, std::uint64_t dataBytes, std::uint64_t firstByte, std::string_view where,
                   const std::function<void()>& reserved);

    ReadBytes file_;
    std::unique_ptr<ShapeInflater> inflater_;  // for a compressed file
    ReadBytes tokens_;
    std::u16string text_;
    bool isTokens_ = false;
    std::uint64_t tokenBytes_ = 0;
    std::uint64_t firstByte_ = 0;
    std::string_view where_;
};

// The inflated data of a compressed shape, checked against the size its
// header declares. Throws DamagedShape.
std::vector<unsigned char> inflateShape(std::span<const unsigned char> file);

// The size a compressed shape's header declares (0 when it has no header).
std::uint64_t declaredInflatedSize(std::string_view firstBytes);

}  // namespace orvane
