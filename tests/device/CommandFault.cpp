#include "CommandFault.h"

#include "support/MciCalls.h"

namespace commandfault {

void fail(UINT command, DWORD item, MCIERROR error) {
    if (!command) {
        mcicalls::filter(nullptr);
        return;
    }
    mcicalls::filter([=](mcicalls::SendProc send, MCIDEVICEID device, UINT sent, DWORD_PTR flags, DWORD_PTR parms) {
        if (sent == command && (sent != MCI_STATUS || reinterpret_cast<MCI_STATUS_PARMS*>(parms)->dwItem == item))
            return error;
        return send(device, sent, flags, parms);
    });
}

}  // namespace commandfault
