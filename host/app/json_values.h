// JSON forms of host values shared by the scene dump and the scene file. Floats are written
// with 9 significant digits, enough for a float to read back exactly; texts in the escaped
// form of text_escape.h, so that names of any bytes can be written.
#pragma once

#include <string>
#include <string_view>

#include <nlohmann/json.hpp>

#include "quorvane/anim.h"
#include "quorvane/math.h"

namespace qvapp {

// Objects keep their keys in the order written, so dumps read in a fixed order.
using Json = nlohmann::ordered_json;

Json JsonText(std::string_view bytes);
Json JsonFloat(float v);
Json JsonPoint(const cpoint3& p);
Json JsonQuat(const cquat& q);
Json JsonColour(const ccolor& c);
// {"t": time, "pos": point, "rot": quaternion, "scale": point}
Json JsonKey(const ckey& k);

// Readers: false with error naming `what` when the value has the wrong shape.
// A text read back to its bytes (taken as it is when not escaped); names are C strings, so a
// NUL byte is refused.
bool ReadText(const Json& j, const std::string& what, bool escaped, std::string& out,
              std::string& error);
// A number that rounds to a finite float.
bool ReadFloat(const Json& j, const std::string& what, float& out, std::string& error);
bool ReadPoint(const Json& j, const std::string& what, cpoint3& out, std::string& error);
bool ReadQuat(const Json& j, const std::string& what, cquat& out, std::string& error);
bool ReadColour(const Json& j, const std::string& what, ccolor& out,
                std::string& error);

}  // namespace qvapp
