// MessageBoxA: logged, then answered by the driver with one of the box's buttons.
#include <map>

#include "ui_internal.h"

namespace {

// The buttons of a box type, by the driver's answer word.
std::map<std::string, int> Buttons(UINT type) {
    switch (type & 0xF) {
    case MB_OK: return {{"ok", IDOK}};
    case MB_OKCANCEL: return {{"ok", IDOK}, {"cancel", IDCANCEL}};
    case MB_YESNO: return {{"yes", IDYES}, {"no", IDNO}};
    case MB_YESNOCANCEL: return {{"yes", IDYES}, {"no", IDNO}, {"cancel", IDCANCEL}};
    default: return {{"cancel", IDCANCEL}};
    }
}

// What closing the box without a choice answers.
int CancelLike(UINT type) {
    switch (type & 0xF) {
    case MB_OK: return IDOK;
    case MB_YESNO: return IDNO;
    default: return IDCANCEL;
    }
}

const char* ActionWord(qv::ui::Action::Kind kind) {
    switch (kind) {
    case qv::ui::Action::Kind::Press: return "press";
    case qv::ui::Action::Kind::Type: return "type";
    case qv::ui::Action::Kind::Choose: return "choose";
    case qv::ui::Action::Kind::Answer: return "answer";
    default: return "file";
    }
}

}  // namespace

extern "C" int WINAPI MessageBoxA(HWND, LPCSTR text, LPCSTR caption, UINT type) {
    using namespace qv::ui;
    std::string body = text ? text : "";
    std::string title = caption ? caption : "Error";
    LogMessage(title, body);

    Modal modal;
    modal.kind = Modal::Kind::MessageBox;
    modal.title = title;
    modal.text = body;
    for (const auto& [word, id] : Buttons(type)) modal.answers.push_back(word);
    Action action;
    Driver* driver = GetDriver();
    if (!driver || !driver->NextAction(modal, action)) {
        RecordError("message \"" + body + "\" not answered");
        return CancelLike(type);
    }
    std::string prefix = action.where.empty() ? "" : action.where + ": ";
    if (action.kind != Action::Kind::Answer) {
        RecordError(prefix + "\"" + ActionWord(action.kind) + "\" does not fit message \"" + body +
                    "\", which needs an answer");
        return CancelLike(type);
    }
    auto buttons = Buttons(type);
    auto it = buttons.find(action.text);
    if (it == buttons.end()) {
        std::string choices;
        for (auto& [word, id] : buttons) choices += (choices.empty() ? "" : "|") + word;
        RecordError(prefix + "answer \"" + action.text + "\" does not fit message \"" + body +
                    "\" (" + choices + ")");
        return CancelLike(type);
    }
    return it->second;
}
