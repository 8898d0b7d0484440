// Matching the vertices of one skin node across the mirror. The Part's loop walks every
// candidate for every source vertex; the fast path keeps its answers exactly - the first
// candidate in index order that matches, used vertices skipped, a vertex weighted to several
// bones matched once per bone - by sorting the candidates of each target bone into cells of
// distance and direction and visiting only the cells a match can lie in.
#include "skin/BipSkinMatch.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <unordered_map>

#include "quorvane/node.h"

namespace {

const cpoint3 kXAxis = {1.0f, 0.0f, 0.0f};

// Distance and direction of a point in the target bone's frame, computed one way for both
// paths so that they compare the same floats.
struct Key {
    float d = 0.0f, c = 0.0f;
};
Key KeyOf(const cpoint3& p) { return {Length(p), DotProd(Normalize(p), kXAxis)}; }

bool KeyMatches(const Key& k, const Key& k0, float tolerance) {
    return std::fabs(k.d - k0.d) <= tolerance &&
           std::fabs(k.c - k0.c) <= kSkinDirectionTolerance;
}

// The first weight of v on the node, or null.
const cskinweight* WeightOn(const cskinvertex& v, const cnode* node) {
    for (int k = 0; k < v.numWeights && k < QV_MAX_SKIN_WEIGHTS; ++k)
        if (v.weights[k].bone == node) return &v.weights[k];
    return nullptr;
}

bool NotDestination(const SkinBoneRecord* r, int destSide) { return r->side != destSide; }

// Step 2.2: flag every vertex weighted to a bone that is not on the destination side.
void FlagSources(const SkinRecordArray& records, int destSide, SkinMirrorRun& run) {
    const int n = static_cast<int>(run.verts.size());
    run.source.SetCount(n);
    run.pair.SetCount(n);
    run.sourceCount = 0;
    for (int r = 0; r < records.count; ++r) {
        const SkinBoneRecord* record = records.data[r];
        if (!NotDestination(record, destSide)) continue;
        for (int v = 0; v < n; ++v)
            if (run.present[v] && !run.source[v] && WeightOn(run.verts[v], record->node)) {
                run.source.Set(v, true);
                ++run.sourceCount;
            }
    }
}

// Step 3 of "Matching": m takes v's weights with every bone mirrored; the other fields of m's
// weights stay as they were.
template <typename MirrorBoneFn>
void Copy(int v, int m, SkinMirrorRun& run, MirrorBoneFn mirrorBone) {
    const cskinvertex& src = run.verts[v];
    cskinvertex& dst = run.verts[m];
    dst.numWeights = src.numWeights;
    for (int k = 0; k < src.numWeights && k < QV_MAX_SKIN_WEIGHTS; ++k) {
        dst.weights[k].value = src.weights[k].value;
        dst.weights[k].bone = mirrorBone(src.weights[k].bone);
    }
    run.writes.push_back({v, m});
    run.pair[m] = 1;
    run.pair[v] = static_cast<unsigned long>(m) + 1;
}

}  // namespace

void SkinMirrorRead(const cskin& skin, SkinMirrorRun& run) {
    run = SkinMirrorRun{};
    const int n = std::max(skin.numVerts, 0);
    run.verts.resize(n);
    run.present.resize(n);
    for (int i = 0; i < n; ++i) run.present[i] = skin.GetVert(i, run.verts[i]) ? 1 : 0;
}

void SkinMirrorMatchPlain(const SkinRecordArray& records, int destSide, float tolerance,
                          const cmatrix4& world, SkinMirrorRun& run) {
    FlagSources(records, destSide, run);
    const int n = static_cast<int>(run.verts.size());
    auto mirrorBone = [&records](cnode* bone) { return SkinMirrorBone(records, bone); };
    for (int r = 0; r < records.count; ++r) {
        const SkinBoneRecord* record = records.data[r];
        if (!NotDestination(record, destSide)) continue;
        const SkinBoneRecord* target = record->partner ? record->partner : record;
        const cmatrix4 m2 = world * Inverse(target->matrix);
        for (int v = 0; v < n; ++v) {
            if (!run.source[v]) continue;
            const cskinweight* w = WeightOn(run.verts[v], record->node);
            if (!w) continue;
            const Key k0 = KeyOf(w->offset);
            for (int m = 0; m < n; ++m) {
                if (m == v || run.source[m] || run.pair[m] == 1 || !run.present[m]) continue;
                if (!KeyMatches(KeyOf(run.verts[m].pos * m2), k0, tolerance)) continue;
                Copy(v, m, run, mirrorBone);
                break;
            }
        }
    }
}

namespace {

// Width of a direction cell: twice the direction tolerance, so that a search spans at most
// three cells of direction.
constexpr double kDirectionCell = 2.0 * kSkinDirectionTolerance;
// Direction cells across the cosine's range -1..1 (and one spare for rounding at 1).
constexpr long long kDirectionCells = static_cast<long long>(2.0 / kDirectionCell) + 2;
// Distance cells are at least this share of the farthest candidate wide, so that a tolerance
// of 0 does not make a cell per candidate (and cell numbers stay below 1e4 + 1).
constexpr double kMinDistanceCellShare = 1e-4;
// A candidate whose floats pass the test lies within the tolerance widened by float rounding;
// the search widens each range by this share of its magnitude (far more than rounding needs)
// and then applies the exact test to every candidate it visits.
constexpr double kRoundingSlack = 1e-5;

struct Entry {
    long long cell;
    int index;
    Key key;
};
struct CellRange {
    unsigned begin = 0, end = 0;  // its entries, ascending index
};

// The candidates of one target bone: every vertex that is present and not a source, keyed by
// its distance and direction in the bone's frame, sorted by cell and then by index.
class TargetGrid {
public:
    TargetGrid(const std::vector<cpoint3>& pos, const std::vector<int>& candidates,
               const cmatrix4& m2, float tolerance)
        : tolerance_(tolerance) {
        entries_.reserve(candidates.size());
        double farthest = 0.0;
        for (int m : candidates) {
            const Key k = KeyOf(pos[m] * m2);
            if (!std::isfinite(k.d) || !std::isfinite(k.c)) continue;  // never within tolerance
            entries_.push_back({0, m, k});
            farthest = std::max(farthest, static_cast<double>(k.d));
        }
        cellD_ = std::max({2.0 * tolerance, kMinDistanceCellShare * farthest, 1e-30});
        for (Entry& e : entries_) e.cell = CellKey(RowOf(e.key.d), ColumnOf(e.key.c));
        std::sort(entries_.begin(), entries_.end(), [](const Entry& a, const Entry& b) {
            return a.cell != b.cell ? a.cell < b.cell : a.index < b.index;
        });
        cells_.reserve(entries_.size());
        for (unsigned i = 0; i < entries_.size(); ++i) {
            CellRange& c = cells_[entries_[i].cell];
            if (c.end == 0) c.begin = i;
            c.end = i + 1;
        }
        link_.resize(entries_.size() + 1);
        for (unsigned i = 0; i < link_.size(); ++i) link_[i] = i;
    }

    // The first candidate in index order that is unused and matches k0, or -1.
    // used: 1 for a vertex with pair value 1 (a byte per vertex: the search reads it at random,
    // and a byte array stays in the cache where the pair values would not).
    int Find(const Key& k0, const std::vector<unsigned char>& used) {
        if (!std::isfinite(k0.d) || !std::isfinite(k0.c)) return -1;
        const double slackD = kRoundingSlack * (std::fabs(k0.d) + tolerance_) + 1e-30;
        const long long row0 = RowOf(k0.d - tolerance_ - slackD);
        const long long row1 = RowOf(k0.d + tolerance_ + slackD);
        const long long col0 = ColumnOf(k0.c - kSkinDirectionTolerance - kRoundingSlack);
        const long long col1 = ColumnOf(k0.c + kSkinDirectionTolerance + kRoundingSlack);
        int best = INT_MAX;
        for (long long row = std::max(row0, 0LL); row <= row1; ++row)
            for (long long col = std::max(col0, 0LL); col <= std::min(col1, kDirectionCells); ++col) {
                auto it = cells_.find(CellKey(row, col));
                if (it == cells_.end()) continue;
                const CellRange& cell = it->second;
                for (unsigned i = NextFree(cell.begin, used); i < cell.end; i = NextFree(i + 1, used)) {
                    const Entry& e = entries_[i];
                    if (e.index >= best) break;
                    if (KeyMatches(e.key, k0, tolerance_)) {
                        best = e.index;
                        break;
                    }
                }
            }
        return best == INT_MAX ? -1 : best;
    }

private:
    // The first entry at or after i whose vertex is not used yet (entries_.size() when none).
    // Used entries are linked past, with the paths shortened as they are walked, so that a
    // search never steps over the same used entry twice for long.
    unsigned NextFree(unsigned i, const std::vector<unsigned char>& used) {
        const unsigned size = static_cast<unsigned>(entries_.size());
        for (;;) {
            unsigned root = i;
            while (link_[root] != root) root = link_[root];
            while (link_[i] != root) {
                const unsigned next = link_[i];
                link_[i] = root;
                i = next;
            }
            if (root == size || !used[entries_[root].index]) return root;
            link_[root] = root + 1;  // used since the last look: linked past from now on
            i = root + 1;
        }
    }

    long long RowOf(double d) const {
        const double r = std::floor(d / cellD_);
        return r < -1.0 ? -1 : (r > 1e15 ? static_cast<long long>(1e15) : static_cast<long long>(r));
    }
    static long long ColumnOf(double c) {
        const double col = std::floor((c + 1.0) / kDirectionCell);
        return col < -1.0 ? -1 : (col > 1e15 ? static_cast<long long>(1e15) : static_cast<long long>(col));
    }
    static long long CellKey(long long row, long long col) { return row * (kDirectionCells + 1) + col; }

    float tolerance_;
    double cellD_ = 1.0;
    std::vector<Entry> entries_;
    std::vector<unsigned> link_;  // NextFree's links: itself when not known to be used
    std::unordered_map<long long, CellRange> cells_;
};

}  // namespace

void SkinMirrorMatchFast(const SkinRecordArray& records, int destSide, float tolerance,
                         const cmatrix4& world, SkinMirrorRun& run) {
    const int n = static_cast<int>(run.verts.size());
    // Step 2.2 by bone: a vertex is a source when any of its bones is off the destination side.
    std::unordered_map<const cnode*, int> recordOf;
    for (int r = records.count - 1; r >= 0; --r) recordOf[records.data[r]->node] = r;
    run.source.SetCount(n);
    run.pair.SetCount(n);
    run.sourceCount = 0;
    // The source vertices of each record, ascending: those with a weight on its node.
    std::vector<std::vector<int>> sourcesOf(records.count);
    for (int v = 0; v < n; ++v) {
        if (!run.present[v]) continue;
        const cskinvertex& vert = run.verts[v];
        bool isSource = false;
        for (int k = 0; k < vert.numWeights && k < QV_MAX_SKIN_WEIGHTS; ++k) {
            auto it = recordOf.find(vert.weights[k].bone);
            if (it == recordOf.end() || !NotDestination(records.data[it->second], destSide)) continue;
            isSource = true;
            if (WeightOn(vert, vert.weights[k].bone) == &vert.weights[k])  // once per bone
                sourcesOf[it->second].push_back(v);
        }
        if (isSource) {
            run.source.Set(v, true);
            ++run.sourceCount;
        }
    }
    run.writes.reserve(run.sourceCount);
    // Positions packed once, and the candidates: present vertices that are not sources.
    std::vector<cpoint3> pos(n);
    std::vector<int> candidates;
    for (int v = 0; v < n; ++v) {
        pos[v] = run.verts[v].pos;
        if (run.present[v] && !run.source[v]) candidates.push_back(v);
    }
    std::unordered_map<cnode*, cnode*> outside;  // bones outside the hierarchy, looked up once
    auto mirrorBone = [&records, &recordOf, &outside](cnode* bone) -> cnode* {
        auto it = recordOf.find(bone);
        if (it == recordOf.end()) {
            if (!bone) return nullptr;
            auto known = outside.find(bone);
            if (known == outside.end()) known = outside.emplace(bone, SkinOutsideMirror(bone)).first;
            return known->second;
        }
        const SkinBoneRecord* r = records.data[it->second];
        return r->partner ? r->partner->node : r->node;
    };
    // Grids by target record, built when first searched and dropped after their last record.
    std::vector<int> usesLeft(records.count, 0);
    auto targetOf = [&records](int r) {
        const SkinBoneRecord* rec = records.data[r];
        return rec->partner ? rec->partnerIndex : r;
    };
    for (int r = 0; r < records.count; ++r)
        if (NotDestination(records.data[r], destSide) && !sourcesOf[r].empty()) ++usesLeft[targetOf(r)];
    std::vector<unsigned char> used(n, 0);  // pair value 1, as a byte per vertex
    std::unordered_map<int, TargetGrid> grids;
    for (int r = 0; r < records.count; ++r) {
        const SkinBoneRecord* record = records.data[r];
        if (!NotDestination(record, destSide) || sourcesOf[r].empty()) continue;
        const int t = targetOf(r);
        auto it = grids.find(t);
        if (it == grids.end())
            it = grids.emplace(t, TargetGrid(pos, candidates, world * Inverse(records.data[t]->matrix),
                                             tolerance)).first;
        for (int v : sourcesOf[r]) {
            const Key k0 = KeyOf(WeightOn(run.verts[v], record->node)->offset);
            const int m = it->second.Find(k0, used);
            if (m < 0) continue;
            Copy(v, m, run, mirrorBone);
            used[m] = 1;
        }
        if (--usesLeft[t] == 0) grids.erase(it);
    }
}
