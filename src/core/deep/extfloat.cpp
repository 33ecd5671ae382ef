// Arithmetic and text of wide-exponent floats.
#include "core/deep/extfloat.h"

#include "core/deep/real.h"

#include <cmath>
#include <cstdlib>
#include <limits>
#include <memory>

namespace velq {

ExtFloat::ExtFloat(double value) {
    *this = of(value, 0);
}

ExtFloat ExtFloat::of(double m, std::int64_t e) {
    ExtFloat x;
    if (m == 0 || !std::isfinite(m)) {
        x.m_ = m;
        return x;
    }
    int k = 0;
    const double f = std::frexp(m, &k); // m = f * 2^k, |f| in [0.5, 1)
    x.m_ = f * 2;
    x.e_ = e + k - 1;
    return x;
}

double ExtFloat::toDouble() const {
    if (m_ == 0 || !std::isfinite(m_)) return m_;
    if (e_ > 2000) return std::copysign(std::numeric_limits<double>::infinity(), m_);
    if (e_ < -2000) return std::copysign(0.0, m_);
    return std::ldexp(m_, static_cast<int>(e_));
}

bool ExtFloat::isFinite() const {
    return std::isfinite(m_);
}

ExtFloat operator*(ExtFloat a, ExtFloat b) {
    return ExtFloat::of(a.m_ * b.m_, a.e_ + b.e_);
}

ExtFloat operator/(ExtFloat a, ExtFloat b) {
    return ExtFloat::of(a.m_ / b.m_, a.e_ - b.e_);
}

ExtFloat operator+(ExtFloat a, ExtFloat b) {
    if (b.m_ == 0) return a;
    if (a.m_ == 0) return b;
    if (a.e_ < b.e_) std::swap(a, b);
    const std::int64_t d = a.e_ - b.e_;
    if (d > 80) return a; // b is below a's last bit
    return ExtFloat::of(a.m_ + std::ldexp(b.m_, -static_cast<int>(d)), a.e_);
}

bool operator<(ExtFloat a, ExtFloat b) {
    if (std::signbit(a.m_) != std::signbit(b.m_) || a.m_ == 0 || b.m_ == 0) return a.m_ < b.m_;
    const bool positive = a.m_ > 0;
    if (a.e_ != b.e_) return positive ? a.e_ < b.e_ : a.e_ > b.e_;
    return a.m_ < b.m_;
}

std::optional<ExtFloat> ExtFloat::parse(std::string_view text) {
    const std::optional<Real> r = Real::parse(text, 64);
    if (!r) return std::nullopt;
    long e = 0;
    const double d = mpfr_get_d_2exp(&e, r->get(), MPFR_RNDN);
    return of(d, e);
}

std::string ExtFloat::text(int digits) const {
    if (digits == 0) {
        for (int d = 1; d < 17; ++d)
            if (const std::string t = text(d); parse(t) == *this) return t;
        return text(17);
    }
    if (m_ == 0 || !std::isfinite(m_)) {
        char buf[32];
        std::snprintf(buf, sizeof buf, "%g", m_);
        return buf;
    }
    const Real r(*this, 64);
    mpfr_exp_t e10 = 0;
    const std::unique_ptr<char, decltype(&mpfr_free_str)> digitsText(
        mpfr_get_str(nullptr, &e10, 10, static_cast<std::size_t>(digits), r.get(), MPFR_RNDN),
        &mpfr_free_str);
    std::string s = digitsText.get();
    const bool negative = s.front() == '-';
    if (negative) s.erase(0, 1);
    // d.ddd...e(E - 1), trailing zeros of the mantissa left out.
    std::string mantissa = s.substr(0, 1);
    std::string rest = s.substr(1);
    while (!rest.empty() && rest.back() == '0')
        rest.pop_back();
    if (!rest.empty()) mantissa += "." + rest;
    return (negative ? "-" : "") + mantissa + "e" + std::to_string(static_cast<long>(e10) - 1);
}

} // namespace velq
