// Builds the scene dump from the host's scene, undo manager, UI messages and the open tool.
#include "dump.h"

#include "json_values.h"
#include "qvplatform/ui.h"
#include "quorvane/interface.h"
#include "quorvane/node.h"
#include "quorvane/skin.h"
#include "quorvane/undo.h"
#include "skin_report.h"
#include "tools.h"

namespace qvapp {
namespace {

Json NameOrNull(const cnode* node) {
    return node && node->GetName() ? JsonText(node->GetName()) : Json(nullptr);
}

Json DumpKeys(const canim& anim) {
    Json keys = Json::array();
    for (int i = 0; i < anim.NumKeys(); ++i) {
        ckey k;
        if (!anim.GetKeyAt(i, k)) continue;
        keys.push_back(JsonKey(k));
    }
    return keys;
}

Json DumpIK(const cikinfo& ik) {
    return {{"initial", JsonQuat(ik.initial)},
            {"min", JsonPoint(ik.min)},
            {"max", JsonPoint(ik.max)},
            {"dof", ik.dof}};
}

Json DumpPanel(const ToolManager& tools) {
    HWND panel = tools.Panel();
    if (!panel) return nullptr;
    Json controls = Json::array();
    for (const qv::ui::ControlInfo& c : qv::ui::Controls(panel))
        controls.push_back({{"id", c.id},
                            {"kind", c.kind},
                            {"caption", JsonText(c.caption)},
                            {"text", JsonText(c.text)},
                            {"checked", c.checked},
                            {"enabled", c.enabled}});
    return {{"dialog", qv::ui::DialogId(panel)}, {"controls", controls}};
}

// "skin": the vertices (deformed position, weights by bone name), the selected vertex indices,
// and the report of the last mirror (null before one).
Json DumpSkin(const cskin& skin) {
    Json verts = Json::array();
    for (const cskinvertex& v : skin.verts) {
        Json w = Json::array();
        for (int k = 0; k < v.numWeights && k < QV_MAX_SKIN_WEIGHTS; ++k)
            w.push_back({NameOrNull(v.weights[k].bone), JsonFloat(v.weights[k].value)});
        verts.push_back({{"pos", JsonPoint(v.pos)}, {"w", w}});
    }
    Json selected = Json::array();
    for (int i = 0; i < skin.vertSel.Count() && i < static_cast<int>(skin.verts.size()); ++i)
        if (skin.vertSel[i]) selected.push_back(i);
    return {{"verts", verts}, {"selected", selected}, {"mirror", MirrorReportJson(skin.mirrorReport)}};
}

Json DumpUndo() {
    Json undo = Json::array(), redo = Json::array();
    for (int i = 0; i < theUndo.NumLevels(); ++i) {
        const char* name = theUndo.GetLevelName(i);
        undo.push_back(JsonText(name ? name : ""));
    }
    for (int i = 0; i < theUndo.NumRedoLevels(); ++i) {
        const char* name = theUndo.GetRedoLevelName(i);
        redo.push_back(JsonText(name ? name : ""));
    }
    return {{"undo", undo}, {"redo", redo}};
}

}  // namespace

Json DumpNode(cnode* node, int t) {
    Json children = Json::array();
    for (int i = 0; i < node->NumChildren(); ++i) children.push_back(NameOrNull(node->GetChild(i)));
    Json j = {{"name", NameOrNull(node)},
              {"type", node->GetTypeID()},
              {"parent", NameOrNull(node->GetParent())},
              {"children", children},
              {"color", JsonColour(node->GetColor())},
              {"flags", node->GetFlags()},
              {"world",
               {{"pos", JsonPoint(node->GetPosition(t))},
                {"rot", JsonQuat(node->GetRotation(t))},
                {"scale", JsonPoint(node->GetScale(t))}}},
              {"ik", DumpIK(node->GetIKInfo())},
              {"keys", DumpKeys(node->anim)}};
    if (node->GetTypeID() == QV_TYPE_SKIN) j["skin"] = DumpSkin(*static_cast<cskin*>(node));
    if (node->DrawsMembers(t, 0)) {
        Json members = Json::array();
        for (int i = 0; i < node->NumMembers(); ++i)
            if (cnode* m = node->GetMember(i)) members.push_back(DumpNode(m, t));
        j["members"] = members;
    }
    return j;
}

Json DumpScene(const ToolManager& tools) {
    int t = GetAnimTime();
    Json nodes = Json::array();
    for (int i = 0; i < Interface::NumNodes(); ++i)
        if (cnode* n = Interface::GetNodeAt(i)) nodes.push_back(DumpNode(n, t));
    Json selection = Json::array();
    for (cnode* n : SelectedNodes()) selection.push_back(NameOrNull(n));
    Json messages = Json::array();
    for (const qv::ui::Message& m : qv::ui::Messages())
        messages.push_back({{"caption", JsonText(m.caption)}, {"text", JsonText(m.text)}});
    Json undo = DumpUndo();

    cclassinterface* tool = tools.Tool();
    return {{"time", t},
            {"range", {Interface::GetAnimStart(), Interface::GetAnimEnd()}},
            {"tpf", Interface::GetAnimTPF()},
            {"anim", Interface::IsAnimOn() != 0},
            {"tool", tool && tool->GetName() ? JsonText(tool->GetName()) : Json(nullptr)},
            {"selection", selection},
            {"nodes", nodes},
            {"panel", DumpPanel(tools)},
            {"undo", undo["undo"]},
            {"redo", undo["redo"]},
            {"messages", messages}};
}

std::string DumpSceneText(const ToolManager& tools) {
    return DumpScene(tools).dump(2) + "\n";
}

}  // namespace qvapp
