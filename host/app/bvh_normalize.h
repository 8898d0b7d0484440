// `quorvane bvh normalize IN OUT [--map PRESET|FILE]`: a BVH take whose joints carry another
// pipeline's names, rewritten with the names the import maps; the motion is kept as it is.
#pragma once

#include <optional>
#include <ostream>
#include <string>

namespace qvapp {

// The folder of the map presets (NAME.map), as built in.
std::string BvhMapsDir();

// Renames through the map (a file path, or the name of a preset in mapsDir; without one, the
// preset that renames the most joints) and writes OUT whole, saying on out which map renamed
// how many joints. The exit status: 0; 1 when IN cannot be read or the reader refuses it, the
// map cannot be read, two joints would share a name or OUT cannot be written (the reason on err).
int BvhNormalize(const std::string& in, const std::string& outPath,
                 const std::optional<std::string>& map, const std::string& mapsDir,
                 std::ostream& out, std::ostream& err);

}  // namespace qvapp
