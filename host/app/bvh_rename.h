// Joint renaming of BVH text through a name map ("source-name target-name" per line), the
// rest of the text (motion, offsets, line endings) kept byte for byte.
#pragma once

#include <map>
#include <string>
#include <string_view>

namespace qvapp {

using BvhNameMap = std::map<std::string, std::string, std::less<>>;  // source name -> target

// Reads a map's text: one "source target" pair per line, blank lines and text after "#"
// ignored. False with the line and reason in error for a line of another shape or a source
// named twice.
bool ParseBvhNameMap(std::string_view text, BvhNameMap& map, std::string& error);

// Renames every ROOT and JOINT the map names, each by its name in `text`. renamed counts the
// joints renamed. False with the reason when two joints would end with one name.
bool RenameBvhJoints(std::string_view text, const BvhNameMap& map, std::string& out,
                     int& renamed, std::string& error);

}  // namespace qvapp
