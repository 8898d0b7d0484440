// Skin commands: import an OBJ mesh, bind it to bones, set or paint weights, export the deformed mesh,
// and the host's Apply button of the open modify tool (with the mirror report it prints).
#include <algorithm>
#include <cmath>
#include <filesystem>
#include <ostream>

#include "commands.h"
#include "obj_import.h"
#include "qvcore/file_write.h"
#include "quorvane/interface.h"
#include "quorvane/node.h"
#include "quorvane/skin.h"
#include "script_runner.h"
#include "skin_bind.h"
#include "skin_report.h"
#include "tools.h"

namespace qvapp {
namespace {

// The largest number of bones per vertex `bind` gives by default (SESSION.md).
constexpr int kDefaultMaxBones = 4;

cnode* NamedNode(Args& args, const std::string& what) {
    std::string name = args.Text(what);
    cnode* node = Interface::FindNode(name.c_str());
    if (!node) args.Fail("no node named \"" + name + "\"");
    return node;
}

cskin* NamedSkin(Args& args) {
    cnode* node = NamedNode(args, "skin name");
    if (node->GetTypeID() != QV_TYPE_SKIN)
        args.Fail("\"" + std::string(node->GetName()) + "\" is not a mesh or skin (type 6)");
    return static_cast<cskin*>(node);
}

// import "FILE.obj" [name "NAME"]: a skin node without weights (type 6), its vertices where
// the file puts them; the file's stem names it unless a name is given.
void CmdImport(ScriptRunner& run, Args& args) {
    const std::string file = args.Text("OBJ file");
    std::string name = std::filesystem::path(file).stem().string();
    if (args.TakeKeyword("name")) name = args.Text("node name");
    args.End();
    if (name.empty()) args.Fail("a node needs a name");
    if (Interface::FindNode(name.c_str())) args.Fail("a node named \"" + name + "\" exists");
    ObjMesh mesh;
    std::string error;
    if (!ReadObjFile(run.InputPath(file), mesh, error)) args.Fail(error);
    auto* skin = new cskin();
    skin->SetName(name.c_str());
    for (const cpoint3& p : mesh.positions) {
        cskinvertex v;
        v.pos = p;
        skin->verts.push_back(v);
    }
    skin->numVerts = static_cast<int>(skin->verts.size());
    skin->triangles = std::move(mesh.triangles);
    skin->vertSel.SetCount(skin->numVerts);
    skin->SetColor({0.85f, 0.72f, 0.6f, 1.0f});  // a skin tone, so that the bones stand out
    Interface::AddToScene(skin, 1);
}

// bind "MESH" "ROOT" [max N]: automatic weights from ROOT and every bone below it.
void CmdBind(ScriptRunner&, Args& args) {
    cskin* skin = NamedSkin(args);
    cnode* root = NamedNode(args, "root bone");
    int most = kDefaultMaxBones;
    if (args.TakeKeyword("max")) most = args.Int("bones per vertex");
    args.End();
    if (most < 1 || most > QV_MAX_SKIN_WEIGHTS)
        args.Fail("max must be 1.." + std::to_string(QV_MAX_SKIN_WEIGHTS) + " bones per vertex");
    BindSkin(*skin, BonesUnder(root), GetAnimTime(), most);
    skin->UpdateDeformers(GetAnimTime());
}

// weight "SKIN" V "BONE" W ["BONE" W ...]: vertex V's weights exactly as given.
void CmdWeight(ScriptRunner&, Args& args) {
    cskin* skin = NamedSkin(args);
    const int index = args.Int("vertex");
    cskinvertex v;
    if (!skin->GetVert(index, v))
        args.Fail("vertex " + std::to_string(index) + " is not in 0.." +
                  std::to_string(static_cast<int>(skin->verts.size()) - 1));
    int count = 0;
    while (!args.AtEnd()) {
        if (count == QV_MAX_SKIN_WEIGHTS)
            args.Fail("a vertex has at most " + std::to_string(QV_MAX_SKIN_WEIGHTS) + " weights");
        cskinweight& w = v.weights[count++];
        w.bone = NamedNode(args, "bone name");
        w.value = args.Float("weight");
        if (!std::isfinite(w.value)) args.Fail("a weight must be finite");
    }
    v.numWeights = count;
    skin->SetVert(index, v);
    skin->UpdateDeformers(GetAnimTime());
}

// paint "SKIN" "BONE" box X0 Y0 Z0 X1 Y1 Z1: every vertex whose position lies in the box
// (corners in any order, edges included) goes wholly to BONE - a rule for painting one side.
void CmdPaint(ScriptRunner&, Args& args) {
    cskin* skin = NamedSkin(args);
    cnode* bone = NamedNode(args, "bone name");
    args.OneOf("region", {"box"});
    const cpoint3 a = args.Point("corner");
    const cpoint3 b = args.Point("other corner");
    args.End();
    const cpoint3 lo = {std::min(a.x, b.x), std::min(a.y, b.y), std::min(a.z, b.z)};
    const cpoint3 hi = {std::max(a.x, b.x), std::max(a.y, b.y), std::max(a.z, b.z)};
    for (int i = 0; i < static_cast<int>(skin->verts.size()); ++i) {
        cskinvertex v;
        if (!skin->GetVert(i, v)) continue;
        const cpoint3& p = v.pos;
        if (p.x < lo.x || p.y < lo.y || p.z < lo.z || p.x > hi.x || p.y > hi.y || p.z > hi.z)
            continue;
        v.numWeights = 1;
        v.weights[0].bone = bone;
        v.weights[0].value = 1.0f;
        skin->SetVert(i, v);
    }
    skin->UpdateDeformers(GetAnimTime());
}

// export "SKIN" "FILE.obj" [frame N]: the deformed mesh at frame N (default the current time).
void CmdExport(ScriptRunner& run, Args& args) {
    cskin* skin = NamedSkin(args);
    const std::string file = args.Text("OBJ file");
    int frame = GetAnimTime();
    if (args.TakeKeyword("frame")) frame = args.Int("frame");
    args.End();
    std::vector<cpoint3> positions;
    skin->DeformedPositions(frame, positions);
    const std::string name = skin->GetName() ? skin->GetName() : "";
    const std::string text = ObjText("Quorvane skin \"" + name + "\" at frame " +
                                         std::to_string(frame), name, positions, skin->triangles);
    const std::string path = run.OutputPath(file);
    std::string error;
    if (!qv::WriteFileReplacing(path, text, error)) args.Fail(error);
    run.NoteWritten(path);
}

// apply: the host's Apply button of the open modify tool (shown when the tool's UseApply
// answers 1); afterwards the mirror report of every skin the tool mirrored is printed.
void CmdApply(ScriptRunner& run, Args& args) {
    args.End();
    ToolManager& tools = run.Tools();
    if (tools.Kind() != ToolKind::Modify) args.Fail("no modify tool is open");
    auto* modify = static_cast<cmodifyinterface*>(tools.Tool());
    if (!modify->UseApply())
        args.Fail("tool \"" + std::string(modify->GetName()) + "\" has no Apply button");
    for (int i = 0; i < Interface::NumNodes(); ++i)
        if (cnode* n = Interface::GetNodeAt(i); n && n->GetTypeID() == QV_TYPE_SKIN)
            static_cast<cskin*>(n)->mirrorReport = cskinmirrorreport{};
    modify->Execute();
    for (int i = 0; i < Interface::NumNodes(); ++i)
        if (cnode* n = Interface::GetNodeAt(i); n && n->GetTypeID() == QV_TYPE_SKIN) {
            const auto* skin = static_cast<cskin*>(n);
            if (skin->mirrorReport.valid)
                run.Out() << MirrorReportText(skin->GetName() ? skin->GetName() : "",
                                              skin->mirrorReport)
                          << std::flush;
        }
}

}  // namespace

void AddSkinCommands(CommandTable& table) {
    table.insert({{"import", CmdImport}, {"bind", CmdBind}, {"weight", CmdWeight},
                  {"paint", CmdPaint}, {"export", CmdExport}, {"apply", CmdApply}});
}

}  // namespace qvapp
