// Finiteness of the host's float values: what the scene may hold, what a view may frame.
#pragma once

#include <cmath>

#include "quorvane/math.h"

namespace qvapp {

inline bool IsFinite(const cpoint3& p) {
    return std::isfinite(p.x) && std::isfinite(p.y) && std::isfinite(p.z);
}
inline bool IsFinite(const cquat& q) {
    return std::isfinite(q.x) && std::isfinite(q.y) && std::isfinite(q.z) && std::isfinite(q.w);
}
inline bool IsFinite(const ccolor& c) {
    return std::isfinite(c.r) && std::isfinite(c.g) && std::isfinite(c.b) && std::isfinite(c.a);
}

}  // namespace qvapp
