// MPFR numbers with value semantics.
#include "core/deep/real.h"

#include "core/deep/extfloat.h"

#include <algorithm>
#include <cctype>
#include <vector>

namespace velq {
namespace {

mpfr_prec_t precisionOf(long bits) {
    return std::max<mpfr_prec_t>(MPFR_PREC_MIN, static_cast<mpfr_prec_t>(bits));
}

} // namespace

Real::Real(long bits) {
    mpfr_init2(value_, precisionOf(bits));
    mpfr_set_zero(value_, 1);
}

Real::Real(double value, long bits) {
    mpfr_init2(value_, precisionOf(bits));
    mpfr_set_d(value_, value, MPFR_RNDN);
}

Real::Real(const ExtFloat& value, long bits) {
    mpfr_init2(value_, precisionOf(bits));
    mpfr_set_d(value_, value.mantissa(), MPFR_RNDN);
    mpfr_mul_2si(value_, value_, static_cast<long>(value.exponent()), MPFR_RNDN);
}

Real::Real(const Real& other) {
    mpfr_init2(value_, mpfr_get_prec(other.value_));
    mpfr_set(value_, other.value_, MPFR_RNDN);
}

Real::Real(Real&& other) noexcept {
    mpfr_init2(value_, MPFR_PREC_MIN);
    mpfr_swap(value_, other.value_);
}

Real& Real::operator=(const Real& other) {
    if (this != &other) {
        mpfr_set_prec(value_, mpfr_get_prec(other.value_));
        mpfr_set(value_, other.value_, MPFR_RNDN);
    }
    return *this;
}

Real& Real::operator=(Real&& other) noexcept {
    mpfr_swap(value_, other.value_);
    return *this;
}

Real::~Real() {
    mpfr_clear(value_);
}

std::optional<Real> Real::parse(std::string_view text, long bits) {
    if (text.empty() || std::isspace(static_cast<unsigned char>(text.front()))) return std::nullopt;
    const std::string copy(text); // MPFR reads up to a terminating zero
    Real r(bits);
    char* end = nullptr;
    mpfr_strtofr(r.value_, copy.c_str(), &end, 10, MPFR_RNDN);
    if (end != copy.c_str() + copy.size() || !mpfr_number_p(r.value_)) return std::nullopt;
    return r;
}

Real Real::withBits(long bits) const {
    Real r(bits);
    mpfr_set(r.value_, value_, MPFR_RNDN);
    return r;
}

double Real::toDouble() const {
    return mpfr_get_d(value_, MPFR_RNDN);
}

std::string Real::fixed(int decimals) const {
    const int size = mpfr_snprintf(nullptr, 0, "%.*Rf", decimals, value_);
    std::vector<char> out(static_cast<std::size_t>(std::max(size, 0)) + 1);
    mpfr_snprintf(out.data(), out.size(), "%.*Rf", decimals, value_);
    return out.data();
}

Real& Real::operator+=(const Real& other) {
    // The result keeps the greater precision of the two.
    if (mpfr_get_prec(other.value_) > mpfr_get_prec(value_))
        mpfr_prec_round(value_, mpfr_get_prec(other.value_), MPFR_RNDN);
    mpfr_add(value_, value_, other.value_, MPFR_RNDN);
    return *this;
}

Real& Real::operator-=(const Real& other) {
    if (mpfr_get_prec(other.value_) > mpfr_get_prec(value_))
        mpfr_prec_round(value_, mpfr_get_prec(other.value_), MPFR_RNDN);
    mpfr_sub(value_, value_, other.value_, MPFR_RNDN);
    return *this;
}

Real& Real::operator*=(const Real& other) {
    if (mpfr_get_prec(other.value_) > mpfr_get_prec(value_))
        mpfr_prec_round(value_, mpfr_get_prec(other.value_), MPFR_RNDN);
    mpfr_mul(value_, value_, other.value_, MPFR_RNDN);
    return *this;
}

Real& Real::operator+=(const ExtFloat& other) {
    return *this += Real(other, 64);
}

ExtFloat extOf(const Real& r) {
    if (mpfr_zero_p(r.get())) return ExtFloat(0.0);
    long e = 0;
    const double m = mpfr_get_d_2exp(&e, r.get(), MPFR_RNDN);
    return ExtFloat::of(m, e);
}

} // namespace velq
