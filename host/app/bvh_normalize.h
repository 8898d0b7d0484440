// `quorvane bvh normalize IN OUT [--map PRESET|FILE]`: a BVH take from another pipeline (other
// joint names, channel orders, position channels below the root, joints the biped has no bone
// for) rewritten in the layout and with the names the import maps, keeping the motion.
#pragma once

#include <optional>
#include <ostream>
#include <string>

namespace qvapp {

// The folder of the map presets (NAME.map), as built in.
std::string BvhMapsDir();

// Reads IN with the tolerant reader, renames through the map (a file path, or the name of a
// preset in mapsDir; without one, the preset that renames the most joints), folds the joints
// the import does not map into the ones it does and writes OUT whole, saying on out which map
// renamed how many joints and how many were kept. The exit status: 0; 1 when IN cannot be read
// or is refused (the line and reason on err), the map cannot be read, two joints would share a
// name or OUT cannot be written.
int BvhNormalize(const std::string& in, const std::string& outPath,
                 const std::optional<std::string>& map, const std::string& mapsDir,
                 std::ostream& out, std::ostream& err);

}  // namespace qvapp
