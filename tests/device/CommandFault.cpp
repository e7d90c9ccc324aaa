#include "CommandFault.h"

namespace {

UINT failingCommand = 0;
DWORD failingItem = 0;
MCIERROR failure = 0;

typedef MCIERROR(WINAPI* SendCommand)(MCIDEVICEID, UINT, DWORD_PTR, DWORD_PTR);

MCIERROR WINAPI passThrough(MCIDEVICEID device, UINT command, DWORD_PTR flags, DWORD_PTR parms) {
    if (failingCommand != 0 && command == failingCommand &&
        (command != MCI_STATUS || reinterpret_cast<MCI_STATUS_PARMS*>(parms)->dwItem == failingItem)) {
        return failure;
    }
    static SendCommand real = reinterpret_cast<SendCommand>(reinterpret_cast<void*>(
        GetProcAddress(LoadLibraryA("winmm.dll"), "mciSendCommandA")));
    return real(device, command, flags, parms);
}

}  // namespace

// The import slot that every call of mciSendCommandA in this program goes
// through. 32-bit names carry the underscore and the stdcall byte count.
#ifdef _WIN64
#define SEND_COMMAND_IMPORT "__imp_mciSendCommandA"
#else
#define SEND_COMMAND_IMPORT "__imp__mciSendCommandA@16"
#endif
extern "C" {
SendCommand importedSendCommand asm(SEND_COMMAND_IMPORT) = passThrough;
}

namespace commandfault {

void fail(UINT command, DWORD item, MCIERROR error) {
    failingCommand = command;
    failingItem = item;
    failure = error;
}

}  // namespace commandfault
