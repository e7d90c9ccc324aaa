#pragma once
#include <windows.h>

#include "base/CountedString.h"

class Exception;

// The settings dialog's short messages: string resources in which %1 and %2
// stand for the texts put in, shown in a box that the dialog owns.
namespace dialogmessages {

CountedString format(UINT id, const char* first, const char* second = "");
void tell(HWND owner, UINT id, const char* first = "", const char* second = "");
// The system's text for the error, or its number when the system has none.
CountedString reason(Exception* e);

}  // namespace dialogmessages
