// velq_deep_oracle: the fixtures of the deep renderer's tests, by brute force, and the nuclei
// of minibrots for views worth rendering.
//
//   velq_deep_oracle X Y W LIMIT WINX WINY [--bits B] [--threads T] [--verify] > FIXTURE
//       The raw counts of the picture by the plain loop in MPFR (oracleBits(W) bits unless
//       told), as a fixture file. --verify iterates again with 64 bits more and names on
//       standard error each pixel whose count moved: a fixture is only kept when none did.
//       The fixtures in tests/core/deep/fixtures were made with:
//         velq_deep_oracle 0 1 1e-45 4096 64 48 --threads 2 --verify
//         velq_deep_oracle 0 1 1e-300 65536 64 48 --threads 2 --verify
//         velq_deep_oracle -0.743643887037158704752191506114774
//             0.131825904205311970493132056385139 1e-20 65536 64 48 --threads 2 --verify
//         (the same centre at 1e-30 with limit 262144)
//         and the views of deep_test.cpp's table, each with its command in its first line.
//
//   velq_deep_oracle --nucleus X Y R MAXPERIOD
//       The lowest period p <= MAXPERIOD of a minibrot whose nucleus may lie within R of
//       X + i Y (the first n where the disc of the z_n of that disc of c holds 0), then the
//       nucleus by Newton's method on z_p(c) = 0 from X + i Y, and the size of its minibrot.
#include "bruteforce.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

using namespace velq;

struct Complex {
    Real re, im;
    explicit Complex(long bits) : re(bits), im(bits) {}
    Complex(Real r, Real i) : re(std::move(r)), im(std::move(i)) {}
};

Complex mul(const Complex& a, const Complex& b) {
    return {a.re * b.re - a.im * b.im, a.re * b.im + a.im * b.re};
}
Complex add(const Complex& a, const Complex& b) {
    return {a.re + b.re, a.im + b.im};
}
Real abs2(const Complex& a) {
    return a.re * a.re + a.im * a.im;
}
Complex div(const Complex& a, const Complex& b) {
    const Real d = abs2(b);
    Complex q(a.re * b.re + a.im * b.im, a.im * b.re - a.re * b.im);
    mpfr_div(q.re.get(), q.re.get(), d.get(), MPFR_RNDN);
    mpfr_div(q.im.get(), q.im.get(), d.get(), MPFR_RNDN);
    return q;
}

int usage() {
    std::fprintf(stderr, "usage: velq_deep_oracle X Y W LIMIT WINX WINY [--bits B] [--threads T] "
                         "[--verify]\n       velq_deep_oracle --nucleus X Y R MAXPERIOD\n");
    return 2;
}

int nucleus(char** argv) {
    const std::optional<ExtFloat> r = ExtFloat::parse(argv[2 + 2]);
    if (!r) return usage();
    const long bits = oracleBits(*r) + 64;
    const std::optional<Real> x = Real::parse(argv[2], bits), y = Real::parse(argv[3], bits);
    const int maxPeriod = std::atoi(argv[5]);
    if (!x || !y || maxPeriod < 1) return usage();
    const Complex c0(*x, *y);
    const Real one(1.0, bits), two(2.0, bits);

    // The disc of z_n over the disc of c: radius rho_{n+1} = (2|Z_n| + rho_n) rho_n + R.
    int period = 0;
    Complex z(bits);
    Real rho(64), big(64);
    for (int n = 1; n <= maxPeriod && period == 0; ++n) {
        Real absz(bits);
        mpfr_sqrt(absz.get(), abs2(z).get(), MPFR_RNDN);
        rho = (two * absz + rho) * rho + Real(*r, 64);
        z = add(mul(z, z), c0);
        mpfr_sqrt(absz.get(), abs2(z).get(), MPFR_RNDN);
        if (absz < rho) period = n;
        if (Real(4.0, 64) < absz) break;
    }
    if (period == 0) {
        std::fprintf(stderr, "no period up to %d\n", maxPeriod);
        return 1;
    }
    // Newton on z_p(c) = 0: z' = 2 z z' + 1.
    Complex c = c0;
    for (int k = 0; k < 64; ++k) {
        Complex zc(bits), dz(bits);
        for (int n = 0; n < period; ++n) {
            dz = add(mul(Complex(two * zc.re, two * zc.im), dz), Complex(one, Real(bits)));
            zc = add(mul(zc, zc), c);
        }
        const Complex delta = div(zc, dz);
        c = Complex(c.re - delta.re, c.im - delta.im);
        long e = 0;
        mpfr_get_d_2exp(&e, abs2(delta).get(), MPFR_RNDN);
        if (mpfr_zero_p(abs2(delta).get()) || e < -2 * (bits - 16)) break;
    }
    // Size of the minibrot: 1 / |b l^2|, l = prod 2 z_k, b = sum 1 / l_k over one period.
    Complex zc(bits), l(one, Real(bits)), b(one, Real(bits));
    for (int n = 1; n < period; ++n) {
        zc = add(mul(zc, zc), c);
        l = mul(Complex(two * zc.re, two * zc.im), l);
        b = add(b, div(Complex(one, Real(bits)), l));
    }
    const Complex size = div(Complex(one, Real(bits)), mul(b, mul(l, l)));
    Real s(bits);
    mpfr_sqrt(s.get(), abs2(size).get(), MPFR_RNDN);
    const int digits = static_cast<int>(bits * 0.30103) + 2;
    // The minibrot is the whole set scaled by the complex size: its direction as an angle.
    const double angle = std::atan2(size.im.toDouble(), size.re.toDouble()) * 57.29577951308232;
    std::printf("period %d\nx %s\ny %s\nsize %s at %.2f degrees\n", period,
                c.re.fixed(digits).c_str(), c.im.fixed(digits).c_str(),
                ExtFloat::parse(s.fixed(digits))->text(4).c_str(), angle);
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    if (argc == 6 && std::string(argv[1]) == "--nucleus") return nucleus(argv);
    if (argc < 7) return usage();
    Fixture f;
    f.x = argv[1];
    f.y = argv[2];
    f.w = argv[3];
    f.limit = std::atoi(argv[4]);
    f.winx = std::atoi(argv[5]);
    f.winy = std::atoi(argv[6]);
    int threads = 1;
    bool verify = false;
    for (int a = 7; a < argc; ++a) {
        const std::string arg = argv[a];
        if (arg == "--bits" && a + 1 < argc)
            f.bits = std::atol(argv[++a]);
        else if (arg == "--threads" && a + 1 < argc)
            threads = std::atoi(argv[++a]);
        else if (arg == "--verify")
            verify = true;
        else
            return usage();
    }
    const std::optional<ExtFloat> w = ExtFloat::parse(f.w);
    if (!w || f.winx <= 0 || f.winy <= 0 || f.limit < 0) return usage();
    if (f.bits == 0) f.bits = oracleBits(*w);
    const std::optional<DeepView> view = f.view();
    if (!view) return usage();
    DeepView v = *view;
    v.x = Real::parse(f.x, f.bits + 64).value();
    v.y = Real::parse(f.y, f.bits + 64).value();
    f.counts = bruteForcePicture(v, f.winx, f.winy, f.bits, threads);
    int moved = 0;
    if (verify) {
        const std::vector<std::int32_t> again =
            bruteForcePicture(v, f.winx, f.winy, f.bits + 64, threads);
        for (std::size_t k = 0; k < again.size(); ++k) {
            if (again[k] == f.counts[k]) continue;
            ++moved;
            std::fprintf(stderr, "pixel %zu,%zu: %d at %ld bits, %d at %ld\n",
                         k % static_cast<std::size_t>(f.winx), k / static_cast<std::size_t>(f.winx),
                         f.counts[k], f.bits, again[k], f.bits + 64);
        }
    }
    std::fputs(fixtureText(f).c_str(), stdout);
    return moved == 0 ? 0 : 1;
}
