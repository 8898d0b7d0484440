// The tool manager: which creation or modify tool is open, its panel, and the host hooks that
// route events and selection changes to it.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include <windows.h>

#include "module_loader.h"

class CGLWindow;
class cnode;

namespace qvapp {

enum class ToolKind { None, Create, Modify };

class ToolManager {
public:
    ToolManager();
    ~ToolManager();
    ToolManager(const ToolManager&) = delete;
    ToolManager& operator=(const ToolManager&) = delete;

    void AddModule(std::shared_ptr<Module> module);
    const std::vector<std::shared_ptr<Module>>& Modules() const { return modules_; }

    // Installs the host hooks (event routing, selection changes, main window, pickers).
    void InstallHooks();

    // Opens a tool (closing the open one first). False with error when no such tool exists,
    // the tool refuses the selection or its panel cannot be built.
    bool OpenCreate(const std::string& category, const std::string& name, std::string& error);
    bool OpenModify(const std::string& name, std::string& error);
    // Done(), then the panel goes. Harmless when nothing is open.
    void Close();

    ToolKind Kind() const { return kind_; }
    cclassinterface* Tool() const { return tool_; }
    ccreateinterface* CreateTool() const;
    HWND Panel() const { return panel_; }

    // While a batch is open, selection changes are noted and answered once when it ends (so
    // that a click's deselect-then-select is one change to the open modify tool).
    void BeginSelectionBatch();
    void EndSelectionBatch();
    // Re-asks the open modify tool after a selection change.
    void OnSelectionChanged();
    // How many selection changes the host has reported through its hook.
    unsigned long long SelectionChanges() const { return selectionChanges_; }

    // The open tool's overlays.
    void Display(int t, CGLWindow* view);

private:
    cclassinterface* FindClass(int libType, const std::string& category,
                               const std::string& name) const;
    // Closes the open tool, then initialises this one and shows its panel.
    bool Open(cclassinterface* tool, ToolKind kind, std::string& error);
    bool ShowPanel(std::string& error);
    void ClosePanel();

    std::vector<std::shared_ptr<Module>> modules_;
    ToolKind kind_ = ToolKind::None;
    cclassinterface* tool_ = nullptr;
    HWND panel_ = nullptr;
    int batchDepth_ = 0;
    bool changedInBatch_ = false;
    unsigned long long selectionChanges_ = 0;
};

// The selected nodes, in selection order.
std::vector<cnode*> SelectedNodes();

}  // namespace qvapp
