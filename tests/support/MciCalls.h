#pragma once
#include <windows.h>

#include <mmsystem.h>

#include <functional>
#include <string>
#include <vector>

// The seam for what Wine's drivers cannot be made to do on demand: every
// mciSendCommandA of this program (the program's code linked into it and
// the test's own calls alike) goes through a stand-in, once a test asks for
// one. The test program's import of the function is redirected (see
// support/ImportRedirect.h); both functions below return false when it was
// not found.
namespace mcicalls {

// One command as the program sent it, with its result. For a successful
// MCI_OPEN, device is the identifier the open returned and element the file.
struct Call {
    MCIDEVICEID device;
    UINT command;
    DWORD flags;
    MCIERROR result;
    std::string element;
};
// From now on each command is appended to log (null: no longer); the
// commands themselves go on unchanged.
bool record(std::vector<Call>* log);

// The system's mciSendCommandA, as a filter is handed it.
typedef MCIERROR(WINAPI* SendProc)(MCIDEVICEID, UINT, DWORD_PTR, DWORD_PTR);
// A stand-in for a driver's behaviour: it sees each command before the
// system does and decides what reaches it (usually the command itself,
// through send) and what the program gets back.
using Filter = std::function<MCIERROR(SendProc send, MCIDEVICEID device, UINT command, DWORD_PTR flags,
                                      DWORD_PTR parameters)>;
// From now on each command goes through filter (an empty one lets every
// command through unchanged); recording goes on as before.
bool filter(const Filter& filter);

}  // namespace mcicalls
