#pragma once
#include <windows.h>
#include <mmsystem.h>

// Wine's drivers accept any window for MCI_WINDOW and always name their
// display window, so this test program makes such commands fail through
// the MCI seam (support/MciCalls.h).
namespace commandfault {

// Makes every later `command` (for MCI_STATUS only the status item `item`)
// answer `error` without reaching the driver; fail(0, 0, 0) ends that.
void fail(UINT command, DWORD item, MCIERROR error);

}  // namespace commandfault
