// The skin tool's bone records: sides from " l "/"left" and " r "/"right" in lowercased names,
// partners by the name with the side word swapped, linked both ways (Part 6.1, "Pick").
#include "skin/BipSkinRecords.h"

#include <cctype>
#include <cstring>
#include <string>

#include "quorvane/interface.h"
#include "quorvane/node.h"
#include "quorvane/util.h"

namespace {

// Entries an append adds to a full record array.
constexpr int kRecordGrowth = 16;

struct SideWord {
    const char* text;
    const char* counterpart;
    int side;
};
// Searched in this order; the first found decides.
constexpr SideWord kSideWords[] = {{" l ", " r ", kSkinSideLeft},
                                   {"left", "right", kSkinSideLeft},
                                   {" r ", " l ", kSkinSideRight},
                                   {"right", "left", kSkinSideRight}};

std::string Lowered(const cnode* node) {
    const char* name = node->GetName() ? node->GetName() : "";
    std::string lower(name, strnlen(name, kSkinNameChars));
    for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return lower;
}

void Append(SkinRecordArray& records, SkinBoneRecord* record) {
    if (records.count == records.capacity) {
        const int grown = records.capacity + kRecordGrowth;
        auto** data = static_cast<SkinBoneRecord**>(array_new(sizeof(SkinBoneRecord*), grown));
        if (records.count > 0)
            std::memcpy(data, records.data, sizeof(SkinBoneRecord*) * records.count);
        array_delete(records.data);
        records.data = data;
        records.capacity = grown;
    }
    records.data[records.count++] = record;
}

}  // namespace

void SkinRecordsFree(SkinRecordArray& records) {
    for (int i = 0; i < records.count; ++i) delete records.data[i];
    array_delete(records.data);
    records = SkinRecordArray{};
}

namespace {
// The side word found first in the lowercased name (null when none) and where it is.
const SideWord* FindSideWord(const std::string& lower, size_t& at) {
    for (const SideWord& word : kSideWords)
        if ((at = lower.find(word.text)) != std::string::npos) return &word;
    return nullptr;
}
}  // namespace

cnode* SkinOutsideMirror(cnode* node) {
    const std::string lower = Lowered(node);
    size_t at = 0;
    const SideWord* word = FindSideWord(lower, at);
    if (!word) return node;
    std::string partnerName = lower;
    partnerName.replace(at, std::strlen(word->text), word->counterpart);
    for (int i = 0; i < Interface::NumNodes(); ++i)
        if (cnode* n = Interface::GetNodeAt(i); n && Lowered(n) == partnerName) return n;
    return node;
}

void SkinRecordsAdd(SkinRecordArray& records, cnode* node, int t) {
    auto* record = new SkinBoneRecord;
    record->node = node;
    record->matrix = node->GetNodeTM(t, 7);
    Append(records, record);
    const int index = records.count - 1;

    const std::string lower = Lowered(node);
    size_t at = 0;
    if (const SideWord* word = FindSideWord(lower, at)) {
        record->side = word->side;
        std::string partnerName = lower;
        partnerName.replace(at, std::strlen(word->text), word->counterpart);
        // A later equal name replaces an earlier one as this record's partner.
        for (int i = 0; i < index; ++i) {
            SkinBoneRecord* other = records.data[i];
            if (Lowered(other->node) != partnerName) continue;
            record->partner = other;
            record->partnerIndex = i;
            other->partner = record;
            other->partnerIndex = index;
        }
    }
}

void SkinRecordsPick(SkinRecordArray& records, cnode* root, int t) {
    SkinRecordsFree(records);
    struct Walk {
        static void Add(SkinRecordArray& r, cnode* n, int time) {
            SkinRecordsAdd(r, n, time);
            for (int i = 0; i < n->NumChildren(); ++i)
                if (cnode* c = n->GetChild(i)) Add(r, c, time);
        }
    };
    Walk::Add(records, root, t);
}

const SkinBoneRecord* SkinRecordOf(const SkinRecordArray& records, const cnode* node) {
    for (int i = 0; i < records.count; ++i)
        if (records.data[i]->node == node) return records.data[i];
    return nullptr;
}

cnode* SkinMirrorBone(const SkinRecordArray& records, cnode* node) {
    const SkinBoneRecord* r = SkinRecordOf(records, node);
    if (!r) return node ? SkinOutsideMirror(node) : nullptr;
    return r->partner ? r->partner->node : r->node;
}
