// `quorvane bvh info FILE`: a BVH file's joints, channels, frames and frame time, and which of
// its joints the biped's import maps onto which bones.
#pragma once

#include <ostream>
#include <string>

namespace qvapp {

// Prints the report on out; 0, or 1 with the reason on err when the file cannot be read or
// the reader refuses it.
int BvhInfo(const std::string& path, std::ostream& out, std::ostream& err);

}  // namespace qvapp
