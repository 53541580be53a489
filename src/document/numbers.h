#pragma once
// Number forms: how the program reads numbers from shape values and how it
// shows numbers as text. Values stay text in the tree; these convert them
// only where something is computed.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace orvane {

// An optionally signed decimal integer or fraction (digits with at most one
// ".", at least one digit) with an optional exponent ("e"/"E", optional
// sign, one or more digits). Nothing else: no blanks, no hexadecimal.
bool isNumericText(std::string_view text);

// A whole number: numeric text, a fraction rounded to the nearest whole
// number with halves to even (decided exactly from the decimal text), the
// result within the 32-bit signed range. Anything else gives none.
std::optional<std::int32_t> toWholeNumber(std::string_view text);

// A single-precision number, correctly rounded from numeric text; none for
// text that is not numeric or overflows single precision.
std::optional<float> toSingle(std::string_view text);

// Single precision as text: at most 7 significant digits (rounded half to
// even from the exact binary value), no trailing zeros or point, "0" before
// the point, "-" for negatives, "0" for zero (also -0). Plain decimal when
// 0.00001 <= |x| < 10000000 after rounding, else exponent form such as
// "6.25E-06" or "1.5E+08".
std::string formatSingle(float value);

// value rounded to `decimals` places (halves to even, from the exact binary
// value), taken as single precision and shown by formatSingle.
std::string formatRounded(double value, int decimals);

// Plain decimal text of a whole number.
std::string wholeText(std::int64_t value);

}  // namespace orvane
