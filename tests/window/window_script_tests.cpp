// Session scripts replayed in the window: the screenshot shows the biped where its bones are
// and the panel with its group boxes; the program's `open` saves it and exits with the
// script's status.
#include <sys/wait.h>

#include <cstdio>
#include <fstream>

#include "quorvane/interface.h"
#include "quorvane/node.h"
#include "scene_view.h"
#include "window/dialog_widgets.h"
#include "window_fixture.h"
#include "tests/common/run_command.h"

namespace qvapp::test {
namespace {

constexpr const char* kBipedScript =
    "create \"Bones\" \"Biped\"\n"
    "drag 0 0 0 8 ground\n"
    "close\n"
    "modify \"Biped\"\n";

// Group frames are one pixel wide; the zoomed rectangle may round either way.
constexpr int kFrameSlack = 2;    // pixels
constexpr int kBoneRadius = 3;    // pixels around a bone's click point that its drawing covers

// The program with its arguments; status and output.
CommandRun Program(const std::string& args) { return RunCommand(std::string(QUORVANE_PATH) + " " + args); }

class WindowScript : public WindowTest {};

TEST_F(WindowScript, ScreenshotShowsTheBipedAtItsBonesAndThePanelWithItsGroups) {
    window::WindowOptions options;
    options.script = WriteScript(kBipedScript);
    options.screenshot = Path("shot.png");
    window::HostWindow window(tools_, options);
    ASSERT_TRUE(window.Open()) << window.Error();
    ASSERT_EQ(window.Run(), 0);
    const Picture shot = ReadPicture(options.screenshot);
    ASSERT_GT(shot.width, 0);

    // Bones where the scene has them: their click points, projected through the window's view.
    const auto rect = window.ViewportRect();
    qv::gl::View view = window.CurrentView();
    const int t = GetAnimTime();
    for (const char* name : {"Bip01 L Calf", "Bip01 R Calf", "Bip01 L UpperArm", "Bip01 R Forearm"}) {
        cnode* node = Interface::FindNode(name);
        ASSERT_NE(node, nullptr) << name;
        cpoint3 at = ClickPoint(node, t), win;
        view.Project(&at, &win, 1);
        EXPECT_TRUE(shot.DrawnNear(rect.x + int(win.x), rect.y + int(win.y), kBoneRadius)) << name;
    }
    // Away from the biped the viewport shows its background.
    EXPECT_TRUE(shot.IsGrey(rect.x + 4, rect.y + 4));
    EXPECT_FALSE(shot.DrawnNear(rect.x + 10, rect.y + 10, kBoneRadius));

    // Each group box of the panel that fits in the window has its frame on its left edge.
    const auto origin = window.PanelOrigin();
    int groups = 0;
    for (const qv::ui::ControlInfo& c : qv::ui::Controls(tools_.Panel())) {
        if (c.kind != "group" || !c.visible) continue;
        const int x = int(origin.x + c.rect.left * window::kDialogZoom);
        const int y = int(origin.y + (c.rect.top + c.rect.bottom) * 0.5f * window::kDialogZoom);
        if (y >= shot.height - int(window::kTimelineHeight)) continue;
        bool frame = false;
        for (int dx = -kFrameSlack; dx <= kFrameSlack && !frame; ++dx) {
            const unsigned char* p = shot.At(x + dx, y);
            frame = std::abs(p[0] - 140) <= 8 && std::abs(p[1] - 140) <= 8 && std::abs(p[2] - 140) <= 8;
        }
        EXPECT_TRUE(frame) << "group \"" << c.caption << "\" at " << x << ", " << y;
        ++groups;
    }
    EXPECT_GT(groups, 2);
}

TEST_F(WindowScript, OpenReplaysAScriptSavesTheScreenshotAndExitsWithItsStatus) {
    // A scene file opened in the window, then a script that dumps it.
    ASSERT_EQ(Run(std::string(kBipedScript) + "save \"walker.qscene\"\n"), 0) << Error();
    const std::string dumped = Path("opened.json");
    const std::string script = WriteScript("dump \"" + dumped + "\"\n");
    CommandRun s = Program("open " + Path("walker.qscene") + " --script " + script + " --screenshot " +
                       Path("open.png") + " --module " BIPED_MODULE_PATH);
    ASSERT_EQ(s.status, 0) << s.output;
    std::ifstream in(dumped);
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_NE(text.find("\"Bip01 L Hand\""), std::string::npos);
    const Picture shot = ReadPicture(Path("open.png"));
    EXPECT_EQ(shot.width, 1280);
    EXPECT_EQ(shot.height, 800);

    // A script that fails names its line and the program says so with status 1.
    const std::string bad = WriteScript("new\ntime later\n");
    s = Program("open --script " + bad + " --screenshot " + Path("bad.png"));
    EXPECT_EQ(s.status, 1);
    EXPECT_NE(s.output.find(bad + ":2: time:"), std::string::npos) << s.output;
    // A screenshot without a script to end the window is a usage error.
    EXPECT_EQ(Program("open --screenshot " + Path("x.png")).status, 2);
}

// What a person does from a new biped to a saved walk, with a file dialog and the message box
// it brings up: the window replaying it leaves exactly the scene a headless run leaves.
TEST_F(WindowScript, ReplayInTheWindowLeavesTheSceneAHeadlessRunLeaves) {
    const std::string session =
        "create \"Bones\" \"Biped\"\n"
        "drag 0 0 0 8 ground\n"
        "close\n"
        "select \"Bip01 R UpperArm\"\n"
        "modify \"Biped\"\n"
        "press \"Symmetrical Rotation\"\n"
        "rotate 1 0 0 60 steps 6\n"
        "press \"Symmetrical Rotation\"\n"
        "click \"Bip01\"\n"
        "type \"Num Loops:\" 1\n"
        "press \"Generate Keyframes\"\n"
        "press \"Load BVH\"\n"
        "file cancel\n"
        "save \"walk.qscene\"\n"
        "time 20\n"
        "dump \"" + Path("%s.json") + "\"\n";
    auto scriptFor = [&](const std::string& name) {
        std::string text = session;
        text.replace(text.find("%s"), 2, name);
        const std::string path = Path(name + ".qvs");
        std::ofstream(path) << text;
        return path;
    };
    const std::string module = " --module " BIPED_MODULE_PATH;
    CommandRun run = Program("run " + scriptFor("headless") + " --out " + dir_.string() + module);
    ASSERT_EQ(run.status, 0) << run.output;
    CommandRun open = Program("open --script " + scriptFor("window") + " --screenshot " +
                          Path("walk.png") + module);
    ASSERT_EQ(open.status, 0) << open.output;
    auto read = [](const std::string& path) {
        std::ifstream in(path);
        return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    };
    const std::string headless = read(Path("headless.json")), window = read(Path("window.json"));
    EXPECT_GT(headless.size(), 1000u);
    EXPECT_EQ(headless, window);
    EXPECT_NE(headless.find("\"Generate Keyframes\""), std::string::npos)
        << "the walk's undo level is in the dump";
}

}  // namespace
}  // namespace qvapp::test
