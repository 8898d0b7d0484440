// Wavefront OBJ meshes in and out: positions and faces, read with tinyobjloader after a check
// of every line that names the first line tinyobjloader would take in silence or misread.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "quorvane/math.h"

namespace qvapp {

struct ObjMesh {
    std::vector<cpoint3> positions;
    std::vector<int> triangles;  // 3 indices into positions per triangle (polygons as fans)
    int faces = 0;               // faces as the file has them, before the fans
    std::string objectName;      // the first `o` line's name, or empty
};

// The largest OBJ file read (bytes): its text and tinyobjloader's arrays take a few times as much.
inline constexpr std::uintmax_t kObjFileMaxBytes = std::uintmax_t{256} << 20;

// Reads the OBJ text; false with "line N: why" (or a whole-file reason) in error, mesh untouched.
bool ParseObjText(const std::string& text, ObjMesh& mesh, std::string& error);
// Reads the file at path the same way; a file that cannot be read, or one larger than
// kObjFileMaxBytes (refused before it is read), names the path.
bool ReadObjFile(const std::string& path, ObjMesh& mesh, std::string& error);
// OBJ text of the positions and triangles, with a comment line first; floats with 9 significant
// digits so that they read back exactly.
std::string ObjText(const std::string& comment, const std::string& object,
                    const std::vector<cpoint3>& positions, const std::vector<int>& triangles);

}  // namespace qvapp
