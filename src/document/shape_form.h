#pragma once
// The forms a shape file comes in, as the reader tells them apart.

#include <string_view>

namespace orvane {

enum class ShapeForm {
    Unknown,     // none of the forms below: not a shape file
    Text,        // UTF-16 text
    Text8Bit,    // 8-bit text (bytes above 127 taken as Windows-1252)
    Compressed,  // "SIMISA@F": a zlib stream holding binary tokens (or text)
    Binary,      // "SIMISA@@@@@@@@@@" and binary tokens, uncompressed
};

// The form's name in summaries: "text", "text-8bit", "compressed", "binary";
// empty for Unknown.
constexpr std::string_view formName(ShapeForm form) {
    switch (form) {
        case ShapeForm::Text: return "text";
        case ShapeForm::Text8Bit: return "text-8bit";
        case ShapeForm::Compressed: return "compressed";
        case ShapeForm::Binary: return "binary";
        case ShapeForm::Unknown: break;
    }
    return {};
}

}  // namespace orvane
