// Real mouse gestures in the window, sent to the X server (XTest) and read through GLFW's
// input path: a drag with the creation tool makes a biped where it was pressed; a click on
// a bone selects it through the module's hit testing.
#include <cmath>

#include "quorvane/interface.h"
#include "quorvane/node.h"
#include "quorvane/undo.h"
#include "scene_view.h"
#include "window/viewport_input.h"
#include "window_fixture.h"

// X's headers last: their macros (None, Status, Bool) would rename what the others declare.
#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>
#define GLFW_EXPOSE_NATIVE_X11
#include <GLFW/glfw3.h>
#include <GLFW/glfw3native.h>

namespace qvapp::test {
namespace {

constexpr int kSettleFrames = 3;    // frames for the server's events to reach GLFW
constexpr int kDragSteps = 10;      // mouse moves of the creation drag
constexpr int kDragStepPixels = 20;
// The root stands where the press met the ground; a pixel of the press is about 0.03 units
// at this framing, so 0.05 units is well inside one pixel's rounding.
constexpr float kPressTol = 0.05f;

class WindowInput : public WindowTest {
protected:
    void OpenWindow() {
        window_ = std::make_unique<window::HostWindow>(tools_, window::WindowOptions{});
        ASSERT_TRUE(window_->Open()) << window_->Error();
        display_ = glfwGetX11Display();
        Pump(kSettleFrames);
    }
    void TearDown() override {
        window_.reset();
        WindowTest::TearDown();
    }
    void Pump(int frames) {
        for (int i = 0; i < frames; ++i) {
            XSync(display_, False);
            window_->RunFrame();
        }
    }
    // Moves the pointer to a point of the viewport (pixels from its top-left corner).
    void MoveTo(float vx, float vy) {
        int wx = 0, wy = 0;
        glfwGetWindowPos(window_->Handle(), &wx, &wy);
        const auto r = window_->ViewportRect();
        XTestFakeMotionEvent(display_, -1, wx + r.x + int(vx), wy + r.y + int(vy), CurrentTime);
        Pump(1);
    }
    void Button(bool down) {
        XTestFakeButtonEvent(display_, 1, down ? True : False, CurrentTime);
        Pump(kSettleFrames);
    }

    std::unique_ptr<window::HostWindow> window_;
    Display* display_ = nullptr;
};

TEST_F(WindowInput, CreationDragMakesABipedStandingWherePressedAndAClickSelectsABone) {
    OpenWindow();
    window_->Command("create \"Bones\" \"Biped\"");
    ASSERT_EQ(window_->LastError(), "");
    const auto r = window_->ViewportRect();
    const float px = r.width * 0.5f, py = r.height * 0.7f;
    const cpoint3 ground = window::GroundPoint(window_->CurrentView(), px, py);
    MoveTo(px, py);
    Button(true);
    for (int i = 1; i <= kDragSteps; ++i) MoveTo(px, py - float(i * kDragStepPixels));
    Button(false);
    window_->Command("close");
    cnode* root = Interface::FindNode("Bip01");
    ASSERT_NE(root, nullptr) << "the drag made no biped";
    const cpoint3 at = root->GetPosition(GetAnimTime());
    EXPECT_NEAR(at.x, ground.x, kPressTol);
    EXPECT_NEAR(at.y, ground.y, kPressTol);
    EXPECT_NEAR(at.z, ground.z, kPressTol);
    cnode* head = Interface::FindNode("Bip01 Head");
    ASSERT_NE(head, nullptr);
    EXPECT_GT(head->GetPosition(GetAnimTime()).z, at.z) << "the drag upwards gave the biped a height";

    // A click on the left calf, through the viewport's hit testing.
    window_->GetCamera().FrameBox(SceneBox(GetAnimTime()));
    Pump(1);
    cnode* calf = Interface::FindNode("Bip01 L Calf");
    ASSERT_NE(calf, nullptr);
    cpoint3 target = ClickPoint(calf, GetAnimTime()), win;
    window_->CurrentView().Project(&target, &win, 1);
    MoveTo(win.x, win.y);
    Button(true);
    Button(false);
    ASSERT_EQ(Interface::NumSelNodes(), 1);
    EXPECT_STREQ(Interface::GetSelNode(0)->GetName(), "Bip01 L Calf");
}

// Half a turn's worth of dragging would do; 60 pixels at kRotateDegPerPixel is 30 degrees.
constexpr int kRotatePixels = 60;
constexpr float kAngleTol = 0.5f;  // degrees: the steps' rounding of pixel positions

// The angle (degrees) between two rotations.
float AngleBetween(const cquat& a, const cquat& b) {
    const cquat d = a * Inverse(b);
    return 2.0f * std::acos(std::min(1.0f, std::fabs(d.w))) * 180.0f / 3.14159265f;
}

TEST_F(WindowInput, RotateDragWithSymmetricalRotationTurnsBothArmsThroughTheTransformTracking) {
    OpenWindow();
    for (const char* line : {"create \"Bones\" \"Biped\"", "drag 0 0 0 8 ground", "close",
                             "select \"Bip01 R UpperArm\"", "modify \"Biped\"",
                             "press \"Symmetrical Rotation\""}) {
        window_->Command(line);
        ASSERT_EQ(window_->LastError(), "") << line;
    }
    cnode* right = Interface::FindNode("Bip01 R UpperArm");
    cnode* left = Interface::FindNode("Bip01 L UpperArm");
    ASSERT_TRUE(right && left);
    const int t = GetAnimTime();
    const cquat right0 = right->GetRotation(t), left0 = left->GetRotation(t);
    const int levels = theUndo.NumLevels();

    window_->Input().mode = window::TransformMode::Rotate;
    window_->Input().axis = 0;
    const auto r = window_->ViewportRect();
    const float x = r.width * 0.2f, y = r.height * 0.2f;  // anywhere in the viewport drags
    MoveTo(x, y);
    Button(true);
    for (int i = 1; i <= kDragSteps; ++i) MoveTo(x + float(i * kRotatePixels / kDragSteps), y);
    Button(false);

    const float turned = kRotatePixels * window::ViewportInput::kRotateDegPerPixel;
    EXPECT_NEAR(AngleBetween(right->GetRotation(t), right0), turned, kAngleTol);
    EXPECT_NEAR(AngleBetween(left->GetRotation(t), left0), turned, kAngleTol)
        << "Symmetrical Rotation repeats the turn on the other arm";
    EXPECT_EQ(theUndo.NumLevels(), levels + 1) << "one drag, one undo level";
}

}  // namespace
}  // namespace qvapp::test
