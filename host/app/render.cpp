// Drawing the scene offscreen with OpenGL and writing the picture or the animation.
#include "render.h"

#include <algorithm>
#include <cstdint>
#include <memory>
#include <vector>

#include "quorvane/interface.h"
#include "quorvane/node.h"
#include "render_grid.h"
#include "render_marks.h"
#include "scene_view.h"
#include "tools.h"

#include <GL/gl.h>  // after the host headers: their Windows subset defines APIENTRY first

namespace qvapp {
namespace {

void SetUpLighting() {
    const GLfloat ambient[] = {0.35f, 0.35f, 0.35f, 1.0f};
    const GLfloat diffuse[] = {0.8f, 0.8f, 0.8f, 1.0f};
    const GLfloat direction[] = {0.3f, -0.5f, 1.0f, 0.0f};  // a directional light from above
    glEnable(GL_LIGHTING);
    glEnable(GL_LIGHT0);
    glLightfv(GL_LIGHT0, GL_AMBIENT, ambient);
    glLightfv(GL_LIGHT0, GL_DIFFUSE, diffuse);
    glLightfv(GL_LIGHT0, GL_POSITION, direction);
    glEnable(GL_COLOR_MATERIAL);
    glColorMaterial(GL_FRONT_AND_BACK, GL_AMBIENT_AND_DIFFUSE);
    glEnable(GL_NORMALIZE);
}

void DrawNode(cnode* n, int t, qv::gl::View& view) {
    unsigned flags = (n->GetFlags() & QV_FLAG_SELECTED) ? QV_DRAW_SELECTED : 0u;
    glPushAttrib(GL_ALL_ATTRIB_BITS);
    n->Draw(t, &view, flags);
    glPopAttrib();
}

// Flat: every visible node in scene order. Shaded: the skins first, then, over them, the rest:
// a skin leaves the depth of its nearest surface behind, which is cleared so that the bones
// inside it show whole.
void DrawNodes(int t, qv::gl::View& view) {
    std::vector<cnode*> skins, others;
    for (int i = 0; i < Interface::NumNodes(); ++i) {
        cnode* n = Interface::GetNodeAt(i);
        if (!n || (n->GetFlags() & QV_FLAG_HIDDEN)) continue;
        const bool skin = n->GetTypeID() == QV_TYPE_SKIN && qv::GetDrawLook() == qv::DrawLook::Shaded;
        (skin ? skins : others).push_back(n);
    }
    for (cnode* n : skins) DrawNode(n, t, view);
    if (!skins.empty()) glClear(GL_DEPTH_BUFFER_BIT);
    for (cnode* n : others) DrawNode(n, t, view);
}

// Where sample (i, j) of kSampleGrid × kSampleGrid sits, from the pixel's centre (pixels).
float SampleOffset(int i, int grid) { return (static_cast<float>(i) + 0.5f) / grid - 0.5f; }

// The frames drawn: the one picture, or first..last every step-th.
std::vector<int> FramesOf(const RenderRequest& request) {
    if (!request.animation) return {request.frame};
    std::vector<int> frames;
    for (int t = request.first; t <= request.last; t += std::max(request.step, 1))
        frames.push_back(t);
    return frames;
}

// The triad (and the key) over everything, flat and unlit.
void DrawMarks(qv::gl::View& view, const SideColours* sides) {
    glPushAttrib(GL_ALL_ATTRIB_BITS);
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_LIGHTING);
    view.Begin2D();
    DrawAxisTriad(view);
    if (sides) DrawSideLegend(view, *sides);
    view.End2D();
    glPopAttrib();
}

// What the view frames: the fitted node with everything below it, or the whole scene, over
// every frame drawn.
Box FramedBox(cnode* fitted, const std::vector<int>& frames) {
    Box box;
    for (int t : frames) {
        const Box b = fitted ? FitBox(fitted, t) : SceneBox(t);
        if (b.empty) continue;
        box.Add(b.min);
        box.Add(b.max);
    }
    return fitted ? box : PaddedBox(box, kMinFramedSize);
}

// One frame, cleared and drawn.
void DrawFrame(int t, const Box& box, qv::gl::View& view, qv::gl::OffscreenContext& context,
               ToolManager& tools, const SideColours* sides) {
    glViewport(0, 0, context.Width(), context.Height());
    glClearColor(kBackgroundGrey, kBackgroundGrey, kBackgroundGrey, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    DrawScene(t, box, view, tools, sides);
}

// The offscreen context of the last render, kept for the next one of the same size: a new
// context costs the software renderer its compiled shaders and a fresh pixel buffer. Never
// destroyed, so that it does not outlive the lazily loaded library at exit.
qv::gl::OffscreenContext& ContextFor(int width, int height) {
    static qv::gl::OffscreenContext* kept = nullptr;
    if (!kept || !kept->Ok() || kept->Width() != width || kept->Height() != height) {
        delete kept;
        kept = new qv::gl::OffscreenContext(width, height);
    }
    return *kept;
}

// Every attribute a render may change, saved on entry and restored on exit, so that a kept
// context starts each render in the state a new one would have (renders use no client-side
// arrays; the matrices are loaded whole by the view).
class SavedGlState {
public:
    SavedGlState() { glPushAttrib(GL_ALL_ATTRIB_BITS); }
    ~SavedGlState() { glPopAttrib(); }
    SavedGlState(const SavedGlState&) = delete;
    SavedGlState& operator=(const SavedGlState&) = delete;
};

// Each sum of `samples` bytes divided back to a byte, to the nearest. The usual sample counts
// are constants, so the division becomes a multiplication and the loop vector code.
template <unsigned kSamples>
void AverageSums(const std::vector<std::uint16_t>& sums, std::vector<unsigned char>& average) {
    const std::uint16_t* __restrict in = sums.data();
    unsigned char* __restrict out = average.data();
#pragma omp simd
    for (size_t k = 0; k < sums.size(); ++k)
        out[k] = static_cast<unsigned char>((in[k] + kSamples / 2) / kSamples);
}
void AverageSums(const std::vector<std::uint16_t>& sums, std::vector<unsigned char>& average,
                 unsigned samples) {
    for (size_t k = 0; k < sums.size(); ++k)
        average[k] = static_cast<unsigned char>((sums[k] + samples / 2) / samples);
}

// One frame as the average of grid × grid drawings shifted within the pixel (rounded to the
// nearest byte), read back. The shift is left at zero afterwards.
std::vector<unsigned char> DrawSupersampledFrame(int t, const Box& box, qv::gl::View& view,
                                                 qv::gl::OffscreenContext& context,
                                                 ToolManager& tools, const SideColours* sides,
                                                 int grid) {
    if (grid <= 1) {
        DrawFrame(t, box, view, context, tools, sides);
        return context.ReadPixels();
    }
    // At most kSampleGrid² × 255 a byte. Kept from render to render with the context, so that
    // a picture does not pay for fresh pages.
    static std::vector<std::uint16_t> sums;
    std::fill(sums.begin(), sums.end(), std::uint16_t{0});
    for (int j = 0; j < grid; ++j)
        for (int i = 0; i < grid; ++i) {
            view.SetSubpixelShift(SampleOffset(i, grid), SampleOffset(j, grid));
            DrawFrame(t, box, view, context, tools, sides);
            context.AddPixelsTo(sums);
        }
    view.SetSubpixelShift(0.0f, 0.0f);
    std::vector<unsigned char> average(sums.size());
    switch (grid * grid) {
        case 4: AverageSums<4>(sums, average); break;
        case 9: AverageSums<9>(sums, average); break;
        default: AverageSums(sums, average, static_cast<unsigned>(grid * grid)); break;
    }
    return average;
}

// Sets the nodes' look for the length of one render.
class LookScope {
public:
    explicit LookScope(qv::DrawLook look) : previous_(qv::GetDrawLook()) { qv::SetDrawLook(look); }
    ~LookScope() { qv::SetDrawLook(previous_); }
    LookScope(const LookScope&) = delete;
    LookScope& operator=(const LookScope&) = delete;

private:
    qv::DrawLook previous_;
};

}  // namespace

void DrawScene(int t, const Box& box, qv::gl::View& view, ToolManager& tools,
               const SideColours* sides) {
    view.Apply();
    glEnable(GL_DEPTH_TEST);
    SetUpLighting();
    DrawGrid(box);
    DrawNodes(t, view);
    glPushAttrib(GL_ALL_ATTRIB_BITS);
    tools.Display(t, &view);
    glPopAttrib();
    DrawMarks(view, sides);
}

int SampleGridFor(int width, int height) {
    const long long samples = static_cast<long long>(width) * height * kSampleGrid * kSampleGrid;
    return samples <= kSampleBudget ? kSampleGrid : kLargeSampleGrid;
}

bool RenderScene(const RenderRequest& request, ToolManager& tools, std::string& error) {
    const std::vector<int> frames = FramesOf(request);
    if (frames.empty()) {
        error = "no frames to draw";
        return false;
    }
    cnode* fitted = nullptr;
    if (!request.fit.empty() && !(fitted = FindDrawnNode(request.fit.c_str(), frames.front()))) {
        error = "cannot fit \"" + request.fit + "\": no such node is drawn";
        return false;
    }
    qv::gl::OffscreenContext& context = ContextFor(request.width, request.height);
    if (!context.Ok()) {
        error = "cannot render: " + context.Error();
        return false;
    }
    context.MakeCurrent();
    const SavedGlState saved;
    const Box box = FramedBox(fitted, frames);
    qv::gl::View view(request.view, request.width, request.height);
    view.Frame(box.min, box.max);

    const SideColours sides = CollectSideColours(frames.front());
    const LookScope look(request.look);
    const int grid =
        request.look == qv::DrawLook::Shaded ? SampleGridFor(request.width, request.height) : 1;
    std::vector<std::vector<unsigned char>> pictures;
    for (int t : frames)
        pictures.push_back(DrawSupersampledFrame(t, box, view, context, tools,
                                                 request.legend ? &sides : nullptr, grid));
    const bool written =
        request.animation
            ? qv::gl::WriteGif(request.path, request.width, request.height, pictures,
                               Interface::GetAnimTPF() * std::max(request.step, 1), error)
            : qv::gl::WritePng(request.path, request.width, request.height, pictures[0], error);
    return written;  // the writers' errors name the path
}

}  // namespace qvapp
