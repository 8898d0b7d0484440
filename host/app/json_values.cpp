// Float, point, quaternion and colour values as JSON numbers and arrays; keys as objects of them.
#include "json_values.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace qvapp {

Json JsonFloat(float v) {
    // Round through 9 significant digits: the shortest double the writer then prints has at
    // most 9 digits and reads back as the same float.
    char text[32];
    std::snprintf(text, sizeof text, "%.9g", static_cast<double>(v));
    return std::strtod(text, nullptr);
}

Json JsonPoint(const cpoint3& p) {
    return Json::array({JsonFloat(p.x), JsonFloat(p.y), JsonFloat(p.z)});
}

Json JsonQuat(const cquat& q) {
    return Json::array({JsonFloat(q.x), JsonFloat(q.y), JsonFloat(q.z), JsonFloat(q.w)});
}

Json JsonColour(const ccolor& c) {
    return Json::array({JsonFloat(c.r), JsonFloat(c.g), JsonFloat(c.b), JsonFloat(c.a)});
}

Json JsonKey(const ckey& k) {
    return {{"t", k.time},
            {"pos", JsonPoint(k.pos)},
            {"rot", JsonQuat(k.rot)},
            {"scale", JsonPoint(k.scale)}};
}

bool ReadFloat(const Json& j, const std::string& what, float& out, std::string& error) {
    if (!j.is_number()) {
        error = what + " must be a number";
        return false;
    }
    double d = j.get<double>();
    if (!std::isfinite(d)) {
        error = what + " must be finite";
        return false;
    }
    out = static_cast<float>(d);
    return true;
}

namespace {

bool ReadFloats(const Json& j, const std::string& what, float* out, size_t n,
                std::string& error) {
    if (!j.is_array() || j.size() != n) {
        error = what + " must be an array of " + std::to_string(n) + " numbers";
        return false;
    }
    for (size_t i = 0; i < n; ++i)
        if (!ReadFloat(j[i], what + "[" + std::to_string(i) + "]", out[i], error)) return false;
    return true;
}

}  // namespace

bool ReadPoint(const Json& j, const std::string& what, cpoint3& out,
               std::string& error) {
    float v[3];
    if (!ReadFloats(j, what, v, 3, error)) return false;
    out = cpoint3(v[0], v[1], v[2]);
    return true;
}

bool ReadQuat(const Json& j, const std::string& what, cquat& out, std::string& error) {
    float v[4];
    if (!ReadFloats(j, what, v, 4, error)) return false;
    out = cquat(v[0], v[1], v[2], v[3]);
    return true;
}

bool ReadColour(const Json& j, const std::string& what, ccolor& out,
                std::string& error) {
    float v[4];
    if (!ReadFloats(j, what, v, 4, error)) return false;
    out = ccolor{v[0], v[1], v[2], v[3]};
    return true;
}

}  // namespace qvapp
