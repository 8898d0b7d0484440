// The host's own modal windows, from the host's resource script embedded in this library:
// the colour picker ("Color") and the node list.
#include <string>

#include "host_ids.h"
#include "qvplatform/resources.h"
#include "ui_internal.h"

extern "C" const unsigned char qv_host_resource_blob[];
extern "C" const size_t qv_host_resource_blob_size;

namespace qv::ui {
namespace {

constexpr int kChannelMax = 255;  // largest value of a colour channel field

// The handle the host's resources are registered under (registered on first use).
HINSTANCE HostModule() {
    static char tag;
    static HINSTANCE module = [] {
        HINSTANCE h = reinterpret_cast<HINSTANCE>(&tag);
        std::string error;
        if (!res::RegisterModule(h, qv_host_resource_blob, qv_host_resource_blob_size, error))
            RecordError("host resources: " + error);
        return h;
    }();
    return module;
}

int Channel(HWND dlg, int id) {
    BOOL ok = FALSE;
    UINT v = GetDlgItemInt(dlg, id, &ok, FALSE);
    return ok ? static_cast<int>(v > kChannelMax ? kChannelMax : v) : 0;
}

}  // namespace

bool PickColour(HWND owner, unsigned long& rgb) {
    unsigned long chosen = rgb;
    auto proc = [&chosen](HWND dlg, UINT msg, WPARAM wParam, LPARAM) -> INT_PTR {
        if (msg == WM_INITDIALOG) {
            SetDlgItemInt(dlg, IDC_COLOUR_RED, GetRValue(chosen), FALSE);
            SetDlgItemInt(dlg, IDC_COLOUR_GREEN, GetGValue(chosen), FALSE);
            SetDlgItemInt(dlg, IDC_COLOUR_BLUE, GetBValue(chosen), FALSE);
            return TRUE;
        }
        if (msg != WM_COMMAND) return FALSE;
        if (LOWORD(wParam) == IDOK) {
            chosen = RGB(Channel(dlg, IDC_COLOUR_RED), Channel(dlg, IDC_COLOUR_GREEN),
                         Channel(dlg, IDC_COLOUR_BLUE));
            EndDialog(dlg, 1);
        } else if (LOWORD(wParam) == IDCANCEL) {
            EndDialog(dlg, 0);
        }
        return TRUE;
    };
    INT_PTR r = RunModal(HostModule(), MAKEINTRESOURCE(IDD_HOST_COLOUR), owner, proc, 0,
                         Modal::Kind::ColourPicker);
    if (r != 1) return false;
    rgb = chosen;
    return true;
}

int PickFromList(const std::string& title, const std::string& button,
                 const std::vector<std::string>& items) {
    int chosen = -1;
    auto proc = [&](HWND dlg, UINT msg, WPARAM wParam, LPARAM) -> INT_PTR {
        if (msg == WM_INITDIALOG) {
            SetWindowTextA(dlg, title.c_str());
            SetDlgItemTextA(dlg, IDOK, button.c_str());
            for (const std::string& item : items)
                SendDlgItemMessageA(dlg, IDC_NODES_LIST, CB_ADDSTRING, 0,
                                    reinterpret_cast<LPARAM>(item.c_str()));
            return TRUE;
        }
        if (msg != WM_COMMAND) return FALSE;
        if (LOWORD(wParam) == IDOK) {
            chosen = static_cast<int>(SendDlgItemMessageA(dlg, IDC_NODES_LIST, CB_GETCURSEL, 0, 0));
            EndDialog(dlg, 1);
        } else if (LOWORD(wParam) == IDCANCEL) {
            EndDialog(dlg, 0);
        }
        return TRUE;
    };
    INT_PTR r = RunModal(HostModule(), MAKEINTRESOURCE(IDD_HOST_NODES), nullptr, proc, 0,
                         Modal::Kind::NodeList);
    return r == 1 && chosen >= 0 ? chosen : -1;
}

}  // namespace qv::ui
