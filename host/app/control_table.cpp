// Building each dialog of a resource script as the host would, and writing the name that
// finds each of its controls.
#include "control_table.h"

#include <sstream>
#include <vector>

#include "qvplatform/resources.h"
#include "qvplatform/ui.h"

namespace qvapp {
namespace {

// Quoted as a script writes a name with blanks; "#id" stands bare.
std::string AsWritten(const std::string& name) {
    return name.rfind('#', 0) == 0 ? "`" + name + "`" : "`\"" + name + "\"`";
}

std::string Heading(HINSTANCE module, int id, const std::string& caption) {
    std::string symbol = qv::res::DialogSymbol(module, id);
    std::string where = (symbol.empty() ? "dialog" : "`" + symbol + "`") + " (" +
                        std::to_string(id) + ")";
    return "#### " + (caption.empty() ? where : "\"" + caption + "\", " + where);
}

void WriteTable(std::ostream& out, HWND dialog) {
    // Rows in the order their groups first appear.
    std::vector<std::pair<std::string, std::string>> rows;
    for (const qv::ui::ControlName& c : qv::ui::ScriptNames(dialog)) {
        auto row = rows.begin();
        while (row != rows.end() && row->first != c.group) ++row;
        if (row == rows.end()) row = rows.insert(rows.end(), {c.group, ""});
        row->second += (row->second.empty() ? "" : ", ") + AsWritten(c.name) + " " + c.kind;
    }
    out << "| group | controls |\n| --- | --- |\n";
    for (const auto& [group, controls] : rows)
        out << "| " << (group.empty() ? "-" : group) << " | " << controls << " |\n";
}

}  // namespace

bool ControlTables(const std::string& rcPath, std::string& markdown, std::string& error) {
    static const int anchor = 0;  // its address is the handle the script is registered under
    HINSTANCE module = reinterpret_cast<HINSTANCE>(const_cast<int*>(&anchor));
    if (!qv::res::RegisterModuleFile(module, rcPath, error)) return false;
    std::ostringstream out;
    bool first = true;
    for (int id : qv::res::DialogIds(module)) {
        HWND dialog = qv::ui::CreatePanel(module, id, nullptr);
        if (!dialog) continue;
        out << (first ? "" : "\n") << Heading(module, id, qv::ui::DialogCaption(dialog)) << "\n\n";
        WriteTable(out, dialog);
        qv::ui::DestroyPanel(dialog);
        first = false;
    }
    qv::res::UnregisterModule(module);
    markdown = out.str();
    return true;
}

}  // namespace qvapp
