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
//         and the views of deeprender_test.cpp's table, each with its command in its first line.
//
//   velq_deep_oracle --nucleus X Y R MAXPERIOD
//       The lowest period p <= MAXPERIOD of a minibrot whose nucleus may lie within R of
//       X + i Y (the first n where the disc of the z_n of that disc of c holds 0), then the
//       nucleus by Newton's method on z_p(c) = 0 from X + i Y, and the size of its minibrot.
#include "bruteforce.h"
#include "core/deep/nucleus.h"

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

using namespace velq;

int usage() {
    std::fprintf(stderr, "usage: velq_deep_oracle X Y W LIMIT WINX WINY [--bits B] [--threads T] "
                         "[--verify]\n       velq_deep_oracle --nucleus X Y R MAXPERIOD\n");
    return 2;
}

int nucleus(char** argv) {
    const std::optional<ExtFloat> r = ExtFloat::parse(argv[4]);
    if (!r) return usage();
    const long bits = oracleBits(*r) + 64;
    const std::optional<Real> x = Real::parse(argv[2], bits), y = Real::parse(argv[3], bits);
    const int maxPeriod = std::atoi(argv[5]);
    if (!x || !y || maxPeriod < 1) return usage();
    const std::optional<Nucleus> n = findNucleus(*x, *y, *r, maxPeriod, bits);
    if (!n) {
        std::fprintf(stderr, "no nucleus of period up to %d\n", maxPeriod);
        return 1;
    }
    const int digits = static_cast<int>(static_cast<double>(bits) * 0.30103) + 2;
    std::printf("period %d\nx %s\ny %s\nsize %s at %.2f degrees\n", n->period,
                n->x.fixed(digits).c_str(), n->y.fixed(digits).c_str(), n->size.text(4).c_str(),
                n->degrees);
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
