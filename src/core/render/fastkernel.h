// The fast escape-time kernel: the plain loop's counts and iteration total, bit for bit,
// from SIMD lanes with refill and exact cycle detection, and from tiles proven never to escape.
#pragma once

#include "core/render/boundedorbit.h"
#include "core/render/kernel.h"

#include <cstdint>
#include <string_view>

namespace velq {

// The instruction sets the fast kernel is built for; one binary picks the best at run time.
enum class Isa { Sse2, Avx2, Avx512 };

// Whether this processor (and its operating system) runs `isa`.
bool isaSupported(Isa isa);
// The widest instruction set this processor runs.
Isa bestIsa();
std::string_view isaName(Isa isa);

// The fast kernel built for `isa`, or nullptr when this processor lacks it.
RowKernel fastRowsFor(Isa isa);
// The bound it settles tiles with, likewise.
BoundedDiscs boundedDiscsFor(Isa isa);

// Same contract and results as referenceRows, on the best instruction set. A stride below 1
// computes nothing (the plain loop would never end).
std::int64_t fastRows(const KernelFrame& frame, int r0, int rowCount, int stride,
                      std::int16_t* mandel);

// "reference" or "fast"; nullptr for any other name.
RowKernel kernelNamed(std::string_view name);

} // namespace velq
