// BVH texts made for tests and benchmarks: a classic capture of any length, a skeleton of a
// given width, and a synthetic many-joint take.
#pragma once

#include <cmath>
#include <cstdio>
#include <iterator>
#include <string>

namespace bvhtext {

// A file in the classic layout (Hips with six channels; legs Hip/Knee/Ankle, arms
// Collar/Shoulder/Elbow/Wrist, Chest, Neck, Head with three), inches, Y up, a smooth walk:
// the root travels 1.5 units per frame along z and every joint swings a little.
inline std::string ClassicBvh(int frames, float frameTime) {
    struct J { const char* name; int depth; float x, y, z; bool end; };
    const J joints[] = {
        {"Chest", 1, 0, 5, 0, false},         {"Neck", 2, 0, 15, 0, false},
        {"Head", 3, 0, 5, 0, true},           {"LeftCollar", 2, 1, 14, 0, false},
        {"LeftShoulder", 3, 5, 0, 0, false},  {"LeftElbow", 4, 11, 0, 0, false},
        {"LeftWrist", 5, 9, 0, 0, true},      {"RightCollar", 2, -1, 14, 0, false},
        {"RightShoulder", 3, -5, 0, 0, false}, {"RightElbow", 4, -11, 0, 0, false},
        {"RightWrist", 5, -9, 0, 0, true},    {"LeftHip", 1, 3.5f, 0, 0, false},
        {"LeftKnee", 2, 0, -17, 0, false},    {"LeftAnkle", 3, 0, -16, 0, true},
        {"RightHip", 1, -3.5f, 0, 0, false},  {"RightKnee", 2, 0, -17, 0, false},
        {"RightAnkle", 3, 0, -16, 0, true},
    };
    std::string t = "HIERARCHY\nROOT Hips\n{\n\tOFFSET 0 35 0\n"
                    "\tCHANNELS 6 Xposition Yposition Zposition Zrotation Xrotation Yrotation\n";
    int open = 1;
    for (const J& j : joints) {
        for (; open > j.depth; --open) t += std::string(open - 1, '\t') + "}\n";
        const std::string in(j.depth, '\t');
        t += in + "JOINT " + j.name + "\n" + in + "{\n" + in + "\tOFFSET " + std::to_string(j.x) +
             " " + std::to_string(j.y) + " " + std::to_string(j.z) + "\n" + in +
             "\tCHANNELS 3 Zrotation Xrotation Yrotation\n";
        open = j.depth + 1;
        if (j.end) t += in + "\tEnd Site\n" + in + "\t{\n" + in + "\t\tOFFSET 0 -3 4\n" + in + "\t}\n";
    }
    for (; open > 0; --open) t += std::string(open - 1, '\t') + "}\n";
    t += "MOTION\nFrames: " + std::to_string(frames) + "\nFrame Time: " + std::to_string(frameTime) + "\n";
    for (int f = 0; f < frames; ++f) {
        const float s = std::sin(0.2f * f);
        t += "0 " + std::to_string(35 + s) + " " + std::to_string(1.5f * f) + " 0 0 " +
             std::to_string(5 * s);
        for (size_t j = 0; j < std::size(joints); ++j)
            t += " " + std::to_string(3 * s) + " " + std::to_string(20 * s * ((j % 3) - 1)) + " " +
                 std::to_string(4 * s);
        t += "\n";
    }
    return t;
}

// A skeleton with the given number of joints with children: Hips, the right leg
// (RightHip, RightKnee, RightAnkle) and further joints under Hips with an End Site each.
inline std::string WideBvh(int withChildren) {
    std::string t = "HIERARCHY\nROOT Hips\n{\nOFFSET 0 0 0\nCHANNELS 6 a b c d e f\n"
                    "JOINT RightHip\n{\nOFFSET -3 0 0\nCHANNELS 3 a b c\n"
                    "JOINT RightKnee\n{\nOFFSET 0 -17 0\nCHANNELS 3 a b c\n"
                    "JOINT RightAnkle\n{\nOFFSET 0 -16 0\nCHANNELS 3 a b c\n"
                    "End Site\n{\nOFFSET 0 -3 4\n}\n}\n}\n}\n";
    for (int i = 4; i < withChildren; ++i)
        t += "JOINT Extra" + std::to_string(i) + "\n{\nOFFSET 0 1 0\nCHANNELS 3 a b c\nEnd Site\n{\n"
             "OFFSET 0 1 0\n}\n}\n";
    t += "}\nMOTION\nFrames: 1\nFrame Time: 0.033333\n";
    for (int i = 0; i < 3 * (withChildren + 1); ++i) t += "0 ";
    return t + "\n";
}

// A synthetic take: Hips with six channels and `joints` - 1 more in chains of five below it,
// three rotation channels each, values with two decimals that change every frame.
inline std::string SyntheticBvh(int joints, int frames) {
    std::string t = "HIERARCHY\nROOT Hips\n{\n\tOFFSET 0 0 0\n"
                    "\tCHANNELS 6 Xposition Yposition Zposition Zrotation Xrotation Yrotation\n";
    int open = 0;
    for (int j = 1; j < joints; ++j) {
        t += "JOINT J" + std::to_string(j) + "\n{\n\tOFFSET 0 1.5 0.25\n"
             "\tCHANNELS 3 Zrotation Xrotation Yrotation\n";
        ++open;
        if (j % 5 == 0 || j == joints - 1) {
            t += "End Site\n{\n\tOFFSET 0 1 0\n}\n";
            for (; open > 0; --open) t += "}\n";
        }
    }
    t += "}\nMOTION\nFrames: " + std::to_string(frames) + "\nFrame Time: 0.008333\n";
    char v[32];
    for (int f = 0; f < frames; ++f) {
        for (int c = 0; c < 3 * joints + 3; ++c) {
            std::snprintf(v, sizeof v, "%.2f ", std::sin(0.01 * f + c) * 90.0);
            t += v;
        }
        t += "\n";
    }
    return t;
}

}  // namespace bvhtext
