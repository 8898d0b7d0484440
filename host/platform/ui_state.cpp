// State shared by the headless user interface: the driver in charge, recorded errors, the
// message log, the mouse button and the main window.
#include <iostream>

#include "qvplatform/ui.h"
#include "ui_internal.h"

namespace qv::ui {
namespace {

Driver* g_driver = nullptr;
std::vector<std::string> g_errors;
std::vector<Message> g_messages;
bool g_leftButtonDown = false;

}  // namespace

bool LeftButtonDown() {
    return g_leftButtonDown;
}

void SetDriver(Driver* driver) {
    g_driver = driver;
}

Driver* GetDriver() {
    return g_driver;
}

bool QueueDriver::NextAction(const Modal& modal, Action& out) {
    seen.push_back(modal);
    if (next_ >= actions_.size()) return false;
    out = actions_[next_++];
    return true;
}

std::string TakeError() {
    if (g_errors.empty()) return {};
    std::string first = g_errors.front();
    g_errors.clear();
    return first;
}

void RecordError(const std::string& text) {
    g_errors.push_back(text);
}

const std::vector<Message>& Messages() {
    return g_messages;
}

void ClearMessages() {
    g_messages.clear();
}

void LogMessage(const std::string& caption, const std::string& text) {
    std::cerr << "message: [" << caption << "] " << text << std::endl;
    g_messages.push_back({caption, text});
}

void SetLeftButtonDown(bool down) {
    g_leftButtonDown = down;
}

HWND MainWindow() {
    return ToHandle(MainWindowObject());
}

}  // namespace qv::ui
