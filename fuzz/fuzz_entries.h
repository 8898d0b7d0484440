// The entry points through which the fuzz targets and the regression replay hand one input to
// each reader of outside input. Each takes the input's bytes and must neither crash nor leak,
// whatever the bytes; what the reader answers is checked for consistency where it is cheap.
#pragma once

#include <string_view>

namespace qvfuzz {

void BvhReader(std::string_view bytes);       // the module's BVH reader (ReadBvhText)
void BvhTake(std::string_view bytes);         // the tolerant BVH reader of `bvh normalize`
void BpdFile(std::string_view bytes);         // .BPD animation files
void BphFile(std::string_view bytes);         // .BPH hand-pose files
void SceneFile(std::string_view bytes);       // .qscene scene files, up to replacing the scene
void ResourceScript(std::string_view bytes);  // resource scripts (.rc)
void SessionScript(std::string_view bytes);   // session scripts (.qvs), lines and numbers
void ObjMesh(std::string_view bytes);         // Wavefront OBJ meshes of `import`

}  // namespace qvfuzz
