#include "number_text.h"

#include <algorithm>
#include <bit>
#include <cfloat>
#include <cmath>
#include <cstdint>
#include <limits>

// Both conversions are done here with integer arithmetic, on the desktop and
// in the web edition alike, so the tests check the very code the page runs:
// the WebAssembly build's C++ library has no floating-point to_chars or
// from_chars, and printf and strtod follow the locale's decimal point, which
// a Qt application takes from the desktop ("0,1" on a German one).
static_assert(FLT_EVAL_METHOD == 0, "one multiplication or division of doubles must round once");
static_assert(std::numeric_limits<double>::is_iec559, "the conversions are exact for IEEE double precision");

namespace number_text {

namespace {

// An unsigned whole number of up to 4096 bits, enough for every exact value
// below: a double's significand times 10^30 shifted by its binary exponent
// (at most 1124 bits), and a read number's 780 digits over a power of ten up
// to 10^1103, scaled for a 56-bit quotient (at most 3751 bits, and a limb
// more while dividing).
class BigNumber {
public:
    explicit BigNumber(std::uint64_t value)
    {
        // Only the limbs in use are read, so the others are left unset (and
        // a number is never copied, which would read them all).
        m_limbs[0] = static_cast<std::uint32_t>(value);
        m_limbs[1] = static_cast<std::uint32_t>(value >> 32);
        m_size = 2;
        trim();
    }
    BigNumber(const BigNumber&) = delete;
    BigNumber& operator=(const BigNumber&) = delete;

    bool isZero() const { return m_size == 0; }
    int bitLength() const
    {
        return m_size == 0 ? 0 : (m_size - 1) * 32 + static_cast<int>(std::bit_width(m_limbs[m_size - 1]));
    }
    bool bit(int index) const { return index / 32 < m_size && (m_limbs[index / 32] >> index % 32 & 1) != 0; }

    // this × factor + addend
    void multiplyAdd(std::uint32_t factor, std::uint32_t addend)
    {
        std::uint64_t carry = addend;
        for (int i = 0; i < m_size; ++i) {
            const std::uint64_t product = std::uint64_t{m_limbs[i]} * factor + carry;
            m_limbs[i] = static_cast<std::uint32_t>(product);
            carry = product >> 32;
        }
        if (carry != 0)
            m_limbs[m_size++] = static_cast<std::uint32_t>(carry);
    }

    void multiplyByPowerOfTen(int exponent)
    {
        for (; exponent >= 9; exponent -= 9)
            multiplyAdd(1'000'000'000, 0);
        std::uint32_t rest = 1;
        for (; exponent > 0; --exponent)
            rest *= 10;
        multiplyAdd(rest, 0);
    }

    void shiftLeft(int bits)
    {
        if (m_size == 0)
            return;
        const int whole = bits / 32;
        const int part = bits % 32;
        const int size = m_size + whole + 1;
        // From the top down, so every limb is read before it is overwritten.
        for (int i = size - 1; i >= 0; --i) {
            const std::uint32_t low = limb(i - whole - 1);
            m_limbs[i] = part == 0 ? limb(i - whole) : limb(i - whole) << part | low >> (32 - part);
        }
        m_size = size;
        trim();
    }

    void shiftRight(int bits)
    {
        const int whole = bits / 32;
        const int part = bits % 32;
        const int size = std::max(m_size - whole, 0);
        for (int i = 0; i < size; ++i) {
            const std::uint32_t high = limb(i + whole + 1);
            m_limbs[i] = part == 0 ? limb(i + whole) : limb(i + whole) >> part | high << (32 - part);
        }
        m_size = size;
        trim();
    }

    // Divides by `divisor` and gives the remainder.
    std::uint32_t divideBy(std::uint32_t divisor)
    {
        std::uint64_t remainder = 0;
        for (int i = m_size - 1; i >= 0; --i) {
            const std::uint64_t current = remainder << 32 | m_limbs[i];
            m_limbs[i] = static_cast<std::uint32_t>(current / divisor);
            remainder = current % divisor;
        }
        trim();
        return static_cast<std::uint32_t>(remainder);
    }

    // Replaces the number with its remainder by `divisor` and gives the
    // quotient, which must be below 2^64; the divisor's top limb must have
    // its highest bit set. Knuth's algorithm D: each limb of the quotient is
    // guessed from the top limbs, at most two too large, and corrected.
    std::uint64_t quotientBy(const BigNumber& divisor)
    {
        const int n = divisor.m_size;
        const std::uint32_t* v = divisor.m_limbs;
        std::uint32_t* u = m_limbs;
        u[m_size] = 0;
        std::uint64_t quotient = 0;
        for (int j = m_size - n; j >= 0; --j) {
            const std::uint64_t top = std::uint64_t{u[j + n]} << 32 | u[j + n - 1];
            std::uint64_t guess = top / v[n - 1];
            std::uint64_t rest = top % v[n - 1];
            while (guess >> 32 != 0 || (n > 1 && guess * v[n - 2] > (rest << 32 | u[j + n - 2]))) {
                --guess;
                rest += v[n - 1];
                if (rest >> 32 != 0)
                    break;
            }
            // u -= guess × v × 2^(32 j)
            std::uint64_t carry = 0;
            std::int64_t borrow = 0;
            for (int i = 0; i < n; ++i) {
                const std::uint64_t product = guess * v[i] + carry;
                carry = product >> 32;
                const std::int64_t difference = std::int64_t{u[i + j]} - static_cast<std::uint32_t>(product) + borrow;
                u[i + j] = static_cast<std::uint32_t>(difference);
                borrow = difference >> 32;
            }
            const std::int64_t highest = std::int64_t{u[j + n]} - static_cast<std::int64_t>(carry) + borrow;
            u[j + n] = static_cast<std::uint32_t>(highest);
            if (highest < 0) { // one too large after all: add the divisor back
                --guess;
                std::uint64_t sum = 0;
                for (int i = 0; i < n; ++i) {
                    sum = std::uint64_t{u[i + j]} + v[i] + (sum >> 32);
                    u[i + j] = static_cast<std::uint32_t>(sum);
                }
                u[j + n] += static_cast<std::uint32_t>(sum >> 32);
            }
            quotient = quotient << 32 | guess;
        }
        trim();
        return quotient;
    }

private:
    std::uint32_t limb(int index) const { return index >= 0 && index < m_size ? m_limbs[index] : 0; }

    void trim()
    {
        while (m_size > 0 && m_limbs[m_size - 1] == 0)
            --m_size;
    }

    std::uint32_t m_limbs[128]; // the lowest first; only m_size of them are set
    int m_size = 0; // limbs in use, the top one non-zero
};


// The decimal digits of magnitude × 10^decimals, rounded half away from
// zero to a whole number.
std::string roundedDigits(double magnitude, int decimals)
{
    int exponent = 0;
    const double fraction = std::frexp(magnitude, &exponent);
    // magnitude = significand × 2^exponent, exactly, with a 53-bit significand.
    BigNumber number(static_cast<std::uint64_t>(std::ldexp(fraction, 53)));
    exponent -= 53;
    number.multiplyByPowerOfTen(decimals);
    if (exponent >= 0) {
        number.shiftLeft(exponent);
    } else {
        // The bits shifted out are at least half of one when the highest of them is set.
        const bool roundUp = number.bit(-exponent - 1);
        number.shiftRight(-exponent);
        if (roundUp)
            number.multiplyAdd(1, 1);
    }

    std::string digits;
    do {
        std::uint32_t chunk = number.divideBy(1'000'000'000);
        for (int i = 0; i < 9; ++i, chunk /= 10)
            digits += static_cast<char>('0' + chunk % 10);
    } while (!number.isZero());
    const std::size_t leading = digits.find_last_not_of('0');
    digits.erase(leading == std::string::npos ? 1 : leading + 1);
    std::reverse(digits.begin(), digits.end());
    return digits;
}

} // namespace

std::string formatReadout(float value)
{
    const double magnitude = std::fabs(static_cast<double>(value));
    // From 2^24 on every float is a whole number; that and NaN and the
    // infinities take the general path.
    if (!(magnitude < 16777216.0))
        return formatFixed(static_cast<double>(value), 3);

    // A float has a 24-bit significand, so magnitude × 1000 needs at most
    // 34 bits and is exact in a double, and so is its fractional part:
    // the half-way test below sees the float's true value.
    const double thousandths = magnitude * 1000.0;
    const double whole = std::floor(thousandths);
    auto n = static_cast<std::uint64_t>(whole);
    if (thousandths - whole >= 0.5)
        ++n;
    std::string text = std::to_string(n / 1000);
    const auto frac = static_cast<unsigned>(n % 1000);
    text += '.';
    text += static_cast<char>('0' + frac / 100);
    text += static_cast<char>('0' + frac / 10 % 10);
    text += static_cast<char>('0' + frac % 10);
    if (n != 0 && std::signbit(value))
        text.insert(text.begin(), '-');
    return text;
}

std::string formatFixed(double value, int decimals)
{
    if (std::isnan(value))
        return "NaN";
    if (std::isinf(value))
        return value < 0 ? "-Infinity" : "Infinity";
    decimals = std::clamp(decimals, 0, maxFixedDecimals);
    std::string text = roundedDigits(std::fabs(value), decimals);
    const bool roundsToZero = text == "0";
    const auto width = static_cast<std::size_t>(decimals) + 1;
    if (text.size() < width)
        text.insert(0, width - text.size(), '0');
    if (decimals > 0)
        text.insert(text.size() - static_cast<std::size_t>(decimals), 1, '.');
    if (std::signbit(value) && !roundsToZero)
        text.insert(text.begin(), '-');
    return text;
}

namespace {

// Reads one character at `pos` and gives its ASCII meaning: full-width
// forms map to their ASCII twins, anything else outside ASCII to '\0'
// (which continues no number). `length` is the bytes the character takes.
char asciiAt(std::string_view s, std::size_t pos, std::size_t& length)
{
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(s[pos + i]); };
    const unsigned char b0 = byte(0);
    length = 1;
    if (b0 < 0x80)
        return static_cast<char>(b0);
    if (b0 == 0xE3 && pos + 2 < s.size() && byte(1) == 0x80 && byte(2) == 0x80) {
        length = 3; // U+3000 ideographic space
        return ' ';
    }
    if (b0 == 0xEF && pos + 2 < s.size()) {
        const unsigned char b1 = byte(1);
        const unsigned char b2 = byte(2);
        length = 3;
        if (b1 == 0xBC) { // U+FF00..U+FF3F
            if (b2 >= 0x90 && b2 <= 0x99)
                return static_cast<char>('0' + (b2 - 0x90));
            switch (b2) {
            case 0x8B: return '+';
            case 0x8D: return '-';
            case 0x8E: return '.';
            case 0xA5: return 'E';
            default: break;
            }
        } else if (b1 == 0xBD && b2 == 0x85) { // U+FF45
            return 'e';
        }
    }
    // Any other character ends the number, so its length never matters.
    length = 1;
    return '\0';
}

bool isDigit(char c) { return c >= '0' && c <= '9'; }

// A number as typed: its significant digits and the power of ten of the last.
struct DecimalNumber {
    // A double and the point half way to the next one differ within their
    // first 767 significant digits, so the digits after these only tell
    // whether the number lies above what these digits say.
    static constexpr int maxDigits = 780;
    char digits[maxDigits]; // '0'..'9', the first not '0'; only `count` are set
    int count = 0;
    bool moreDigits = false; // a digit other than 0 after the first maxDigits
    long long exponent = 0; // the number is digits × 10^exponent
};

// Each power of ten up to 10^22 is a double exactly.
constexpr double exactPowersOfTen[] = {1e0, 1e1, 1e2, 1e3, 1e4, 1e5, 1e6, 1e7, 1e8, 1e9, 1e10, 1e11, 1e12, 1e13, 1e14,
    1e15, 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};

// The double nearest to the number, the even one of two equally near, as
// from_chars gives it; infinity beyond the largest double.
double nearestDouble(const DecimalNumber& number)
{
    if (number.count == 0)
        return 0.0;
    // The number lies in [10^(order - 1), 10^order).
    const long long order = number.count + number.exponent;
    if (order > 309)
        return std::numeric_limits<double>::infinity();
    if (order < -323) // below 10^-324, less than half the smallest double
        return 0.0;

    if (number.count <= 19 && !number.moreDigits && number.exponent >= -22 && number.exponent <= 22) {
        std::uint64_t whole = 0;
        for (int i = 0; i < number.count; ++i)
            whole = whole * 10 + static_cast<unsigned>(number.digits[i] - '0');
        // Both operands are exact, so the one rounding of the product or
        // quotient is the only one.
        if (whole <= std::uint64_t{1} << 53) {
            const auto w = static_cast<double>(whole);
            return number.exponent < 0 ? w / exactPowersOfTen[-number.exponent] : w * exactPowersOfTen[number.exponent];
        }
    }

    // Otherwise exactly: numerator / denominator is the number, scaled by
    // 2^shift so that its whole part has 55 or 56 bits.
    BigNumber numerator(0);
    BigNumber denominator(1);
    for (int i = 0; i < number.count;) { // nine digits at a time
        std::uint32_t chunk = 0;
        std::uint32_t scale = 1;
        for (const int end = std::min(i + 9, number.count); i < end; ++i, scale *= 10)
            chunk = chunk * 10 + static_cast<std::uint32_t>(number.digits[i] - '0');
        numerator.multiplyAdd(scale, chunk);
    }
    if (number.exponent >= 0)
        numerator.multiplyByPowerOfTen(static_cast<int>(number.exponent));
    else
        denominator.multiplyByPowerOfTen(static_cast<int>(-number.exponent));
    const int shift = 55 - (numerator.bitLength() - denominator.bitLength());
    // Both shifted on until the denominator's top limb has its highest bit
    // set, as the division needs; the quotient stays the same.
    const int spare = (32 - (denominator.bitLength() + std::max(-shift, 0)) % 32) % 32;
    numerator.shiftLeft(std::max(shift, 0) + spare);
    denominator.shiftLeft(std::max(-shift, 0) + spare);
    const std::uint64_t quotient = numerator.quotientBy(denominator);
    const bool aboveQuotient = !numerator.isZero() || number.moreDigits;

    // The number is quotient × 2^-shift plus less than one such unit. A
    // double keeps 53 bits of it, fewer below 2^-1022, where its last bit
    // is worth 2^-1074.
    const int leadingBit = static_cast<int>(std::bit_width(quotient)) - 1 - shift;
    const int lastBit = std::max(leadingBit - 52, -1074);
    const int dropped = lastBit + shift;
    if (dropped > 56) // less than half of 2^-1074
        return 0.0;
    std::uint64_t kept = quotient >> dropped;
    const std::uint64_t rest = quotient & ((std::uint64_t{1} << dropped) - 1);
    const std::uint64_t half = std::uint64_t{1} << (dropped - 1);
    if (rest > half || (rest == half && (aboveQuotient || (kept & 1) != 0)))
        ++kept;
    // Exact, or infinity where the rounding reaches 2^1024.
    return std::ldexp(static_cast<double>(kept), lastBit);
}

// The number `utf8` begins with, and in `end` the byte just past it; `end`
// stays 0 where the text begins with no number.
double readNumber(std::string_view utf8, std::size_t& end)
{
    std::size_t pos = 0;
    std::size_t len = 0;
    const auto peek = [&]() -> char { return pos < utf8.size() ? asciiAt(utf8, pos, len) : '\0'; };

    while (true) {
        const char c = peek();
        if (c != ' ' && c != '\t')
            break;
        pos += len;
    }

    bool negative = false;
    if (const char c = peek(); c == '+' || c == '-') {
        negative = c == '-';
        pos += len;
    }

    DecimalNumber number;
    bool seenDigit = false;
    bool seenPoint = false;
    for (char c = peek(); isDigit(c) || (c == '.' && !seenPoint); c = peek()) {
        pos += len;
        if (c == '.') {
            seenPoint = true;
            continue;
        }
        seenDigit = true;
        if (c == '0' && number.count == 0) {
            if (seenPoint)
                --number.exponent;
        } else if (number.count < DecimalNumber::maxDigits) {
            number.digits[number.count++] = c;
            if (seenPoint)
                --number.exponent;
        } else {
            number.moreDigits = number.moreDigits || c != '0';
            if (!seenPoint)
                ++number.exponent;
        }
    }
    if (!seenDigit)
        return 0.0;
    end = pos;

    if (const char e = peek(); e == 'e' || e == 'E') {
        std::size_t probe = pos + len;
        std::size_t l = 0;
        bool negativeExponent = false;
        if (probe < utf8.size()) {
            if (const char sign = asciiAt(utf8, probe, l); sign == '+' || sign == '-') {
                negativeExponent = sign == '-';
                probe += l;
            }
        }
        long long exponent = 0;
        bool expDigit = false;
        while (probe < utf8.size()) {
            const char d = asciiAt(utf8, probe, l);
            if (!isDigit(d))
                break;
            // Beyond a billion every number is zero or infinity anyway.
            exponent = std::min(exponent * 10 + (d - '0'), 1'000'000'000LL);
            expDigit = true;
            probe += l;
        }
        if (expDigit) {
            number.exponent += negativeExponent ? -exponent : exponent;
            end = probe;
        }
    }

    const double value = nearestDouble(number);
    return negative ? -value : value;
}

} // namespace

double textToNumber(std::string_view utf8)
{
    std::size_t end = 0;
    return readNumber(utf8, end);
}

bool isWholeNumber(std::string_view utf8)
{
    std::size_t end = 0;
    readNumber(utf8, end);
    if (end == 0)
        return false;
    std::size_t length = 0;
    for (; end < utf8.size(); end += length)
        if (const char c = asciiAt(utf8, end, length); c != ' ' && c != '\t')
            return false;
    return true;
}

std::optional<std::uint64_t> textToCount(std::string_view utf8)
{
    constexpr std::uint64_t most = std::numeric_limits<std::uint64_t>::max();
    std::uint64_t n = 0;
    std::size_t length = 0;
    for (std::size_t pos = 0; pos < utf8.size(); pos += length) {
        const char c = asciiAt(utf8, pos, length);
        if (!isDigit(c))
            return std::nullopt;
        const auto digit = static_cast<std::uint64_t>(c - '0');
        if (n > (most - digit) / 10)
            return std::nullopt;
        n = n * 10 + digit;
    }
    if (utf8.empty())
        return std::nullopt;
    return n;
}

float textToFloat(std::string_view utf8) { return static_cast<float>(textToNumber(utf8)); }

} // namespace number_text
