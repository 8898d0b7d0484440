// Turning the modal-answering script lines into driver actions.
#include "script_actions.h"

#include "commands.h"

namespace qvapp {

using qv::ui::Action;
using qv::ui::Modal;

bool IsModalCommand(const std::string& command) {
    return command == "press" || command == "type" || command == "choose" ||
           command == "answer" || command == "file";
}

Action LineToAction(const ScriptLine& line) {
    Args args(line);
    Action a;
    const std::string& cmd = line.Command();
    if (cmd == "press") {
        a.kind = Action::Kind::Press;
        a.control = args.Text("control");
    } else if (cmd == "type") {
        a.kind = Action::Kind::Type;
        a.control = args.Text("control");
        a.text = args.Text("text");
        a.enter = args.TakeKeyword("enter");
    } else if (cmd == "choose") {
        a.kind = Action::Kind::Choose;
        a.control = args.Text("control");
        a.text = args.Text("item");
    } else if (cmd == "answer") {
        a.kind = Action::Kind::Answer;
        a.text = args.OneOf("answer", {"yes", "no", "ok", "cancel"});
    } else if (cmd == "file") {
        const Word& w = args.Next("file path or cancel");
        a.kind = (!w.quoted && w.text == "cancel") ? Action::Kind::FileCancel : Action::Kind::File;
        a.text = w.text;
    } else {
        args.Fail("\"" + cmd + "\" does not act in a modal window");
    }
    args.End();
    return a;
}

bool ActionFits(const Action& action, const Modal& modal, std::string& why) {
    bool answer = action.kind == Action::Kind::Answer;
    bool file = action.kind == Action::Kind::File || action.kind == Action::Kind::FileCancel;
    bool msgBox = modal.kind == Modal::Kind::MessageBox;
    bool fileDlg = modal.kind == Modal::Kind::FileDialog;
    if (answer != msgBox || file != fileDlg) {
        const char* wanted = msgBox ? "it needs `answer`" : fileDlg ? "it needs `file`"
                                                                    : "it needs press/type/choose";
        why = DescribeModal(modal) + " is open; " + wanted;
        return false;
    }
    return true;
}

std::string DescribeModal(const Modal& modal) {
    switch (modal.kind) {
    case Modal::Kind::MessageBox:
        return "the message box [" + modal.title + "] \"" + modal.text + "\"";
    case Modal::Kind::FileDialog:
        return "the file dialog \"" + modal.title + "\"";
    case Modal::Kind::ColourPicker:
        return "the colour picker \"" + modal.title + "\"";
    case Modal::Kind::NodeList:
        return "the node list \"" + modal.title + "\"";
    case Modal::Kind::Dialog:
        break;
    }
    return "the dialog \"" + modal.title + "\"";
}

}  // namespace qvapp
