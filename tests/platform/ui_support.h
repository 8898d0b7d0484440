// Shared pieces of the user interface tests: the test module built from the embedded test
// resource script, driver actions, and a fixture that installs a queue driver and clears
// recorded state.
#pragma once

#include <gtest/gtest.h>

#include <qvplatform/resources.h>
#include <qvplatform/ui.h>

#include "data/ui_test_ids.h"

extern "C" const unsigned char qv_resource_blob[];
extern "C" const size_t qv_resource_blob_size;

namespace uitest {

// The module handle the test program's own embedded resources are registered under.
inline HINSTANCE TestModule() {
    static char tag;
    HINSTANCE h = reinterpret_cast<HINSTANCE>(&tag);
    if (!qv::res::IsRegistered(h)) {
        std::string error;
        EXPECT_TRUE(qv::res::RegisterModule(h, qv_resource_blob, qv_resource_blob_size, error))
            << error;
    }
    return h;
}

using Kind = qv::ui::Action::Kind;
inline qv::ui::Action Act(Kind kind, const std::string& control, const std::string& text = "",
                          bool enter = false) {
    qv::ui::Action a;
    a.kind = kind;
    a.control = control;
    a.text = text;
    a.enter = enter;
    return a;
}
inline qv::ui::Action Press(const std::string& c) { return Act(Kind::Press, c); }
inline qv::ui::Action Type(const std::string& c, const std::string& text, bool enter) {
    return Act(Kind::Type, c, text, enter);
}
inline qv::ui::Action Choose(const std::string& c, const std::string& item) {
    return Act(Kind::Choose, c, item);
}
inline qv::ui::Action Answer(const std::string& word) { return Act(Kind::Answer, "", word); }
inline qv::ui::Action File(const std::string& path) { return Act(Kind::File, "", path); }

inline INT_PTR CALLBACK IgnoreAll(HWND, UINT, WPARAM, LPARAM) { return 0; }

// Every test starts with an empty queue driver in charge and no recorded errors or messages.
class UiTest : public ::testing::Test {
protected:
    void SetUp() override {
        qv::ui::SetDriver(&driver);
        qv::ui::TakeError();
        qv::ui::ClearMessages();
    }
    void TearDown() override {
        qv::ui::SetDriver(nullptr);
        qv::ui::TakeError();
        qv::ui::ClearMessages();
    }
    qv::ui::QueueDriver driver;
};

}  // namespace uitest
