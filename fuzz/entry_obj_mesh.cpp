// Fuzz entry: OBJ text through the mesh reader of `import`; a refusal must say why and leave
// the mesh untouched, and an accepted mesh must only name vertices it holds.
#include <cstdlib>
#include <string>

#include "fuzz_entries.h"
#include "obj_import.h"

namespace qvfuzz {

void ObjMesh(std::string_view bytes) {
    qvapp::ObjMesh mesh;
    std::string error;
    if (!qvapp::ParseObjText(std::string(bytes), mesh, error)) {
        if (error.empty() || !mesh.positions.empty() || !mesh.triangles.empty()) std::abort();
        return;
    }
    if (mesh.positions.empty() || mesh.triangles.size() % 3 != 0) std::abort();
    for (int index : mesh.triangles)
        if (index < 0 || static_cast<size_t>(index) >= mesh.positions.size()) std::abort();
    // Every face has at least three corners, so it gives one triangle or more.
    if (mesh.triangles.size() / 3 < static_cast<size_t>(mesh.faces)) std::abort();
}

}  // namespace qvfuzz
