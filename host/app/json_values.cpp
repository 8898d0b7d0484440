// Float, point, quaternion and colour values as JSON numbers and arrays; keys as objects of them.
#include "json_values.h"

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "text_escape.h"

namespace qvapp {
namespace {

// The smallest double magnitude that rounds to an infinite float: FLT_MAX plus half a unit in
// its last place. Below it a double rounds to a finite float (FLT_MAX at most).
constexpr double kFloatOverflow = 0x1.ffffffp+127;

}  // namespace

Json JsonText(std::string_view bytes) { return EscapeText(bytes); }

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

bool ReadText(const Json& j, const std::string& what, bool escaped, std::string& out,
              std::string& error) {
    if (!j.is_string()) {
        error = what + " must be a text";
        return false;
    }
    const std::string& text = j.get_ref<const std::string&>();
    if (!escaped) {
        out = text;
    } else if (!UnescapeText(text, out)) {
        error = what + ": a backslash must start \\\\ or \\xHH";
        return false;
    }
    if (out.find('\0') != std::string::npos) {
        error = what + " must not hold a NUL byte";
        return false;
    }
    return true;
}

bool ReadFloat(const Json& j, const std::string& what, float& out, std::string& error) {
    if (!j.is_number()) {
        error = what + " must be a number";
        return false;
    }
    const double d = j.get<double>();
    if (!(std::fabs(d) < kFloatOverflow)) {
        error = what + " is beyond the range of a float (about 3.4e38)";
        return false;
    }
    // The writer's 9 digits of FLT_MAX read back as a double just past it.
    out = static_cast<float>(std::clamp(d, -double{FLT_MAX}, double{FLT_MAX}));
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
