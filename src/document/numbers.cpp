#include "document/numbers.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <limits>

namespace orvane {

namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }

// The pieces of numeric text.
struct DecimalParts {
    bool negative = false;
    std::string_view intDigits;
    std::string_view fracDigits;
    std::int64_t exponent = 0;  // saturated to +-1e12
};

std::optional<DecimalParts> splitNumeric(std::string_view t) {
    DecimalParts parts;
    std::size_t i = 0;
    if (i < t.size() && (t[i] == '+' || t[i] == '-')) parts.negative = t[i++] == '-';
    std::size_t start = i;
    while (i < t.size() && isDigit(t[i])) ++i;
    parts.intDigits = t.substr(start, i - start);
    if (i < t.size() && t[i] == '.') {
        start = ++i;
        while (i < t.size() && isDigit(t[i])) ++i;
        parts.fracDigits = t.substr(start, i - start);
    }
    if (parts.intDigits.empty() && parts.fracDigits.empty()) return std::nullopt;
    if (i < t.size() && (t[i] == 'e' || t[i] == 'E')) {
        ++i;
        bool negExp = false;
        if (i < t.size() && (t[i] == '+' || t[i] == '-')) negExp = t[i++] == '-';
        start = i;
        std::int64_t e = 0;
        while (i < t.size() && isDigit(t[i])) {
            if (e < 1000000000000LL) e = e * 10 + (t[i] - '0');
            ++i;
        }
        if (i == start) return std::nullopt;
        parts.exponent = negExp ? -e : e;
    }
    if (i != t.size()) return std::nullopt;
    return parts;
}

}  // namespace

bool isNumericText(std::string_view text) { return splitNumeric(text).has_value(); }

std::optional<std::int32_t> toWholeNumber(std::string_view text) {
    // Fast path for the common case: a plain integer of up to 9 digits.
    if (!text.empty() && text.size() <= 10) {
        std::size_t i = (text[0] == '-' || text[0] == '+') ? 1 : 0;
        if (i < text.size() && text.size() - i <= 9) {
            std::int32_t v = 0;
            std::size_t j = i;
            while (j < text.size() && isDigit(text[j])) v = v * 10 + (text[j++] - '0');
            if (j == text.size()) return text[0] == '-' ? -v : v;
        }
    }
    auto parts = splitNumeric(text);
    if (!parts) return std::nullopt;
    // All significant digits, and the power of ten of the last one.
    std::string digits;
    digits.reserve(parts->intDigits.size() + parts->fracDigits.size());
    digits.append(parts->intDigits).append(parts->fracDigits);
    std::int64_t scale = parts->exponent - static_cast<std::int64_t>(parts->fracDigits.size());
    std::size_t lead = digits.find_first_not_of('0');
    if (lead == std::string::npos) return 0;
    digits.erase(0, lead);
    // Whole part: digits before the point; then the first dropped digit and
    // whether anything after it is not zero.
    std::string whole;
    int firstDropped = 0;
    bool restNonZero = false;
    const auto len = static_cast<std::int64_t>(digits.size());
    if (scale >= 0) {
        if (len + scale > 10) return std::nullopt;
        whole = digits + std::string(static_cast<std::size_t>(scale), '0');
    } else {
        std::int64_t keep = len + scale;  // digits that stay before the point
        if (keep > 10) return std::nullopt;
        if (keep >= 0) {
            whole = digits.substr(0, static_cast<std::size_t>(keep));
            std::string_view dropped(digits.data() + keep, static_cast<std::size_t>(len - keep));
            firstDropped = dropped[0] - '0';
            restNonZero = dropped.substr(1).find_first_not_of('0') != std::string_view::npos;
        } else {
            // Every digit lies below the first decimal place: less than 0.1.
            firstDropped = 0;
            restNonZero = true;
        }
    }
    std::int64_t value = 0;
    for (char c : whole) value = value * 10 + (c - '0');
    if (firstDropped > 5 || (firstDropped == 5 && (restNonZero || (value % 2) != 0))) ++value;
    if (parts->negative) value = -value;
    if (value < std::numeric_limits<std::int32_t>::min() || value > std::numeric_limits<std::int32_t>::max())
        return std::nullopt;
    return static_cast<std::int32_t>(value);
}

std::optional<float> toSingle(std::string_view text) {
    auto parts = splitNumeric(text);
    if (!parts) return std::nullopt;
    std::string_view body = text;
    if (!body.empty() && body[0] == '+') body.remove_prefix(1);
    float value = 0;
    auto [ptr, ec] = std::from_chars(body.data(), body.data() + body.size(), value);
    if (ec == std::errc::result_out_of_range) {
        // Underflow reads as zero; overflow is not a usable coordinate.
        double wide = std::strtod(std::string(body).c_str(), nullptr);
        if (std::isinf(wide) || std::fabs(wide) > std::numeric_limits<float>::max()) return std::nullopt;
        return parts->negative ? -0.0f : 0.0f;
    }
    if (ec != std::errc() || ptr != body.data() + body.size()) return std::nullopt;
    if (std::isinf(value)) return std::nullopt;
    return value;
}

std::string formatSingle(float value) {
    if (value == 0.0f) return "0";
    if (std::isnan(value)) return "NaN";
    if (std::isinf(value)) return value > 0 ? "Infinity" : "-Infinity";
    char buf[64];
    // glibc prints the exact binary value rounded half to even.
    std::snprintf(buf, sizeof buf, "%.6e", static_cast<double>(value));
    std::string_view s(buf);
    bool negative = s[0] == '-';
    if (negative) s.remove_prefix(1);
    std::string mantissa;  // 7 digits
    mantissa += s[0];
    mantissa.append(s.substr(2, 6));
    int exponent = std::atoi(buf + (s.data() - buf) + 9);
    while (mantissa.size() > 1 && mantissa.back() == '0') mantissa.pop_back();
    std::string out = negative ? "-" : "";
    if (exponent >= -5 && exponent < 7) {
        if (exponent < 0) {
            out += "0.";
            out.append(static_cast<std::size_t>(-exponent - 1), '0');
            out += mantissa;
        } else {
            auto intLen = static_cast<std::size_t>(exponent + 1);
            if (mantissa.size() <= intLen) {
                out += mantissa;
                out.append(intLen - mantissa.size(), '0');
            } else {
                out.append(mantissa, 0, intLen);
                out += '.';
                out.append(mantissa, intLen, std::string::npos);
            }
        }
    } else {
        out += mantissa[0];
        if (mantissa.size() > 1) {
            out += '.';
            out.append(mantissa, 1, std::string::npos);
        }
        out += 'E';
        out += exponent < 0 ? '-' : '+';
        int mag = exponent < 0 ? -exponent : exponent;
        if (mag < 10) out += '0';
        out += std::to_string(mag);
    }
    return out;
}

std::string formatRounded(double value, int decimals) {
    if (!std::isfinite(value)) return formatSingle(static_cast<float>(value));
    char buf[400];
    std::snprintf(buf, sizeof buf, "%.*f", decimals, value);
    auto single = toSingle(buf);
    return formatSingle(single ? *single : static_cast<float>(value));
}

std::string wholeText(std::int64_t value) { return std::to_string(value); }

}  // namespace orvane
