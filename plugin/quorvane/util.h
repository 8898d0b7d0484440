// Host utilities the plug-in uses: assertion reports, growable array storage, the number
// fields of panels and whole-file writes.
#pragma once

#include <cstddef>
#include <windows.h>

#include "quorvane/api.h"

// Reports a failed internal check (expression text, source name, line). The host prints it
// as "assertion failed: TEXT (SOURCE:LINE)" on standard error and carries on.
QVAPI void MyAssertFailedLine(const char* text, const char* source, int line);
// Number of reports since start (for tests).
QVAPI int NumAssertsReported();

// Zeroed storage for capacity elements of elemSize bytes; null for capacity 0.
QVAPI void* array_new(size_t elemSize, int capacity);
QVAPI void array_delete(void* data);
// Reports "index out of range" through MyAssertFailedLine unless 0 <= index < count;
// answers 1 when the index is valid.
QVAPI int array_assert(int index, int count, const char* source, int line);

// Panel number fields. The getters parse the edit's text: 1 when it held a number (value
// set), 0 otherwise (value untouched). winSetEditFloat writes with the given decimals.
QVAPI int winGetEditInt(HWND dlg, int id, int& value);
QVAPI int winGetEditFloat(HWND dlg, int id, float& value);
QVAPI void winSetEditInt(HWND dlg, int id, int value);
QVAPI void winSetEditFloat(HWND dlg, int id, float value, int decimals);

// Writes size bytes as the whole content of the file at path, through a temporary file in the
// same folder that then replaces it: the old file stays whole until the new one is complete.
// 1 when written; 0 otherwise, with the file at path as it was.
QVAPI int WriteWholeFile(const char* path, const void* data, size_t size);
