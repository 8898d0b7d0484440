// Opening and closing tools, their panels, and the hooks through which the scene reaches them.
#include "tools.h"

#include "qvcore/host.h"
#include "qvplatform/ui.h"
#include "quorvane/interface.h"
#include "quorvane/node.h"

namespace qvapp {
namespace {

bool Same(const char* a, const std::string& b) { return a && b == a; }

}  // namespace

std::vector<cnode*> SelectedNodes() {
    std::vector<cnode*> nodes;
    for (int i = 0; i < Interface::NumSelNodes(); ++i)
        if (cnode* n = Interface::GetSelNode(i)) nodes.push_back(n);
    return nodes;
}

ToolManager::ToolManager() = default;

ToolManager::~ToolManager() {
    Close();
    qv::Hooks() = qv::HostHooks{};
}

void ToolManager::AddModule(std::shared_ptr<Module> module) {
    if (module) modules_.push_back(std::move(module));
}

void ToolManager::InstallHooks() {
    qv::HostHooks& hooks = qv::Hooks();
    hooks.notifyTool = [this](unsigned long event, unsigned long a, unsigned long b, void* data) {
        if (tool_) tool_->Notify(event, a, b, data);
    };
    hooks.selectionChanged = [this] {
        ++selectionChanges_;
        if (batchDepth_ > 0) {
            changedInBatch_ = true;
            return;
        }
        OnSelectionChanged();
    };
    hooks.updateViews = [] {};  // headless: nothing to redraw until the next render
    hooks.mainWindow = [] { return qv::ui::MainWindow(); };
    hooks.pickColour = [](HWND owner, unsigned long& rgb) {
        return qv::ui::PickColour(owner, rgb) ? 1 : 0;
    };
    hooks.pickFromList = [](const char* title, const char* button,
                            const std::vector<cnode*>& nodes) {
        std::vector<std::string> names;
        for (cnode* n : nodes) names.emplace_back(n && n->GetName() ? n->GetName() : "");
        return qv::ui::PickFromList(title ? title : "", button ? button : "", names);
    };
}

cclassinterface* ToolManager::FindClass(int libType, const std::string& category,
                                        const std::string& name) const {
    for (const auto& module : modules_)
        for (const ModuleClass& c : module->classes) {
            if (c.libType != libType || !Same(c.object->GetName(), name)) continue;
            if (libType == QV_LIBTYPE_CREATE && !Same(c.object->GetCategory(), category)) continue;
            return c.object;
        }
    return nullptr;
}

ccreateinterface* ToolManager::CreateTool() const {
    return kind_ == ToolKind::Create ? static_cast<ccreateinterface*>(tool_) : nullptr;
}

bool ToolManager::ShowPanel(std::string& error) {
    cclassinterface* tool = tool_;
    panel_ = qv::ui::CreatePanel(
        tool->hInstance, tool->dialogId, [tool](HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
            return static_cast<INT_PTR>(tool->DlgProc(hwnd, msg, static_cast<unsigned>(wp),
                                                      static_cast<long>(lp)));
        });
    if (!panel_) {
        std::string why = qv::ui::TakeError();
        error = "the panel of tool \"" + std::string(tool->GetName()) + "\" (dialog " +
                std::to_string(tool->dialogId) + ") cannot be shown" +
                (why.empty() ? "" : ": " + why);
        tool_->Done();
        tool_ = nullptr;
        kind_ = ToolKind::None;
        return false;
    }
    qv::ui::PaintOwnerDrawn(panel_);
    return true;
}

bool ToolManager::Open(cclassinterface* tool, ToolKind kind, std::string& error) {
    Close();
    tool_ = tool;
    kind_ = kind;
    tool_->Init();
    return ShowPanel(error);
}

bool ToolManager::OpenCreate(const std::string& category, const std::string& name,
                             std::string& error) {
    cclassinterface* c = FindClass(QV_LIBTYPE_CREATE, category, name);
    if (!c) {
        error = "no creation tool \"" + category + "\" \"" + name + "\"";
        return false;
    }
    return Open(c, ToolKind::Create, error);
}

bool ToolManager::OpenModify(const std::string& name, std::string& error) {
    cclassinterface* c = FindClass(QV_LIBTYPE_MODIFY, "", name);
    if (!c) {
        error = "no modify tool \"" + name + "\"";
        return false;
    }
    auto* modify = static_cast<cmodifyinterface*>(c);
    std::vector<cnode*> sel = SelectedNodes();
    if (sel.size() != 1) {
        error = "tool \"" + name + "\" needs exactly one selected node (" +
                std::to_string(sel.size()) + " selected)";
        return false;
    }
    if (!modify->IsOkToModify(sel[0])) {
        error = "tool \"" + name + "\" refuses the selection";
        return false;
    }
    return Open(c, ToolKind::Modify, error);
}

void ToolManager::ClosePanel() {
    if (panel_) qv::ui::DestroyPanel(panel_);
    panel_ = nullptr;
    tool_ = nullptr;
    kind_ = ToolKind::None;
}

void ToolManager::Close() {
    if (!tool_) return;
    tool_->Done();
    ClosePanel();
}

void ToolManager::BeginSelectionBatch() {
    if (batchDepth_++ == 0) changedInBatch_ = false;
}

void ToolManager::EndSelectionBatch() {
    if (batchDepth_ > 0 && --batchDepth_ == 0 && changedInBatch_) {
        changedInBatch_ = false;
        OnSelectionChanged();
    }
}

void ToolManager::OnSelectionChanged() {
    if (kind_ != ToolKind::Modify) return;
    auto* modify = static_cast<cmodifyinterface*>(tool_);
    std::vector<cnode*> sel = SelectedNodes();
    if (sel.size() == 1 && modify->IsOkToModify(sel[0])) {
        modify->Init();  // the panel stays
        return;
    }
    Close();
}

void ToolManager::Display(int t, CGLWindow* view) {
    if (tool_) tool_->Display(t, view, 0);
}

}  // namespace qvapp
