#pragma once
#include <windows.h>

#include <mmsystem.h>

#include <string>
#include <vector>

#include "support/InProcessShow.h"
#include "support/MciCalls.h"

// Stands in, inside an in-process show, for drivers that misbehave, on files
// picked by their names:
// - "stall" in the name: the driver stops at stallAt without ever reporting
//   an end (the play runs up to there, with no notification); a play that
//   starts at stallAt or beyond only puts the position there.
// - "zero" in the name: the position reads 0 whatever it is, as some
//   drivers report it.
// - "late" in the name: when the show closes the file, the driver's word of
//   a successful end arrives just before (an end reported at the moment the
//   show gave up on the file).
// - "slow" in the name: the play begins slowStart after the show's command,
//   the position reading the start point meanwhile (a seek over a network).
// - "noend" in the name: the driver never reports the end of the play.
// Every other file plays as its driver plays it. The stand-in also notes,
// for each file the show opened, when it began and how it stood when the
// show stopped it.
class StallingDriver {
public:
    struct File {
        std::string path;
        MCIDEVICEID device;
        DWORD playedAt;         // tick count of the show's play command; 0 before
        DWORD stalledAt;        // tick count at which a stalling file was seen to stand still
        DWORD stoppedAt;        // tick count of the show's first stop; 0 before
        DWORD modeAtStop;       // the driver's real mode just before that stop
        DWORD positionAtStop;   // its real position then, in milliseconds
        HWND callback;          // where the show asked for the word of the end
        bool stoppedAtItsEnd;   // that stop came as the show handled the driver's word of the end
    };

    // How long a "slow" file takes to begin.
    enum { slowStart = 8000 };

    explicit StallingDriver(DWORD stallAt);
    ~StallingDriver();  // lets every command through unchanged again

    // False when the program's MCI calls cannot be reached.
    bool install();

    // Looks at the open stalling file; call it often (from a wait's
    // condition) to know when it came to stand still.
    void look();

    const std::vector<File>& files() const { return opened; }
    // The first file opened after index whose path ends with name; null if none.
    const File* nextPlayed(size_t after, const std::string& name) const;
    // The number of files with name in their path that stood still.
    int stalls() const;

private:
    MCIERROR filter(mcicalls::SendProc send, MCIDEVICEID device, UINT command, DWORD_PTR flags,
                    DWORD_PTR parameters);
    File* fileOf(MCIDEVICEID device);
    DWORD status(MCIDEVICEID device, DWORD item);

    DWORD stallAt;
    mcicalls::SendProc system = nullptr;
    MCI_PLAY_PARMS heldPlay = {};  // the play of a slow file, not yet begun
    DWORD heldFlags = 0;
    std::vector<File> opened;
};

bool isStallingFile(const std::string& path);
