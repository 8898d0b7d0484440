// The golden animation and hand-pose files: their content as plain tables, and a generator
// that lays them out byte by byte from the file layout (little-endian fields, no padding),
// independently of the module's writer. make_golden_files writes them into tests/data once;
// the committed files must load to these tables in every later version.
#pragma once

#include <bit>
#include <cstdint>
#include <string>
#include <vector>

namespace golden {

struct Key {
    int32_t t;
    float pos[3];
    float rot[4];  // x, y, z, w
    float scale[3];
};
struct Bone {
    int32_t slot;
    std::vector<Key> keys;
};
struct Bpd {
    const char* file;
    int32_t frames, fps, start;
    float legMeasure;
    std::vector<Bone> bones;
};
struct HandRecord {
    int32_t link;
    float rot[4];
};
struct Bph {
    const char* file;
    int32_t hand;
    std::vector<HandRecord> records;
};

// A walk-like take of 21 frames: the root stepping along -y and turning, the pelvis, both
// upper arms (the right one through 0, 20, 40, 60 and 30 degrees) and a right finger link
// turning, a record for a slot no biped has (99) between them, and a root scale the load must
// not use.
inline const Bpd& Walk() {
    static const Bpd b{
        "walk_v1000.bpd", 21, 25, 10, 1.5f,
        {{0,
          {{0, {0.0f, 0.0f, 0.0f}, {0.0f, 0.0f, 0.0f, 1.0f}, {2.0f, 2.0f, 2.0f}},
           {10, {0.25f, -1.5f, 0.125f}, {0.0f, 0.0f, 0.258819f, 0.9659258f}, {2.0f, 2.0f, 2.0f}},
           {20, {0.5f, -3.0f, 0.0f}, {0.0f, 0.0f, 0.5f, 0.8660254f}, {2.0f, 2.0f, 2.0f}}}},
         {1,
          {{0, {9.0f, 9.0f, 9.0f}, {0.1f, 0.2f, 0.3f, 0.927362f}, {1.0f, 1.0f, 1.0f}},
           {20, {9.0f, 9.0f, 9.0f}, {-0.1f, 0.2f, -0.3f, 0.927362f}, {1.0f, 1.0f, 1.0f}}}},
         {46,
          {{0, {0.0f, 0.0f, 0.0f}, {0.0f, 0.0f, 0.0f, 1.0f}, {1.0f, 1.0f, 1.0f}},
           {5, {0.0f, 0.0f, 0.0f}, {0.1736482f, 0.0f, 0.0f, 0.9848078f}, {1.0f, 1.0f, 1.0f}},
           {10, {0.0f, 0.0f, 0.0f}, {0.3420201f, 0.0f, 0.0f, 0.9396926f}, {1.0f, 1.0f, 1.0f}},
           {15, {0.0f, 0.0f, 0.0f}, {0.5f, 0.0f, 0.0f, 0.8660254f}, {1.0f, 1.0f, 1.0f}},
           {20, {0.0f, 0.0f, 0.0f}, {0.258819f, 0.0f, 0.0f, 0.9659258f}, {1.0f, 1.0f, 1.0f}}}},
         {99,
          {{0, {1.0f, 2.0f, 3.0f}, {0.0f, 1.0f, 0.0f, 0.0f}, {1.0f, 1.0f, 1.0f}},
           {20, {1.0f, 2.0f, 3.0f}, {0.0f, 1.0f, 0.0f, 0.0f}, {1.0f, 1.0f, 1.0f}}}},
         {60,
          {{0, {0.0f, 0.0f, 0.0f}, {0.0f, 0.0f, 0.6f, 0.8f}, {1.0f, 1.0f, 1.0f}},
           {20, {0.0f, 0.0f, 0.0f}, {0.0f, 0.0f, -0.6f, 0.8f}, {1.0f, 1.0f, 1.0f}}}},
         {65,
          {{0, {0.0f, 0.0f, 0.0f}, {0.0f, 0.6f, 0.0f, 0.8f}, {1.0f, 1.0f, 1.0f}},
           {20, {0.0f, 0.0f, 0.0f}, {0.0f, 0.8f, 0.0f, 0.6f}, {1.0f, 1.0f, 1.0f}}}}}};
    return b;
}

// A one-frame pose saved at frame 7: the root and the head.
inline const Bpd& OneFrame() {
    static const Bpd b{
        "pose_v1000_one_frame.bpd", 1, 30, 7, 2.0f,
        {{0, {{0, {1.0f, 1.0f, 4.0f}, {0.0f, 0.0f, 0.7071068f, 0.7071068f}, {1.0f, 1.0f, 1.0f}}}},
         {44, {{0, {0.0f, 0.0f, 0.0f}, {0.0f, 0.3f, 0.0f, 0.9539392f}, {1.0f, 1.0f, 1.0f}}}}}};
    return b;
}

// A right hand: the hand and all 15 finger links, each turned about z by its own amount.
inline const Bph& RightHand() {
    static const Bph h = [] {
        Bph out{"hand_v1000_right.bph", 48, {}};
        for (int32_t link = 0; link < 16; ++link) {
            const float z = 0.03125f * static_cast<float>(link + 1);
            out.records.push_back({link, {0.0625f, -0.125f, z, 0.875f}});
        }
        return out;
    }();
    return h;
}

// A left hand with three finger links only, and a record for a link no hand has (20).
inline const Bph& LeftHandPartial() {
    static const Bph h{"hand_v1000_left_partial.bph", 67,
                       {{0, {0.1f, 0.2f, 0.3f, 0.9273618f}},
                        {1, {0.0f, 0.0f, 0.5f, 0.8660254f}},
                        {2, {0.25f, 0.0f, 0.0f, 0.9682458f}},
                        {20, {1.0f, 0.0f, 0.0f, 0.0f}}}};
    return h;
}

// --- the layout, one byte at a time ---------------------------------------------------------

inline void PutInt(std::string& out, int32_t v) {
    const uint32_t u = static_cast<uint32_t>(v);
    for (int b = 0; b < 4; ++b) out.push_back(static_cast<char>((u >> (8 * b)) & 0xFF));
}
inline void PutFloat(std::string& out, float f) {
    PutInt(out, static_cast<int32_t>(std::bit_cast<uint32_t>(f)));
}
inline void PutMagic(std::string& out, const char* four) { out.append(four, 4); }

// Header (28 bytes), then per bone slot, key count and 44-byte keys.
inline std::string BpdBytes(const Bpd& b) {
    std::string out;
    PutMagic(out, "BPDZ");
    PutInt(out, 1000);
    PutInt(out, b.frames);
    PutInt(out, b.fps);
    PutInt(out, b.start);
    PutFloat(out, b.legMeasure);
    PutInt(out, static_cast<int32_t>(b.bones.size()));
    for (const Bone& bone : b.bones) {
        PutInt(out, bone.slot);
        PutInt(out, static_cast<int32_t>(bone.keys.size()));
        for (const Key& k : bone.keys) {
            PutInt(out, k.t);
            for (float v : k.pos) PutFloat(out, v);
            for (float v : k.rot) PutFloat(out, v);
            for (float v : k.scale) PutFloat(out, v);
        }
    }
    return out;
}

// Header (16 bytes), then 20-byte records of link and rotation.
inline std::string BphBytes(const Bph& h) {
    std::string out;
    PutMagic(out, "BPDH");
    PutInt(out, 1000);
    PutInt(out, h.hand);
    PutInt(out, static_cast<int32_t>(h.records.size()));
    for (const HandRecord& r : h.records) {
        PutInt(out, r.link);
        for (float v : r.rot) PutFloat(out, v);
    }
    return out;
}

}  // namespace golden
