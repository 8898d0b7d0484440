// Wavefront OBJ reading and writing. tinyobjloader (Debian's libtinyobjloader-dev) parses the
// file; it reads a coordinate that is not a number as 0 and reports a face naming a missing
// vertex (or nothing at all for a face of two corners) without the line, and counts a face's
// corners in a byte, so a check of each line comes first and refuses such a file at its line.
#include "obj_import.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <set>
#include <sstream>

#include <tiny_obj_loader.h>

#include "file_budget.h"

namespace qvapp {
namespace {

// Corners of one face: tinyobjloader counts them in a byte, so a larger face would be misread.
constexpr size_t kMaxFaceCorners = 255;

// OBJ statements that are read (v, f, o) or stand in a valid file and are passed over.
const std::set<std::string>& KnownStatements() {
    static const std::set<std::string> known = {
        "v", "vt", "vn", "vp", "f", "l", "p", "o", "g", "s", "mg", "usemtl", "mtllib",
        "cstype", "deg", "bmat", "step", "curv", "curv2", "surf", "parm", "trim", "hole",
        "scrv", "sp", "end", "con", "lod", "maplib", "usemap", "shadow_obj", "trace_obj",
        "ctech", "stech", "bevel", "c_interp", "d_interp"};
    return known;
}

std::vector<std::string> Words(const std::string& line) {
    std::vector<std::string> words;
    std::istringstream in(line);
    for (std::string w; in >> w;) words.push_back(w);
    return words;
}

bool FiniteNumber(const std::string& word) {
    double value = 0;
    const char* end = word.data() + word.size();
    auto [ptr, ec] = std::from_chars(word.data(), end, value);
    return ec == std::errc() && ptr == end && std::isfinite(value);
}

// A face corner "i", "i/t", "i//n" or "i/t/n": its vertex index i, 1-based or negative
// (counted back from the last vertex so far), must name a vertex already read.
bool CheckCorner(const std::string& corner, int vertexCount, std::string& why) {
    const std::string first = corner.substr(0, corner.find('/'));
    long index = 0;
    const char* end = first.data() + first.size();
    auto [ptr, ec] = std::from_chars(first.data(), end, index);
    if (ec != std::errc() || ptr != end || index == 0) {
        why = "face corner \"" + corner + "\" does not start with a vertex number";
        return false;
    }
    const long resolved = index > 0 ? index - 1 : vertexCount + index;
    if (resolved < 0 || resolved >= vertexCount) {
        why = "face corner \"" + corner + "\" names vertex " + std::to_string(index) + " but " +
              std::to_string(vertexCount) + " vertices are read so far";
        return false;
    }
    return true;
}

// A control character other than the blanks, which no OBJ line holds; -1 when there is none.
int FirstControlByte(const std::string& line) {
    for (unsigned char c : line)
        if ((c < 0x20 && c != '\t' && c != '\v' && c != '\f') || c == 0x7f) return c;
    return -1;
}

std::string HexByte(int byte) {
    char buf[8];
    std::snprintf(buf, sizeof buf, "0x%02X", byte);
    return buf;
}

// The line-by-line check; false with "line N: why". The lines as checked, comments and carriage
// returns taken off, go to `checked`: tinyobjloader reads those, so that it never sees a part of
// a line (such as a face's corners after a '#') that the check passed over.
bool CheckLines(const std::string& text, std::string& checked, std::string& error) {
    if (text.rfind("\xff\xfe", 0) == 0 || text.rfind("\xfe\xff", 0) == 0) {
        error = "the file is UTF-16 text; OBJ files are read as 8-bit text (UTF-8 or ASCII)";
        return false;
    }
    std::istringstream in(text);
    int vertices = 0, lineNumber = 0;
    for (std::string line; std::getline(in, line);) {
        ++lineNumber;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        const std::string where = "line " + std::to_string(lineNumber) + ": ";
        if (const int control = FirstControlByte(line); control >= 0) {
            error = where + "byte " + HexByte(control) + " is not text";
            return false;
        }
        line.erase(std::min(line.find('#'), line.size()));
        std::vector<std::string> w = Words(line);
        checked += line;
        checked += '\n';
        if (w.empty()) continue;
        if (!KnownStatements().count(w[0])) {
            error = where + "\"" + w[0] + "\" is not an OBJ statement";
            return false;
        }
        if (w[0] == "v") {
            if (w.size() < 4 || w.size() > 7) {
                error = where + "a vertex needs three coordinates";
                return false;
            }
            for (size_t i = 1; i < w.size(); ++i)
                if (!FiniteNumber(w[i])) {
                    error = where + "\"" + w[i] + "\" is not a finite number";
                    return false;
                }
            ++vertices;
        } else if (w[0] == "f") {
            if (w.size() < 4) {
                error = where + "a face needs three corners or more";
                return false;
            }
            if (w.size() - 1 > kMaxFaceCorners) {
                error = where + "a face has " + std::to_string(w.size() - 1) +
                        " corners, more than the " + std::to_string(kMaxFaceCorners) + " read";
                return false;
            }
            std::string why;
            for (size_t i = 1; i < w.size(); ++i)
                if (!CheckCorner(w[i], vertices, why)) {
                    error = where + why;
                    return false;
                }
        }
    }
    if (vertices == 0) {
        error = "the file holds no vertices";
        return false;
    }
    return true;
}

}  // namespace

bool ParseObjText(const std::string& text, ObjMesh& mesh, std::string& error) {
    std::string checked;
    if (!CheckLines(text, checked, error)) return false;
    tinyobj::attrib_t attrib;
    std::vector<tinyobj::shape_t> shapes;
    std::vector<tinyobj::material_t> materials;
    std::string warn, err;
    std::istringstream in(checked);
    std::istringstream emptyMtl("");  // materials are not read: `mtllib` finds nothing
    tinyobj::MaterialStreamReader materialsReader(emptyMtl);
    if (!tinyobj::LoadObj(&attrib, &shapes, &materials, &warn, &err, &in, &materialsReader,
                          /*triangulate=*/false)) {
        error = err.empty() ? "tinyobjloader refused the file" : err;
        while (!error.empty() && error.back() == '\n') error.pop_back();
        return false;
    }
    ObjMesh read;
    for (size_t i = 0; i + 2 < attrib.vertices.size(); i += 3)
        read.positions.push_back({attrib.vertices[i], attrib.vertices[i + 1],
                                  attrib.vertices[i + 2]});
    for (const tinyobj::shape_t& shape : shapes) {
        if (read.objectName.empty()) read.objectName = shape.name;
        size_t at = 0;
        for (unsigned char corners : shape.mesh.num_face_vertices) {
            for (unsigned c = 1; c + 1 < corners; ++c) {
                read.triangles.push_back(shape.mesh.indices[at].vertex_index);
                read.triangles.push_back(shape.mesh.indices[at + c].vertex_index);
                read.triangles.push_back(shape.mesh.indices[at + c + 1].vertex_index);
            }
            at += corners;
            ++read.faces;
        }
    }
    mesh = std::move(read);
    return true;
}

bool ReadObjFile(const std::string& path, ObjMesh& mesh, std::string& error) {
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        error = "cannot read \"" + path + "\"";
        return false;
    }
    if (!FitsFileBudget(path, kObjFileMaxBytes, "an OBJ file", error)) return false;
    std::ostringstream text;
    text << file.rdbuf();
    if (!ParseObjText(text.str(), mesh, error)) {
        error = path + ": " + error;
        return false;
    }
    return true;
}

std::string ObjText(const std::string& comment, const std::string& object,
                    const std::vector<cpoint3>& positions, const std::vector<int>& triangles) {
    std::string out = "# " + comment + "\no " + object + "\n";
    char buf[96];
    for (const cpoint3& p : positions) {
        std::snprintf(buf, sizeof buf, "v %.9g %.9g %.9g\n", p.x, p.y, p.z);
        out += buf;
    }
    for (size_t i = 0; i + 2 < triangles.size(); i += 3) {
        std::snprintf(buf, sizeof buf, "f %d %d %d\n", triangles[i] + 1, triangles[i + 1] + 1,
                      triangles[i + 2] + 1);
        out += buf;
    }
    return out;
}

}  // namespace qvapp
