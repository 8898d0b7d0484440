// Joint renaming of a BVH take through a name map ("source-name target-name" per line).
#pragma once

#include <map>
#include <string>
#include <string_view>

#include "bvh_take.h"

namespace qvapp {

using BvhNameMap = std::map<std::string, std::string, std::less<>>;  // source name -> target

// Reads a map's text: one "source target" pair per line, blank lines and text after "#"
// ignored. False with the line and reason in error for a line of another shape or a source
// named twice.
bool ParseBvhNameMap(std::string_view text, BvhNameMap& map, std::string& error);

// Renames every joint the map names, each by its name in the take. renamed counts the joints
// renamed. False, the take unchanged, with the reason when two joints would end with one name.
bool RenameBvhJoints(BvhTake& take, const BvhNameMap& map, int& renamed, std::string& error);

}  // namespace qvapp
