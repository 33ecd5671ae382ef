// A real number at a chosen precision: MPFR behind a value type.
#pragma once

#include <mpfr.h>
#include <optional>
#include <string>
#include <string_view>

namespace velq {

class ExtFloat;

class Real {
public:
    // Zero, with `bits` of mantissa (at least MPFR's minimum).
    explicit Real(long bits = 64);
    Real(double value, long bits);
    Real(const ExtFloat& value, long bits);
    Real(const Real& other);
    Real(Real&& other) noexcept;
    Real& operator=(const Real& other);
    Real& operator=(Real&& other) noexcept;
    ~Real();

    // Decimal text in any of strtod's forms, with any number of digits: nothing when the
    // whole text is not one finite number.
    static std::optional<Real> parse(std::string_view text, long bits);

    long bits() const { return static_cast<long>(mpfr_get_prec(value_)); }
    // The same number rounded to `bits`.
    Real withBits(long bits) const;
    double toDouble() const;
    // Fixed-point decimal text with `decimals` digits after the point ("-0.7436438870").
    std::string fixed(int decimals) const;

    Real& operator+=(const Real& other);
    Real& operator-=(const Real& other);
    Real& operator*=(const Real& other);
    Real& operator+=(const ExtFloat& other);
    friend Real operator+(Real a, const Real& b) { return a += b; }
    friend Real operator-(Real a, const Real& b) { return a -= b; }
    friend Real operator*(Real a, const Real& b) { return a *= b; }
    friend Real operator+(Real a, const ExtFloat& b) { return a += b; }
    friend bool operator==(const Real& a, const Real& b) {
        return mpfr_equal_p(a.value_, b.value_);
    }
    friend bool operator<(const Real& a, const Real& b) { return mpfr_less_p(a.value_, b.value_); }

    mpfr_srcptr get() const { return value_; }
    mpfr_ptr get() { return value_; }

private:
    mpfr_t value_;
};

// `r` rounded to a double's digits with a wide exponent.
ExtFloat extOf(const Real& r);

} // namespace velq
