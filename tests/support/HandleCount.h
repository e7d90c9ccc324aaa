#pragma once
#include <windows.h>

// How many handles a process holds, or -1 where that cannot be told. Wine 10
// answers GetProcessHandleCount with 0 for every process (its query is a
// stub) but lists the handles of all of them in the system's handle table.
long processHandleCount(HANDLE process, DWORD processId);
