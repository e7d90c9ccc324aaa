#include "support/HandleCount.h"

#include <vector>

namespace {

// The entries of the system's handle table that belong to one process.
long countSystemHandles(DWORD processId) {
    struct Entry {
        ULONG ownerPid;
        BYTE objectType;
        BYTE flags;
        USHORT value;
        PVOID object;
        ACCESS_MASK access;
    };
    struct Table {
        ULONG count;
        Entry entries[1];
    };
    typedef LONG(WINAPI * Query)(int, void*, ULONG, ULONG*);
    const int systemHandleInformation = 16;
    const LONG lengthMismatch = static_cast<LONG>(0xC0000004);
    Query query = reinterpret_cast<Query>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("ntdll.dll"), "NtQuerySystemInformation")));
    if (!query) return -1;
    std::vector<char> buffer(1 << 16);
    LONG status;
    while ((status = query(systemHandleInformation, buffer.data(), static_cast<ULONG>(buffer.size()), nullptr)) ==
           lengthMismatch) {
        if (buffer.size() >= (1u << 28)) return -1;
        buffer.resize(buffer.size() * 2);
    }
    if (status < 0) return -1;
    const Table* table = reinterpret_cast<const Table*>(buffer.data());
    long handles = 0;
    for (ULONG i = 0; i < table->count; ++i) {
        if (table->entries[i].ownerPid == processId) ++handles;
    }
    return handles;
}

}  // namespace

long processHandleCount(HANDLE process, DWORD processId) {
    DWORD handles = 0;
    if (GetProcessHandleCount(process, &handles) && handles) return static_cast<long>(handles);
    return countSystemHandles(processId);
}
