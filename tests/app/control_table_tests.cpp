// The README's tables of panel and dialog controls: made from the module's resource script,
// each name finding its control, and the README's copy the same as a fresh one.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>

#include "control_table.h"
#include "qvplatform/resources.h"
#include "qvplatform/ui.h"

namespace qvapp::test {
namespace {

const std::string kScript = std::string(BIPED_SOURCE_DIR) + "/resources/biped.rc";
const std::string kReadme = std::string(BIPED_SOURCE_DIR) + "/README.md";
// The README's generated part lies between these lines.
const std::string kBegin = "<!-- controls: made by `quorvane-controls resources/biped.rc` -->\n";
const std::string kEnd = "<!-- end of controls -->\n";

TEST(ControlTables, EveryScriptNameFindsItsControlAndIsQualifiedOnlyWhenItMustBe) {
    static const int anchor = 0;  // its address is the handle the script is registered under
    HINSTANCE module = reinterpret_cast<HINSTANCE>(const_cast<int*>(&anchor));
    std::string error;
    ASSERT_TRUE(qv::res::RegisterModuleFile(module, kScript, error)) << error;
    int named = 0;
    for (int id : qv::res::DialogIds(module)) {
        HWND dialog = qv::ui::CreatePanel(module, id, nullptr);
        ASSERT_NE(dialog, nullptr) << id;
        for (const qv::ui::ControlName& c : qv::ui::ScriptNames(dialog)) {
            SCOPED_TRACE("dialog " + std::to_string(id) + " " + c.name);
            int found = 0;
            EXPECT_TRUE(qv::ui::FindControl(dialog, c.name, found, error)) << error;
            EXPECT_EQ(found, c.id);
            // A qualified name is needed: its last part alone fits several controls.
            const size_t slash = c.name.rfind('/');
            if (slash != std::string::npos) {
                EXPECT_FALSE(qv::ui::FindControl(dialog, c.name.substr(slash + 1), found, error));
            }
            named += c.name[0] == '#' ? 0 : 1;
        }
        qv::ui::DestroyPanel(dialog);
    }
    qv::res::UnregisterModule(module);
    EXPECT_GT(named, 100);  // the module's panels and dialogs hold well over a hundred controls
}

TEST(ControlTables, ReadmeCarriesTheTablesTheResourceScriptGives) {
    std::string tables, error;
    ASSERT_TRUE(ControlTables(kScript, tables, error)) << error;
    std::ifstream in(kReadme);
    std::stringstream readme;
    readme << in.rdbuf();
    const std::string text = readme.str();
    const size_t begin = text.find(kBegin), end = text.find(kEnd);
    ASSERT_NE(begin, std::string::npos) << "README.md lacks the line " << kBegin;
    ASSERT_NE(end, std::string::npos) << "README.md lacks the line " << kEnd;
    const std::string copy = text.substr(begin + kBegin.size(), end - begin - kBegin.size());
    // On a difference, the first line that differs rather than both copies whole.
    std::istringstream have(copy), want("\n" + tables + "\n");
    std::string a, b;
    int line = 0;
    while (true) {
        const bool moreA = static_cast<bool>(std::getline(have, a));
        const bool moreB = static_cast<bool>(std::getline(want, b));
        ++line;
        if (!moreA && !moreB) break;
        ASSERT_EQ(a, b) << "line " << line << " of the README's control tables is stale: replace "
                        << "them with the output of build/quorvane-controls resources/biped.rc";
    }
}

}  // namespace
}  // namespace qvapp::test
