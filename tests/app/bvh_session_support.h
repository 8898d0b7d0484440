// Shared pieces of the BVH session tests: a biped with the modify panel open, the script lines
// of "Load BVH", generated BVH files of the classic layout, and scene comparisons.
#pragma once

#include <fstream>
#include <string>
#include <vector>

#include "session_fixture.h"
#include "tests/common/bvh_text.h"

namespace qvapp::test {

using bvhtext::ClassicBvh;
using bvhtext::WideBvh;

class BvhSession : public SessionTest {
protected:
    // Writes text into the test's folder; answers the path.
    std::string Write(const std::string& name, const std::string& text) {
        const auto path = dir_ / name;
        std::ofstream(path, std::ios::binary) << text;
        return path.string();
    }
};

// A new scene with a biped of the height dragged at the origin, the modify panel open on its root.
inline std::string BipedScript(float height) {
    return "new\ncreate \"Bones\" \"Biped\"\ndrag 0 0 0 " + std::to_string(height) +
           "\nclose\nselect \"Bip01\"\nmodify \"Biped\"\n";
}

// "Load BVH", the file dialog answered with the path, then the given answers.
inline std::string LoadScript(const std::string& path, const std::string& answers = "") {
    return "press \"Load BVH\"\nfile \"" + path + "\"\n" + answers;
}

inline std::vector<int> KeyTimes(const Json& dump, const std::string& node) {
    std::vector<int> out;
    const Json n = NodeNamed(dump, node);
    for (const Json& k : n["keys"]) out.push_back(k["t"].get<int>());
    return out;
}

inline std::vector<int> Range(int from, int to) {
    std::vector<int> out;
    for (int t = from; t <= to; ++t) out.push_back(t);
    return out;
}

// What a load changes and undo gives back: every node and the selection.
inline Json SceneState(const Json& dump) {
    return Json{{"nodes", dump["nodes"]}, {"selection", dump["selection"]}};
}

// The whole dump as it was (time settings, nodes, selection, panel, undo and redo history)
// but for one more message box, titled by the reader or the import, saying `reason`.
inline void ExpectUnchangedButForMessage(const Json& before, const Json& after,
                                         const std::string& reason) {
    Json a = before, b = after;
    a.erase("messages");
    b.erase("messages");
    EXPECT_EQ(b, a) << "the scene changed";
    ASSERT_EQ(after["messages"].size(), before["messages"].size() + 1);
    const Json& m = after["messages"].back();
    EXPECT_TRUE(m["caption"] == "BVH Loader" || m["caption"] == "Biped - Load BVH") << m.dump();
    EXPECT_NE(m["text"].get<std::string>().find(reason), std::string::npos) << m.dump();
}

}  // namespace qvapp::test
