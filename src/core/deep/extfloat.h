// A float with a wide exponent: a double mantissa and a 64-bit power of two, for widths and
// pixel offsets far below the smallest double.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace velq {

class ExtFloat {
public:
    ExtFloat() = default;
    ExtFloat(double value); // NOLINT: every double is one
    // m * 2^e, normalised.
    static ExtFloat of(double m, std::int64_t e);

    // 0, or |mantissa| in [1, 2); the value is mantissa * 2^exponent.
    double mantissa() const { return m_; }
    std::int64_t exponent() const { return e_; }
    // The nearest double: 0 below the smallest, infinite above the largest.
    double toDouble() const;
    bool isZero() const { return m_ == 0; }
    bool isFinite() const;

    // Decimal text as "<mantissa>e<exponent>" or any strtod form, of any exponent.
    static std::optional<ExtFloat> parse(std::string_view text);
    // "<mantissa>e<exponent>" with `digits` significant digits, or with 0 the fewest that read
    // back as the same number: "3.3e-300".
    std::string text(int digits = 0) const;

    friend ExtFloat operator*(ExtFloat a, ExtFloat b);
    friend ExtFloat operator/(ExtFloat a, ExtFloat b);
    friend ExtFloat operator+(ExtFloat a, ExtFloat b);
    friend ExtFloat operator-(ExtFloat a) { return of(-a.m_, a.e_); }
    friend ExtFloat abs(ExtFloat a) { return a.m_ < 0 ? -a : a; }
    friend ExtFloat operator-(ExtFloat a, ExtFloat b) { return a + -b; }
    friend bool operator==(const ExtFloat& a, const ExtFloat& b) = default;
    friend bool operator<(ExtFloat a, ExtFloat b);

private:
    double m_ = 0;
    std::int64_t e_ = 0;
};

} // namespace velq
