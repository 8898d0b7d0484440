// The headless user interface: panels and modal dialogs built from a module's resource script,
// acted on as a person would (press, type, choose, answer), and a driver that supplies the
// actions for modal windows while they are open.
#pragma once

#include <functional>
#include <string>
#include <vector>
#include <windows.h>

namespace qv::ui {

// One thing a person does inside a modal window.
struct Action {
    enum class Kind { Press, Type, Choose, Answer, File, FileCancel };
    Kind kind = Kind::Press;
    std::string control;  // Press/Type/Choose: control name (caption, label, "Group/Caption", "#id")
    std::string text;     // Type: the text; Choose: the item; Answer: yes|no|ok|cancel; File: path
    bool enter = false;   // Type: press Enter instead of leaving the field
    std::string where;    // where the action came from ("SCRIPT:LINE"), for error texts
};

// The modal window that waits for an action.
struct Modal {
    enum class Kind { Dialog, MessageBox, FileDialog, ColourPicker, NodeList };
    Kind kind = Kind::Dialog;
    std::string title;    // dialog caption, message box caption, file dialog title
    std::string text;     // message box text
    std::vector<std::string> answers;  // message box: the answer words of its buttons
    HWND window = nullptr;
};

// Supplies actions while a modal window is open.
class Driver {
public:
    virtual ~Driver() = default;
    // The next action for the modal window; false when there is none. The window is then
    // cancelled and the fact recorded as an error (see TakeError).
    virtual bool NextAction(const Modal& modal, Action& out) = 0;
};

// The driver in charge (null: every modal is cancelled and recorded as an error).
void SetDriver(Driver* driver);
Driver* GetDriver();

// A driver that hands out a fixed list of actions, for tests.
class QueueDriver : public Driver {
public:
    void Push(Action a) { actions_.push_back(std::move(a)); }
    bool NextAction(const Modal& modal, Action& out) override;
    size_t Remaining() const { return actions_.size() - next_; }
    std::vector<Modal> seen;  // every modal that asked, in order
private:
    std::vector<Action> actions_;
    size_t next_ = 0;
};

// Errors met while acting on modal windows (bad control names, windows left open). An error
// caused by an action starts with the action's `where` and ": " when it has one.
// Answers the first error recorded since the last call and clears them all; empty when none.
std::string TakeError();
void RecordError(const std::string& text);

// Every message box shown: also printed as "message: [Caption] text" on standard error.
struct Message {
    std::string caption;
    std::string text;
};
const std::vector<Message>& Messages();
void ClearMessages();

// --- panels: non-modal dialogs that a tool shows in the command area ---------------------------
using PanelProc = std::function<INT_PTR(HWND, UINT, WPARAM, LPARAM)>;
// Builds dialog `dialogId` of the module's resources, sends WM_INITDIALOG and answers the
// panel; null (and an error recorded) when the module has no such dialog.
HWND CreatePanel(HINSTANCE module, int dialogId, PanelProc proc);
void DestroyPanel(HWND panel);

// --- acting on an open dialog or panel (also used for modal dialogs by the driver loop) --------
// Finds a control by name (see Action::control); false with an error text naming the
// candidates when the name fits none or several. A name is tried exactly first, then ignoring
// case and a trailing ':' ("Nodes" finds the combo labelled "Nodes:"). Group qualifiers may
// name any enclosing group boxes, outermost first ("Limbs/Pos", "Limbs/Symmetric Posture/Pos").
// Hidden controls can still be named and acted on; disabled ones refuse.
bool FindControl(HWND dlg, const std::string& name, int& id, std::string& error);
// A click: a button sends BN_CLICKED; a check box toggles, then notifies; a radio button
// checks itself, clears the others of its group, then notifies. Disabled controls refuse.
bool Press(HWND dlg, const std::string& control, std::string& error);
// Replaces an edit's text, then leaves the field (EN_KILLFOCUS) or presses Enter (the edit
// keeps the focus and the dialog gets IDOK).
bool Type(HWND dlg, const std::string& control, const std::string& text, bool enter,
          std::string& error);
// Selects a combo box item by its text and notifies (CBN_SELCHANGE).
bool Choose(HWND dlg, const std::string& control, const std::string& item, std::string& error);

// --- looking at a dialog ------------------------------------------------------------------------
struct ControlInfo {
    int id = 0;
    std::string kind;     // button, checkbox, radio, edit, combo, static, group, swatch
    std::string caption;  // the resource caption
    std::string text;     // current text (edit text, combo selection, caption)
    bool checked = false;
    bool enabled = true;
    bool visible = true;
    std::string group;    // caption of the group box around it
    unsigned long colour = 0;  // owner-drawn buttons: last colour painted (0x00BBGGRR)
    RECT rect{};          // where it sits in the dialog, pixels (dialog units × base units)
    bool pushLike = false;     // a check box drawn as a button that stays down while checked
    enum class Align { Left, Centre, Right } align = Align::Left;  // static text
};
int DialogId(HWND dlg);
std::string DialogCaption(HWND dlg);
// The dialog's client size in pixels, as its controls' rectangles are measured.
struct PixelSize {
    int width = 0, height = 0;
};
PixelSize DialogPixelSize(HWND dlg);
// The innermost modal dialog open (message boxes and the file dialog aside); null when none.
HWND TopModalDialog();
std::vector<ControlInfo> Controls(HWND dlg);
// How a script names each acting control of the dialog, in template order: its caption or
// label, qualified by the captions of enclosing group boxes ("Posture/Mirror") when other
// controls share it, or "#id" when nothing else names it alone. Each name finds its control.
struct ControlName {
    int id = 0;
    std::string kind;   // as Controls() gives it
    std::string group;  // caption of the innermost group box around it, or empty
    std::string name;
};
std::vector<ControlName> ScriptNames(HWND dlg);
// The message with which a dialog procedure is asked to paint one owner-drawn button (wParam:
// the control's id, lParam: DRAWITEMSTRUCT*); modules know it as QV_WM_DRAWITEM.
inline constexpr UINT kDrawItemMessage = 0x1401;
// Asks the dialog procedure to paint every owner-drawn button (message kDrawItemMessage with a
// DRAWITEMSTRUCT) and records the colours filled.
void PaintOwnerDrawn(HWND dlg);

// The host's main window (owner of modal dialogs).
HWND MainWindow();

// The state of the left mouse button as GetAsyncKeyState reports it.
void SetLeftButtonDown(bool down);

// The host's own modal windows.
// Colour picker: the driver types "Red:", "Green:", "Blue:" (0..255) and presses OK or Cancel.
bool PickColour(HWND owner, unsigned long& rgb);
// Node list: the driver chooses the item (a node name) in "Nodes" and presses the button.
// Answers the index of the chosen item, or -1 when cancelled.
int PickFromList(const std::string& title, const std::string& button,
                 const std::vector<std::string>& items);

}  // namespace qv::ui
