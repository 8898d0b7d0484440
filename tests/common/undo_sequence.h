// Random sequences of user actions as session-script text, for checking that undo gives every
// scene back: a seeded generator of actions (biped creation with random panel values,
// selections, moves and turns with the modify tool's modes, poses, pastes, walks, file loads,
// anchors on and off), the check that undoing all of them gives the first scene and redoing
// all of them the last, and the shrinking of a failing sequence to the fewest actions.
#pragma once

#include <cstdint>
#include <cstdlib>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

namespace undoseq {

using Json = nlohmann::ordered_json;  // as the host's dump reads

// The takes the sequences load, put beside the output by the caller: a BVH take that fits the
// animation range from frame 0, and an animation file (the golden walk of tests/data/).
inline const char kBvhTakeFile[] = "take.bvh";
inline const char kBpdTakeFile[] = "take.bpd";

// Bones every biped has whatever its counts.
inline const char* const kBones[] = {
    "Bip01",          "Bip01 Pelvis",     "Bip01 Spine",     "Bip01 Neck",     "Bip01 Head",
    "Bip01 L Thigh",  "Bip01 L Calf",     "Bip01 L Foot",    "Bip01 R Thigh",  "Bip01 R Calf",
    "Bip01 R Foot",   "Bip01 L Clavicle", "Bip01 L UpperArm", "Bip01 L Forearm", "Bip01 L Hand",
    "Bip01 R Clavicle", "Bip01 R UpperArm", "Bip01 R Forearm", "Bip01 R Hand"};
// Bones with a mirror bone, on which the rotation modes are offered.
inline const char* const kSidedBones[] = {"Bip01 L Thigh", "Bip01 R Calf", "Bip01 L UpperArm",
                                          "Bip01 R Forearm", "Bip01 R Hand", "Bip01 L Foot"};
inline const char* const kAnchors[] = {"Left Foot", "Right Foot", "Left Hand", "Right Hand"};
inline const char* const kHandPoses[] = {"Fist", "Default Hand Poses/Skin",
                                         "Default Hand Poses/Idle"};

// A small deterministic generator: the same seed gives the same script on every platform.
class Rng {
public:
    explicit Rng(uint32_t seed) : engine_(seed) {}
    int Int(int lo, int hi) { return lo + static_cast<int>(engine_() % uint32_t(hi - lo + 1)); }
    bool Chance(int percent) { return Int(1, 100) <= percent; }
    // A decimal with one digit after the point, in [lo, hi].
    std::string Decimal(int lo, int hi) {
        const int tenths = Int(lo * 10, hi * 10);
        return (tenths < 0 ? "-" : "") + std::to_string(std::abs(tenths) / 10) + "." +
               std::to_string(std::abs(tenths) % 10);
    }
    template <size_t N>
    const char* Pick(const char* const (&items)[N]) { return items[Int(0, N - 1)]; }

private:
    std::mt19937 engine_;
};

// Every random draw below is a statement of its own, so that the order of draws (and so the
// script a seed gives) does not depend on how a compiler orders the operands of an expression.

// The creation panel's counts, at random within what the panel takes.
inline std::string RandomCounts(Rng& rng) {
    const char* fields[] = {"Num Spines:", "Num Fingers:", "Num Finger Links:", "Num Toes:",
                            "Num Toe Links:"};
    const int lo[] = {1, 0, 1, 1, 1}, hi[] = {4, 5, 3, 5, 3};
    std::string s;
    for (int i = 0; i < 5; ++i) {
        const int value = rng.Int(lo[i], hi[i]);
        s += std::string("type \"") + fields[i] + "\" " + std::to_string(value) + "\n";
    }
    return s;
}

// The first lines of every sequence: a biped of random counts and height, the modify panel
// open on its root at frame 0.
inline std::string StartScript(uint32_t seed) {
    Rng rng(seed ^ 0x9E3779B9u);
    std::string s = "new\ncreate \"Bones\" \"Biped\"\n";
    s += RandomCounts(rng);
    const std::string height = rng.Decimal(6, 10);
    return s + "drag 0 0 0 " + height + " ground\nclose\nselect \"Bip01\"\nmodify \"Biped\"\n";
}

// Each action is one or more script lines that end with the modify panel open on a bone of
// Bip01 (or, after a selection, on the bone selected), no dialog open, and the rotation modes
// and anchors off. (A selection rebinds the tool, which turns its anchors off without
// unticking their boxes, so an anchor is switched off by the action that switched it on.)
struct Generator {
    explicit Generator(uint32_t seed) : rng(seed) {}

    static std::string Modify(const char* bone) {
        return std::string("select \"") + bone + "\"\nmodify \"Biped\"\n";
    }
    std::string Drag() {
        const int steps = rng.Int(1, 4);
        std::string s;
        if (rng.Chance(50)) {
            s = "move " + rng.Decimal(-2, 2);
            s += " " + rng.Decimal(-2, 2);
            s += " " + rng.Decimal(-1, 1);
        } else {
            const char* axes[] = {"1 0 0", "0 1 0", "0 0 1", "1 1 0"};
            s = std::string("rotate ") + rng.Pick(axes);
            s += " " + std::to_string(rng.Int(-90, 90));
        }
        return s + " steps " + std::to_string(steps) + "\n";
    }

    std::string Next() {
        std::string s;
        switch (rng.Int(0, 13)) {
        case 0: return "time " + std::to_string(rng.Int(0, 60)) + "\n";
        case 1: return rng.Chance(50) ? "anim on\n" : "anim off\n";
        case 2:
            s = Modify(rng.Pick(kBones));
            return s + Drag();
        case 3: {  // a turn with a rotation mode on, the mode switched off again
            const char* mode = rng.Chance(50) ? "Symmetrical Rotation" : "Opposite Rotation";
            s = Modify(rng.Pick(kSidedBones)) + "press \"" + mode + "\"\n";
            s += Drag();
            return s + "press \"" + mode + "\"\n";
        }
        case 4:  // the root's keys carried along with "Transform"
            s = Modify("Bip01") + "press \"Transform\"\n";
            s += Drag();
            return s + "press \"Transform\"\n";
        case 5:
            return Modify("Bip01") + (rng.Chance(50) ? "press \"Default Body Poses/Idle\"\n"
                                                     : "press \"Default Body Poses/Skin\"\n");
        case 6: {
            const char* hands[] = {"press \"Right Hand\"\n", "press \"Left Hand\"\n",
                                   "press \"Right Hand\"\npress \"Left Hand\"\n"};
            s = Modify("Bip01") + "press \"" + rng.Pick(kHandPoses) + "\"\n";
            return s + rng.Pick(hands) + "press \"OK\"\n";
        }
        case 7: {
            const int from = rng.Int(0, 60), to = rng.Int(0, 60);
            const char* paste = rng.Chance(50) ? "Paste" : "Paste Mirrored";
            return Modify("Bip01") + "time " + std::to_string(from) + "\npress \"Copy\"\ntime " +
                   std::to_string(to) + "\npress \"" + paste + "\"\npress \"OK\"\n";
        }
        case 8: {  // a walk or run that fits in the animation range from frame 0
            const char* gait = rng.Chance(50) ? "Walk" : "Run";
            const int loops = rng.Int(1, 2);
            return Modify("Bip01") + "time 0\npress \"" + gait + "\"\ntype \"Num Loops:\" " +
                   std::to_string(loops) + "\npress \"Generate Keyframes\"\n";
        }
        case 9:  // the animation file at frame 0, once, over the keys there, all bones
            return Modify("Bip01") + "time 0\npress \"File/Load\"\nfile \"" + kBpdTakeFile +
                   "\"\ntype \"Insert At:\" 0\ntype \"Repeat:\" 1\npress \"Existing Keys/Clear\"\n"
                   "press \"OK\"\n";
        case 10:
            return Modify("Bip01") + "time 0\npress \"Load BVH\"\nfile \"" + kBvhTakeFile + "\"\n";
        case 11: {  // an anchor switched on, the body moved against it, the anchor off again
            const char* anchor = rng.Pick(kAnchors);
            s = Modify("Bip01") + "press \"" + anchor + "\"\n";
            s += Drag();
            return s + "press \"" + anchor + "\"\n";
        }
        case 12:
            if (rng.Chance(50)) return "select \"" + std::string(rng.Pick(kBones)) + "\"\n";
            return "deselect\n" + Modify(rng.Pick(kBones));
        default: {  // another biped with random counts, dragged beside the first
            s = "create \"Bones\" \"Biped\"\n" + RandomCounts(rng);
            const int x = rng.Int(3, 9);
            s += "drag " + std::to_string(x) + " 0 0 " + rng.Decimal(4, 9);
            return s + " ground\nclose\n" + Modify("Bip01");
        }
        }
    }

    Rng rng;
};

// `count` actions from the seed.
inline std::vector<std::string> Actions(uint32_t seed, int count) {
    Generator g(seed);
    std::vector<std::string> out;
    for (int i = 0; i < count; ++i) out.push_back(g.Next());
    return out;
}

inline std::string Join(const std::vector<std::string>& actions) {
    std::string s;
    for (const std::string& a : actions) s += a;
    return s;
}

// What undo and redo must give back: every node (hierarchy, keys, placement, colour), the
// selection and the undo list. Time settings and the open panel are not part of the history.
inline Json History(const Json& dump) {
    return Json{{"nodes", dump["nodes"]}, {"selection", dump["selection"]}, {"undo", dump["undo"]}};
}

// The modify panel's anchor check boxes (ids), and the lines that switch off those checked.
inline const int kAnchorBoxes[] = {1110, 1111, 1112, 1113};
inline std::string AnchorsOff(const Json& dump) {
    std::string lines;
    if (!dump["panel"].is_object()) return lines;
    for (const Json& c : dump["panel"]["controls"])
        for (int id : kAnchorBoxes)
            if (c["id"] == id && c["checked"] == true) lines += "press #" + std::to_string(id) + "\n";
    return lines;
}

// Runs script text in the session so far; answers the script's status and the dump after it.
using Runner = std::function<int(const std::string& script, Json& dump, std::string& error)>;

// Runs the start and the actions, then undoes every level they made and redoes them all.
// Empty when undo gave the first scene and redo the last; else what went wrong.
inline std::string CheckUndoRedo(const Runner& run, const std::string& start,
                                 const std::vector<std::string>& actions) {
    Json first, last, undone, redone;
    std::string error;
    if (run(start, first, error)) return "start: " + error;
    if (run(Join(actions), last, error)) return "actions: " + error;
    // Anchored limbs are solved again on every host event, undo's and redo's included, so
    // anchors still on would move the limbs the undo gives back: they are switched off first,
    // as in the panel (this changes no key and makes no undo level).
    if (const std::string off = AnchorsOff(last); !off.empty() && run(off, last, error))
        return "anchors off: " + error;
    const size_t levels = last["undo"].size() - first["undo"].size();
    if (last["undo"].size() < first["undo"].size()) return "the actions removed undo levels";
    if (levels == 0) return {};
    if (run("undo " + std::to_string(levels) + "\n", undone, error)) return "undo: " + error;
    if (History(undone) != History(first)) return "undo all did not give the first scene back";
    if (run("redo " + std::to_string(levels) + "\n", redone, error)) return "redo: " + error;
    if (History(redone) != History(last)) return "redo all did not give the last scene back";
    return {};
}

// The fewest actions (removing one at a time while the check still fails) that keep failing.
inline std::vector<std::string> Shrink(const std::vector<std::string>& actions,
                                       const std::function<bool(const std::vector<std::string>&)>& fails) {
    std::vector<std::string> best = actions;
    for (bool removed = true; removed;) {
        removed = false;
        for (size_t i = 0; i < best.size(); ++i) {
            std::vector<std::string> fewer = best;
            fewer.erase(fewer.begin() + static_cast<long>(i));
            if (fails(fewer)) {
                best = std::move(fewer);
                removed = true;
                break;
            }
        }
    }
    return best;
}

}  // namespace undoseq
