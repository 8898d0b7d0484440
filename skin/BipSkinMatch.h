// Matching the vertices of one skin node across the mirror (Part 6.1, Execute steps 2.1 to
// 2.3 and "Matching a source vertex"): the Part's own loop, and a fast path with exactly its
// answers.
#pragma once

#include <vector>

#include "quorvane/skin.h"
#include "skin/BipSkinRecords.h"

// A candidate matches when |length(p) - d0| <= tolerance and |dot(normalised p, X) - c0| is
// within this (the direction along the mirror bone's X axis; a cosine, no unit).
constexpr double kSkinDirectionTolerance = 0.001;

// One skin node's run: the vertices as the skin returned them (each destination as written),
// the Part's working arrays and the copies made, in the order made.
struct SkinMirrorRun {
    std::vector<cskinvertex> verts;   // as read (GetVert) before the run
    std::vector<char> present;        // 1 where the skin returned the vertex
    cbooleanarray source;             // source flags
    culongarray pair;                 // 0 unmatched; match + 1 for a source; 1 for a destination
    int sourceCount = 0;
    struct Write {
        int source = 0, dest = 0;     // verts[dest] holds what was written
    };
    std::vector<Write> writes;
};

// Reads the skin's vertices (count = numVerts) into a fresh run.
void SkinMirrorRead(const cskin& skin, SkinMirrorRun& run);
// Steps 2.1 to 2.3 as the Part writes them: every candidate walked for every source vertex.
// world is the skin node's transform (step 2.3's W).
void SkinMirrorMatchPlain(const SkinRecordArray& records, int destSide, float tolerance,
                          const cmatrix4& world, SkinMirrorRun& run);
// The same answers, with the candidates of each target bone in a grid by distance and
// direction: each search visits a few cells instead of every vertex.
void SkinMirrorMatchFast(const SkinRecordArray& records, int destSide, float tolerance,
                         const cmatrix4& world, SkinMirrorRun& run);
