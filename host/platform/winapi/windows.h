// The subset of the Windows API that Quorvane modules call, under the same names and
// signatures, provided by the host's platform layer. Dialogs come from the module's resource
// script; everything runs headless under the UI driver (qvplatform/driver.h).
#pragma once

#include <cstddef>
#include <cstdint>

#if defined(_WIN32)
#  define QVWINAPI __declspec(dllimport)
#else
#  define QVWINAPI __attribute__((visibility("default")))
#endif

#define WINAPI
#define CALLBACK
#define APIENTRY

typedef int BOOL;
typedef unsigned char BYTE;
typedef unsigned short WORD;
typedef uint32_t DWORD;
typedef unsigned int UINT;
typedef long LONG;
typedef intptr_t INT_PTR;
typedef uintptr_t UINT_PTR;
typedef intptr_t LONG_PTR;
typedef uintptr_t ULONG_PTR;
typedef UINT_PTR WPARAM;
typedef LONG_PTR LPARAM;
typedef LONG_PTR LRESULT;
typedef DWORD COLORREF;
typedef char CHAR;
typedef char* LPSTR;
typedef const char* LPCSTR;
typedef void* LPVOID;
typedef short SHORT;

#ifndef TRUE
#  define TRUE 1
#endif
#ifndef FALSE
#  define FALSE 0
#endif

struct HWND__;
struct HINSTANCE__;
struct HBITMAP__;
struct HDC__;
struct HCURSOR__;
struct HGDIOBJ__;
typedef HWND__* HWND;
typedef HINSTANCE__* HINSTANCE;
typedef HINSTANCE HMODULE;
typedef HBITMAP__* HBITMAP;
typedef HDC__* HDC;
typedef HCURSOR__* HCURSOR;
typedef void* HGDIOBJ;

typedef INT_PTR(CALLBACK* DLGPROC)(HWND, UINT, WPARAM, LPARAM);

struct RECT {
    LONG left, top, right, bottom;
};
typedef RECT* LPRECT;

struct DRAWITEMSTRUCT {
    UINT CtlType;
    UINT CtlID;
    UINT itemID;
    UINT itemAction;
    UINT itemState;
    HWND hwndItem;
    HDC hDC;
    RECT rcItem;
    ULONG_PTR itemData;
};
typedef DRAWITEMSTRUCT* LPDRAWITEMSTRUCT;

typedef UINT_PTR(CALLBACK* LPOFNHOOKPROC)(HWND, UINT, WPARAM, LPARAM);
struct OPENFILENAMEA {
    DWORD lStructSize;
    HWND hwndOwner;
    HINSTANCE hInstance;
    LPCSTR lpstrFilter;       // pairs of zero-terminated strings, ended by an empty one
    LPSTR lpstrCustomFilter;
    DWORD nMaxCustFilter;
    DWORD nFilterIndex;
    LPSTR lpstrFile;          // in: initial name; out: the chosen path
    DWORD nMaxFile;
    LPSTR lpstrFileTitle;
    DWORD nMaxFileTitle;
    LPCSTR lpstrInitialDir;
    LPCSTR lpstrTitle;
    DWORD Flags;
    WORD nFileOffset;
    WORD nFileExtension;
    LPCSTR lpstrDefExt;
    LPARAM lCustData;
    LPOFNHOOKPROC lpfnHook;
    LPCSTR lpTemplateName;
};
typedef OPENFILENAMEA* LPOPENFILENAMEA;

#define LOWORD(l) ((WORD)(((DWORD_PTR_QV)(l)) & 0xffff))
#define HIWORD(l) ((WORD)((((DWORD_PTR_QV)(l)) >> 16) & 0xffff))
typedef uintptr_t DWORD_PTR_QV;
#define MAKELONG(a, b) ((LONG)(((WORD)((a) & 0xffff)) | ((DWORD)((WORD)((b) & 0xffff))) << 16))
#define MAKEWPARAM(l, h) ((WPARAM)(DWORD)MAKELONG(l, h))
#define MAKEINTRESOURCEA(i) ((LPSTR)((ULONG_PTR)((WORD)(i))))
#define MAKEINTRESOURCE MAKEINTRESOURCEA
#define IS_INTRESOURCE(r) ((((ULONG_PTR)(r)) >> 16) == 0)
#define RGB(r, g, b) ((COLORREF)(((BYTE)(r) | ((WORD)((BYTE)(g)) << 8)) | (((DWORD)(BYTE)(b)) << 16)))
#define GetRValue(rgb) ((BYTE)(rgb))
#define GetGValue(rgb) ((BYTE)(((WORD)(rgb)) >> 8))
#define GetBValue(rgb) ((BYTE)((rgb) >> 16))

// DLL entry reasons.
#define DLL_PROCESS_DETACH 0
#define DLL_PROCESS_ATTACH 1
#define DLL_THREAD_ATTACH 2
#define DLL_THREAD_DETACH 3

// Window messages.
#define WM_DESTROY 0x0002
#define WM_SETTEXT 0x000C
#define WM_GETTEXT 0x000D
#define WM_GETTEXTLENGTH 0x000E
#define WM_CLOSE 0x0010
#define WM_DRAWITEM 0x002B
#define WM_INITDIALOG 0x0110
#define WM_COMMAND 0x0111
#define WM_USER 0x0400

// Notifications (high word of WM_COMMAND's wParam).
#define BN_CLICKED 0
#define EN_SETFOCUS 0x0100
#define EN_KILLFOCUS 0x0200
#define EN_CHANGE 0x0300
#define CBN_SELCHANGE 1

// Button messages and states.
#define BM_GETCHECK 0x00F0
#define BM_SETCHECK 0x00F1
#define BST_UNCHECKED 0
#define BST_CHECKED 1

// Combo box messages.
#define CB_ERR (-1)
#define CB_ADDSTRING 0x0143
#define CB_GETCOUNT 0x0146
#define CB_GETCURSEL 0x0147
#define CB_GETLBTEXT 0x0148
#define CB_RESETCONTENT 0x014B
#define CB_SETCURSEL 0x014E
#define CB_GETITEMDATA 0x0150
#define CB_SETITEMDATA 0x0151

// Dialog results and command ids.
#define IDOK 1
#define IDCANCEL 2
#define IDABORT 3
#define IDRETRY 4
#define IDIGNORE 5
#define IDYES 6
#define IDNO 7

// Message box styles.
#define MB_OK 0x00000000L
#define MB_OKCANCEL 0x00000001L
#define MB_YESNOCANCEL 0x00000003L
#define MB_YESNO 0x00000004L
#define MB_ICONHAND 0x00000010L
#define MB_ICONQUESTION 0x00000020L
#define MB_ICONEXCLAMATION 0x00000030L
#define MB_ICONASTERISK 0x00000040L
#define MB_ICONWARNING MB_ICONEXCLAMATION
#define MB_ICONERROR MB_ICONHAND
#define MB_ICONSTOP MB_ICONHAND
#define MB_ICONINFORMATION MB_ICONASTERISK
#define MB_APPLMODAL 0x00000000L
#define MB_TASKMODAL 0x00002000L

// RedrawWindow flags.
#define RDW_INVALIDATE 0x0001
#define RDW_ERASE 0x0004
#define RDW_UPDATENOW 0x0100

// ExtTextOut options.
#define ETO_OPAQUE 0x0002

// ShowWindow.
#define SW_HIDE 0
#define SW_SHOW 5

// Cursors (resource ids of the system's).
#define IDC_ARROW MAKEINTRESOURCEA(32512)
#define IDC_WAIT MAKEINTRESOURCEA(32514)

// Virtual keys.
#define VK_LBUTTON 0x01
#define VK_RBUTTON 0x02
#define VK_SHIFT 0x10
#define VK_CONTROL 0x11

// Common file dialog flags.
#define OFN_READONLY 0x00000001
#define OFN_OVERWRITEPROMPT 0x00000002
#define OFN_HIDEREADONLY 0x00000004
#define OFN_PATHMUSTEXIST 0x00000800
#define OFN_FILEMUSTEXIST 0x00001000

// Window styles.
#define WS_OVERLAPPED 0x00000000L
#define WS_POPUP 0x80000000L
#define WS_CHILD 0x40000000L
#define WS_MINIMIZE 0x20000000L
#define WS_VISIBLE 0x10000000L
#define WS_DISABLED 0x08000000L
#define WS_CLIPSIBLINGS 0x04000000L
#define WS_CLIPCHILDREN 0x02000000L
#define WS_MAXIMIZE 0x01000000L
#define WS_CAPTION 0x00C00000L
#define WS_BORDER 0x00800000L
#define WS_DLGFRAME 0x00400000L
#define WS_VSCROLL 0x00200000L
#define WS_HSCROLL 0x00100000L
#define WS_SYSMENU 0x00080000L
#define WS_THICKFRAME 0x00040000L
#define WS_GROUP 0x00020000L
#define WS_TABSTOP 0x00010000L
#define WS_MINIMIZEBOX 0x00020000L
#define WS_MAXIMIZEBOX 0x00010000L
#define WS_EX_DLGMODALFRAME 0x00000001L
#define WS_EX_NOPARENTNOTIFY 0x00000004L
#define WS_EX_TOPMOST 0x00000008L
#define WS_EX_TRANSPARENT 0x00000020L
#define WS_EX_TOOLWINDOW 0x00000080L
#define WS_EX_WINDOWEDGE 0x00000100L
#define WS_EX_CLIENTEDGE 0x00000200L
#define WS_EX_CONTEXTHELP 0x00000400L
#define WS_EX_CONTROLPARENT 0x00010000L
#define WS_EX_STATICEDGE 0x00020000L

// Dialog styles.
#define DS_ABSALIGN 0x0001L
#define DS_SYSMODAL 0x0002L
#define DS_3DLOOK 0x0004L
#define DS_FIXEDSYS 0x0008L
#define DS_NOFAILCREATE 0x0010L
#define DS_LOCALEDIT 0x0020L
#define DS_SETFONT 0x0040L
#define DS_MODALFRAME 0x0080L
#define DS_NOIDLEMSG 0x0100L
#define DS_SETFOREGROUND 0x0200L
#define DS_CONTROL 0x0400L
#define DS_CENTER 0x0800L
#define DS_CENTERMOUSE 0x1000L
#define DS_CONTEXTHELP 0x2000L
#define DS_SHELLFONT (DS_SETFONT | DS_FIXEDSYS)

// Button styles (the low four bits are the button's type).
#define BS_PUSHBUTTON 0x00000000L
#define BS_DEFPUSHBUTTON 0x00000001L
#define BS_CHECKBOX 0x00000002L
#define BS_AUTOCHECKBOX 0x00000003L
#define BS_RADIOBUTTON 0x00000004L
#define BS_3STATE 0x00000005L
#define BS_AUTO3STATE 0x00000006L
#define BS_GROUPBOX 0x00000007L
#define BS_USERBUTTON 0x00000008L
#define BS_AUTORADIOBUTTON 0x00000009L
#define BS_PUSHBOX 0x0000000AL
#define BS_OWNERDRAW 0x0000000BL
#define BS_TYPEMASK 0x0000000FL
#define BS_LEFTTEXT 0x00000020L
#define BS_RIGHTBUTTON BS_LEFTTEXT
#define BS_TEXT 0x00000000L
#define BS_ICON 0x00000040L
#define BS_BITMAP 0x00000080L
#define BS_LEFT 0x00000100L
#define BS_RIGHT 0x00000200L
#define BS_CENTER 0x00000300L
#define BS_TOP 0x00000400L
#define BS_BOTTOM 0x00000800L
#define BS_VCENTER 0x00000C00L
#define BS_PUSHLIKE 0x00001000L
#define BS_MULTILINE 0x00002000L
#define BS_NOTIFY 0x00004000L
#define BS_FLAT 0x00008000L

// Edit styles.
#define ES_LEFT 0x0000L
#define ES_CENTER 0x0001L
#define ES_RIGHT 0x0002L
#define ES_MULTILINE 0x0004L
#define ES_UPPERCASE 0x0008L
#define ES_LOWERCASE 0x0010L
#define ES_PASSWORD 0x0020L
#define ES_AUTOVSCROLL 0x0040L
#define ES_AUTOHSCROLL 0x0080L
#define ES_NOHIDESEL 0x0100L
#define ES_OEMCONVERT 0x0400L
#define ES_READONLY 0x0800L
#define ES_WANTRETURN 0x1000L
#define ES_NUMBER 0x2000L

// Static styles.
#define SS_LEFT 0x00000000L
#define SS_CENTER 0x00000001L
#define SS_RIGHT 0x00000002L
#define SS_ICON 0x00000003L
#define SS_BLACKRECT 0x00000004L
#define SS_GRAYRECT 0x00000005L
#define SS_WHITERECT 0x00000006L
#define SS_BLACKFRAME 0x00000007L
#define SS_GRAYFRAME 0x00000008L
#define SS_WHITEFRAME 0x00000009L
#define SS_SIMPLE 0x0000000BL
#define SS_LEFTNOWORDWRAP 0x0000000CL
#define SS_OWNERDRAW 0x0000000DL
#define SS_BITMAP 0x0000000EL
#define SS_ETCHEDHORZ 0x00000010L
#define SS_ETCHEDVERT 0x00000011L
#define SS_ETCHEDFRAME 0x00000012L
#define SS_TYPEMASK 0x0000001FL
#define SS_NOPREFIX 0x00000080L
#define SS_NOTIFY 0x00000100L
#define SS_CENTERIMAGE 0x00000200L
#define SS_RIGHTJUST 0x00000400L
#define SS_SUNKEN 0x00001000L

// Combo box and list box styles.
#define CBS_SIMPLE 0x0001L
#define CBS_DROPDOWN 0x0002L
#define CBS_DROPDOWNLIST 0x0003L
#define CBS_OWNERDRAWFIXED 0x0010L
#define CBS_OWNERDRAWVARIABLE 0x0020L
#define CBS_AUTOHSCROLL 0x0040L
#define CBS_OEMCONVERT 0x0080L
#define CBS_SORT 0x0100L
#define CBS_HASSTRINGS 0x0200L
#define CBS_NOINTEGRALHEIGHT 0x0400L
#define CBS_DISABLENOSCROLL 0x0800L
#define CBS_UPPERCASE 0x2000L
#define CBS_LOWERCASE 0x4000L
#define LBS_NOTIFY 0x0001L
#define LBS_SORT 0x0002L
#define LBS_NOREDRAW 0x0004L
#define LBS_MULTIPLESEL 0x0008L
#define LBS_HASSTRINGS 0x0040L
#define LBS_USETABSTOPS 0x0080L
#define LBS_NOINTEGRALHEIGHT 0x0100L
#define LBS_EXTENDEDSEL 0x0800L
#define LBS_DISABLENOSCROLL 0x1000L
#define LBS_STANDARD (LBS_NOTIFY | LBS_SORT | WS_VSCROLL | WS_BORDER)

// Owner-draw item types and actions (DRAWITEMSTRUCT).
#define ODT_BUTTON 4
#define ODA_DRAWENTIRE 0x0001
#define ODS_SELECTED 0x0001
#define ODS_DISABLED 0x0004
#define ODS_FOCUS 0x0010

// Further dialog results and combo box messages.
#define IDCLOSE 8
#define IDHELP 9
#define IDC_STATIC -1
#define CB_FINDSTRINGEXACT 0x0158
#define CB_DELETESTRING 0x0144
#define CB_INSERTSTRING 0x014A
#define CB_GETLBTEXTLEN 0x0149
#define BST_INDETERMINATE 2
#define BM_CLICK 0x00F5

// Window data slots (SetWindowLongPtrA / GetWindowLongPtrA).
#define GWLP_USERDATA (-21)
#define GWLP_ID (-12)
#define GWL_STYLE (-16)
#define DWLP_MSGRESULT 0
#define DWLP_USER 16

#ifdef __cplusplus
extern "C" {
#endif

// --- dialogs and controls (USER32) ------------------------------------------------------------
QVWINAPI INT_PTR WINAPI DialogBoxParamA(HINSTANCE hInstance, LPCSTR templateName, HWND owner,
                                        DLGPROC proc, LPARAM initParam);
QVWINAPI BOOL WINAPI EndDialog(HWND dlg, INT_PTR result);
QVWINAPI LRESULT WINAPI SendDlgItemMessageA(HWND dlg, int id, UINT msg, WPARAM wParam,
                                            LPARAM lParam);
QVWINAPI LRESULT WINAPI SendMessageA(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam);
QVWINAPI HWND WINAPI GetDlgItem(HWND dlg, int id);
QVWINAPI int WINAPI GetDlgCtrlID(HWND control);
QVWINAPI HWND WINAPI GetParent(HWND wnd);
QVWINAPI BOOL WINAPI EnableWindow(HWND wnd, BOOL enable);
QVWINAPI BOOL WINAPI IsWindowEnabled(HWND wnd);
QVWINAPI BOOL WINAPI ShowWindow(HWND wnd, int cmd);
QVWINAPI BOOL WINAPI IsWindowVisible(HWND wnd);
QVWINAPI BOOL WINAPI SetWindowTextA(HWND wnd, LPCSTR text);
QVWINAPI int WINAPI GetWindowTextA(HWND wnd, LPSTR text, int maxCount);
QVWINAPI int WINAPI GetWindowTextLengthA(HWND wnd);
QVWINAPI BOOL WINAPI SetDlgItemTextA(HWND dlg, int id, LPCSTR text);
QVWINAPI UINT WINAPI GetDlgItemTextA(HWND dlg, int id, LPSTR text, int maxCount);
QVWINAPI BOOL WINAPI SetDlgItemInt(HWND dlg, int id, UINT value, BOOL isSigned);
QVWINAPI UINT WINAPI GetDlgItemInt(HWND dlg, int id, BOOL* translated, BOOL isSigned);
QVWINAPI BOOL WINAPI CheckDlgButton(HWND dlg, int id, UINT check);
QVWINAPI UINT WINAPI IsDlgButtonChecked(HWND dlg, int id);
QVWINAPI BOOL WINAPI CheckRadioButton(HWND dlg, int firstId, int lastId, int checkId);
QVWINAPI BOOL WINAPI RedrawWindow(HWND wnd, const RECT* update, void* region, UINT flags);
QVWINAPI BOOL WINAPI InvalidateRect(HWND wnd, const RECT* rect, BOOL erase);
QVWINAPI LONG_PTR WINAPI SetWindowLongPtrA(HWND wnd, int index, LONG_PTR value);
QVWINAPI LONG_PTR WINAPI GetWindowLongPtrA(HWND wnd, int index);
QVWINAPI HWND WINAPI GetFocus(void);
QVWINAPI HWND WINAPI SetFocus(HWND wnd);
QVWINAPI HWND WINAPI GetActiveWindow(void);
QVWINAPI int WINAPI MessageBoxA(HWND owner, LPCSTR text, LPCSTR caption, UINT type);
QVWINAPI HCURSOR WINAPI LoadCursorA(HINSTANCE hInstance, LPCSTR name);
QVWINAPI HCURSOR WINAPI SetCursor(HCURSOR cursor);
QVWINAPI HCURSOR WINAPI GetCursor(void);
QVWINAPI HBITMAP WINAPI LoadBitmapA(HINSTANCE hInstance, LPCSTR name);
QVWINAPI SHORT WINAPI GetAsyncKeyState(int key);

// --- GDI32 --------------------------------------------------------------------------------------
QVWINAPI COLORREF WINAPI SetBkColor(HDC dc, COLORREF colour);
QVWINAPI BOOL WINAPI ExtTextOutA(HDC dc, int x, int y, UINT options, const RECT* rect,
                                 LPCSTR text, UINT count, const int* dx);
QVWINAPI BOOL WINAPI DeleteObject(HGDIOBJ object);

// --- common dialogs -----------------------------------------------------------------------------
QVWINAPI BOOL WINAPI GetOpenFileNameA(LPOPENFILENAMEA ofn);
QVWINAPI BOOL WINAPI GetSaveFileNameA(LPOPENFILENAMEA ofn);

#ifdef __cplusplus
}
#endif

#define DialogBoxParam DialogBoxParamA
#define SendDlgItemMessage SendDlgItemMessageA
#define SendMessage SendMessageA
#define SetWindowText SetWindowTextA
#define GetWindowText GetWindowTextA
#define SetDlgItemText SetDlgItemTextA
#define GetDlgItemText GetDlgItemTextA
#define MessageBox MessageBoxA
#define LoadCursor LoadCursorA
#define LoadBitmap LoadBitmapA
#define ExtTextOut ExtTextOutA
#define SetWindowLongPtr SetWindowLongPtrA
#define GetWindowLongPtr GetWindowLongPtrA
#define GetOpenFileName GetOpenFileNameA
#define GetSaveFileName GetSaveFileNameA
#define OPENFILENAME OPENFILENAMEA
