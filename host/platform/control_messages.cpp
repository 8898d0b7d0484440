// Messages to controls: text, check state, and the combo box list (CB_*), answered the way
// the Windows controls answer them.
#include <algorithm>
#include <cctype>
#include <cstdint>
#include <cstring>

#include "control_messages.h"

namespace qv::ui {
namespace {

// The low two style bits of a combo box hold its type (CBS_SIMPLE, _DROPDOWN, _DROPDOWNLIST).
constexpr uint32_t kComboTypeMask = 0x3;

bool LessNoCase(const std::string& a, const std::string& b) {
    return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        return std::tolower(static_cast<unsigned char>(x)) <
               std::tolower(static_cast<unsigned char>(y));
    });
}

bool EqualNoCase(const std::string& a, const std::string& b) {
    return !LessNoCase(a, b) && !LessNoCase(b, a);
}

bool IsButton(const Window* w) {
    switch (w->kind) {
    case ControlKind::PushButton:
    case ControlKind::CheckBox:
    case ControlKind::AutoCheckBox:
    case ControlKind::RadioButton:
    case ControlKind::AutoRadioButton:
    case ControlKind::OwnerDrawn:
    case ControlKind::GroupBox: return true;
    default: return false;
    }
}

LRESULT CopyText(const std::string& text, WPARAM size, LPARAM buffer) {
    char* out = reinterpret_cast<char*>(buffer);
    if (!out || size == 0) return 0;
    size_t n = std::min<size_t>(text.size(), size - 1);
    std::memcpy(out, text.data(), n);
    out[n] = '\0';
    return static_cast<LRESULT>(n);
}

bool IsDropDownList(const Window* w) {
    return (w->tmpl.style & kComboTypeMask) == CBS_DROPDOWNLIST;
}

// CB_ADDSTRING (at the end, or in order with CBS_SORT) and CB_INSERTSTRING (at index, or at
// the end for -1): the new item's index, or CB_ERR past the end.
LRESULT InsertComboItem(Window* w, UINT msg, int index, const char* text) {
    auto& items = w->items;
    const int count = static_cast<int>(items.size());
    ComboItem item{text ? text : "", 0};
    int at = count;
    if (msg == CB_INSERTSTRING && index >= 0) {
        if (index > count) return CB_ERR;
        at = index;
    } else if (msg == CB_ADDSTRING && (w->tmpl.style & CBS_SORT)) {
        at = static_cast<int>(std::upper_bound(items.begin(), items.end(), item,
                                               [](const ComboItem& a, const ComboItem& b) {
                                                   return LessNoCase(a.text, b.text);
                                               }) -
                              items.begin());
    }
    items.insert(items.begin() + at, item);
    if (w->selection >= at) ++w->selection;
    return at;
}

// CB_FINDSTRINGEXACT: the first item after index (all items for an index out of range) whose
// text equals text without regard to case, searching round to the start.
LRESULT FindComboItem(const Window* w, int index, const char* text) {
    const auto& items = w->items;
    const int count = static_cast<int>(items.size());
    if (!text) return CB_ERR;
    for (int k = 0; k < count; ++k) {
        int i = (index + 1 + k) % std::max(count, 1);
        if (index < 0 || index >= count) i = k;
        if (EqualNoCase(items[i].text, text)) return i;
    }
    return CB_ERR;
}

LRESULT ComboMessage(Window* w, UINT msg, WPARAM wParam, LPARAM lParam) {
    auto& items = w->items;
    const int count = static_cast<int>(items.size());
    const int index = static_cast<int>(static_cast<INT_PTR>(wParam));
    const bool valid = index >= 0 && index < count;
    switch (msg) {
    case CB_ADDSTRING:
    case CB_INSERTSTRING:
        return InsertComboItem(w, msg, index, reinterpret_cast<const char*>(lParam));
    case CB_DELETESTRING:
        if (!valid) return CB_ERR;
        items.erase(items.begin() + index);
        if (w->selection == index) w->selection = CB_ERR;
        else if (w->selection > index) --w->selection;
        return count - 1;
    case CB_GETCOUNT: return count;
    case CB_GETCURSEL: return w->selection;
    case CB_SETCURSEL:
        if (!valid) {
            w->selection = CB_ERR;
            if (IsDropDownList(w)) w->text.clear();
            return CB_ERR;
        }
        w->selection = index;
        w->text = items[index].text;
        return index;
    case CB_GETLBTEXT:
        if (!valid) return CB_ERR;
        return CopyText(items[index].text, items[index].text.size() + 1, lParam);
    case CB_GETLBTEXTLEN: return valid ? static_cast<LRESULT>(items[index].text.size()) : CB_ERR;
    case CB_RESETCONTENT:
        items.clear();
        w->selection = CB_ERR;
        if (IsDropDownList(w)) w->text.clear();
        return 0;
    case CB_SETITEMDATA:
        if (!valid) return CB_ERR;
        items[index].data = lParam;
        return 1;
    case CB_GETITEMDATA: return valid ? items[index].data : CB_ERR;
    case CB_FINDSTRINGEXACT: return FindComboItem(w, index, reinterpret_cast<const char*>(lParam));
    default: return 0;
    }
}

}  // namespace

LRESULT ControlMessage(Window* w, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_SETTEXT: {
        const char* s = reinterpret_cast<const char*>(lParam);
        w->text = s ? s : "";
        return TRUE;
    }
    case WM_GETTEXT: return CopyText(w->text, wParam, lParam);
    case WM_GETTEXTLENGTH: return static_cast<LRESULT>(w->text.size());
    default: break;
    }
    if (IsButton(w)) {
        switch (msg) {
        case BM_GETCHECK: return w->check;
        case BM_SETCHECK: w->check = static_cast<UINT>(wParam); return 0;
        case BM_CLICK: {
            std::string error;
            PressControl(w, error);
            return 0;
        }
        default: return 0;
        }
    }
    if (w->kind == ControlKind::ComboBox) return ComboMessage(w, msg, wParam, lParam);
    return 0;
}

}  // namespace qv::ui
