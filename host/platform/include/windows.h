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
#define GetOpenFileName GetOpenFileNameA
#define GetSaveFileName GetSaveFileNameA
#define OPENFILENAME OPENFILENAMEA
