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

inline qv::ui::Action Press(const std::string& control) {
    qv::ui::Action a;
    a.control = control;
    return a;
}
inline qv::ui::Action Answer(const std::string& word) {
    qv::ui::Action a;
    a.kind = qv::ui::Action::Kind::Answer;
    a.text = word;
    return a;
}

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
