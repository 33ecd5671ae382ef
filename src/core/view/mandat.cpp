// Equality of view records, deep parts included.
#include "core/view/mandat.h"

#include "core/deep/deepview.h"

namespace velq {

bool operator==(const MANDAT& a, const MANDAT& b) {
    const bool same =
        a.x == b.x && a.y == b.y && a.w == b.w && a.it == b.it && a.cs == b.cs && a.cp == b.cp;
    if (!same || a.deep == b.deep) return same;
    return a.deep && b.deep && *a.deep == *b.deep;
}

} // namespace velq
