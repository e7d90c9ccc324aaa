#include "support/MciCalls.h"

#include "support/ImportRedirect.h"

namespace mcicalls {

namespace {

SendProc systemSend = nullptr;
std::vector<Call>* callLog = nullptr;
Filter standIn;

MCIERROR WINAPI interceptedSend(MCIDEVICEID device, UINT command, DWORD_PTR flags, DWORD_PTR parameters) {
    MCIERROR result = standIn ? standIn(systemSend, device, command, flags, parameters)
                              : systemSend(device, command, flags, parameters);
    Call call = {device, command, static_cast<DWORD>(flags), result, ""};
    if (command == MCI_OPEN && result == 0) {
        const MCI_OPEN_PARMSA* open = reinterpret_cast<const MCI_OPEN_PARMSA*>(parameters);
        call.device = open->wDeviceID;
        if ((flags & MCI_OPEN_ELEMENT) && open->lpstrElementName) call.element = open->lpstrElementName;
    }
    if (callLog) callLog->push_back(call);
    return result;
}

bool intercept() {
    if (!systemSend) systemSend = imports::redirect("winmm.dll", "mciSendCommandA", &interceptedSend);
    return systemSend != nullptr;
}

}  // namespace

bool record(std::vector<Call>* log) {
    callLog = log;
    return intercept();
}

bool filter(const Filter& filter) {
    standIn = filter;
    return intercept();
}

}  // namespace mcicalls
