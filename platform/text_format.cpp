// Locale-free number text built on std::from_chars / std::to_chars.
#include "platform/text_format.h"

#include <algorithm>
#include <charconv>
#include <climits>
#include <cmath>
#include <cstdarg>
#include <cstdint>
#include <cstdio>

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

bool IsHexDigit(char c)
{
    return IsDigit(c) || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

// Parses digits (already checked) in base into an int when it fits.
bool ParseDigits(const char* first, const char* last, int base, bool negative, int& value)
{
    std::int64_t magnitude = 0;
    const auto [end, error] = std::from_chars(first, last, magnitude, base);
    if (error != std::errc() || end != last)
        return false;
    const std::int64_t signedValue = negative ? -magnitude : magnitude;
    if (signedValue < INT_MIN || signedValue > INT_MAX)
        return false;
    value = static_cast<int>(signedValue);
    return true;
}

// A finite value as decimal digits: value = 0.digits x 10^exponent, without
// trailing zeros; no digits for zero.
struct Decimal {
    bool negative = false;
    std::string digits;
    int exponent = 0;
};

// Rounds to at most `significant` digits and at most `decimals` digits after
// the point. Like the original platform, it first takes 18 significant
// digits and then rounds those half up.
Decimal ToDecimal(double value, int significant, int decimals)
{
    Decimal result;
    char buffer[64];
    const auto conversion = std::to_chars(buffer, buffer + sizeof buffer, std::fabs(value),
                                          std::chars_format::scientific, 17);
    // buffer holds "d.ddddddddddddddddde[+-]x..."
    const std::string text(buffer, conversion.ptr);
    const std::size_t e = text.find('e');
    std::string digits = text.substr(0, 1) + text.substr(2, e - 2);
    int exponent = 0;
    std::from_chars(text.data() + e + (text[e + 1] == '+' ? 2 : 1), text.data() + text.size(), exponent);
    exponent += 1;
    if (digits[0] == '0')
        return result;

    const long long limit = std::min<long long>(significant, static_cast<long long>(exponent) + decimals);
    if (limit < 0)
        return result;
    const std::size_t keep = static_cast<std::size_t>(limit);
    const bool roundUp = keep < digits.size() && digits[keep] >= '5';
    digits.resize(std::min(keep, digits.size()));
    if (roundUp) {
        std::size_t i = digits.size();
        while (i > 0 && digits[i - 1] == '9')
            digits[--i] = '0';
        if (i == 0) {
            digits = "1";
            ++exponent;
        } else {
            ++digits[i - 1];
        }
    }
    while (!digits.empty() && digits.back() == '0')
        digits.pop_back();
    if (digits.empty())
        return result;
    result.negative = value < 0;
    result.digits = digits;
    result.exponent = exponent;
    return result;
}

// The digit at position index of 0.digits (zero outside).
char DigitAt(const Decimal& d, int index)
{
    return index >= 0 && index < static_cast<int>(d.digits.size()) ? d.digits[index] : '0';
}

std::string NonFiniteText(double value)
{
    if (std::isnan(value))
        return "NAN";
    return value < 0 ? "-INF" : "INF";
}

std::string FixedText(double value, int significant, int decimals)
{
    if (!std::isfinite(value))
        return NonFiniteText(value);
    const Decimal d = ToDecimal(value, significant, decimals);
    std::string text = d.negative ? "-" : "";
    if (d.exponent <= 0)
        text += '0';
    for (int i = 0; i < d.exponent; ++i)
        text += DigitAt(d, i);
    if (decimals > 0)
        text += '.';
    for (int i = 0; i < decimals; ++i)
        text += DigitAt(d, d.exponent + i);
    return text;
}

} // namespace

bool TryStrToInt(const std::string& text, int& value)
{
    const char* first = text.data();
    const char* last = first + text.size();
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        if (!std::all_of(first + 2, last, IsHexDigit))
            return false;
        return ParseDigits(first + 2, last, 16, false, value);
    }
    const bool negative = first != last && *first == '-';
    if (first != last && (*first == '-' || *first == '+'))
        ++first;
    if (first == last || !std::all_of(first, last, IsDigit))
        return false;
    return ParseDigits(first, last, 10, negative, value);
}

int StrToIntDef(const std::string& text, int def)
{
    int value = 0;
    return TryStrToInt(text, value) ? value : def;
}

bool TryStrToFloat(const std::string& text, double& value)
{
    const char* first = text.data();
    const char* last = first + text.size();
    const bool negative = first != last && *first == '-';
    if (first != last && (*first == '-' || *first == '+'))
        ++first;
    // from_chars would also take "inf" and "nan".
    if (first == last || !(IsDigit(*first) || *first == '.'))
        return false;
    double magnitude = 0;
    const auto [end, error] = std::from_chars(first, last, magnitude, std::chars_format::general);
    if (error != std::errc() || end != last)
        return false;
    value = negative ? -magnitude : magnitude;
    return true;
}

bool IsNumberOrItsBeginning(const std::string& text)
{
    std::size_t i = 0;
    const auto digits = [&] {
        const std::size_t from = i;
        while (i < text.size() && IsDigit(text[i]))
            ++i;
        return i - from;
    };
    if (i < text.size() && (text[i] == '-' || text[i] == '+'))
        ++i;
    std::size_t mantissa = digits();
    if (i < text.size() && text[i] == '.') {
        ++i;
        mantissa += digits();
    }
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E') && mantissa > 0) {
        ++i;
        if (i < text.size() && (text[i] == '-' || text[i] == '+'))
            ++i;
        digits();
    }
    return i == text.size();
}

std::string FloatToStrGeneral(double value)
{
    if (!std::isfinite(value))
        return NonFiniteText(value);
    const Decimal d = ToDecimal(value, 15, INT_MAX / 2);
    if (d.digits.empty())
        return "0";
    std::string text = d.negative ? "-" : "";
    const int scientificExponent = d.exponent - 1;
    if (scientificExponent < -4 || scientificExponent >= 15) {
        text += d.digits[0];
        if (d.digits.size() > 1)
            text += '.' + d.digits.substr(1);
        return text + 'E' + std::to_string(scientificExponent);
    }
    if (d.exponent <= 0)
        text += "0." + std::string(static_cast<std::size_t>(-d.exponent), '0') + d.digits;
    else {
        for (int i = 0; i < d.exponent; ++i)
            text += DigitAt(d, i);
        if (static_cast<int>(d.digits.size()) > d.exponent)
            text += '.' + d.digits.substr(static_cast<std::size_t>(d.exponent));
    }
    return text;
}

std::string PrintfFixed(double value, int decimals)
{
    // A double has at most 309 digits before the point and a few hundred
    // after, for the decimals anyone asks of it.
    std::string text(512 + static_cast<std::size_t>(std::clamp(decimals, 0, 1000)), '\0');
    const auto [end, error] = std::to_chars(text.data(), text.data() + text.size(), value, std::chars_format::fixed,
                                            std::clamp(decimals, 0, 1000));
    text.resize(error == std::errc() ? static_cast<std::size_t>(end - text.data()) : 0);
    return text;
}

std::string ZoomText(float zoom)
{
    return FixedText(zoom, 4, 5);
}

std::string Format(const char* format, ...)
{
    va_list args;
    va_start(args, format);
    va_list copy;
    va_copy(copy, args);
    const int length = std::vsnprintf(nullptr, 0, format, copy);
    va_end(copy);
    std::string text;
    if (length > 0) {
        text.resize(static_cast<std::size_t>(length));
        std::vsnprintf(text.data(), text.size() + 1, format, args);
    }
    va_end(args);
    return text;
}

std::string Trim(const std::string& text)
{
    const auto blank = [](char c) { return static_cast<unsigned char>(c) <= 0x20; };
    const auto first = std::find_if_not(text.begin(), text.end(), blank);
    const auto last = std::find_if_not(text.rbegin(), std::make_reverse_iterator(first), blank).base();
    return std::string(first, last);
}
