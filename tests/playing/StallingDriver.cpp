#include "StallingDriver.h"

namespace {

bool named(const std::string& path, const char* word) {
    return path.find(word, path.find_last_of('\\') + 1) != std::string::npos;
}

}  // namespace

bool isStallingFile(const std::string& path) { return named(path, "stall"); }

StallingDriver::StallingDriver(DWORD stallAt) : stallAt(stallAt) {}

StallingDriver::~StallingDriver() { mcicalls::filter(nullptr); }

bool StallingDriver::install() {
    opened.reserve(1000);  // the records of a show must not move while one is in use
    return mcicalls::filter([this](mcicalls::SendProc send, MCIDEVICEID device, UINT command, DWORD_PTR flags,
                                   DWORD_PTR parameters) {
        system = send;
        return filter(send, device, command, flags, parameters);
    });
}

StallingDriver::File* StallingDriver::fileOf(MCIDEVICEID device) {
    for (size_t i = opened.size(); i > 0; --i)
        if (opened[i - 1].device == device) return &opened[i - 1];
    return nullptr;
}

DWORD StallingDriver::status(MCIDEVICEID device, DWORD item) {
    MCI_STATUS_PARMS parms = {};
    parms.dwItem = item;
    if (!system || system(device, MCI_STATUS, MCI_WAIT | MCI_STATUS_ITEM, reinterpret_cast<DWORD_PTR>(&parms)))
        return 0;
    return static_cast<DWORD>(parms.dwReturn);
}

MCIERROR StallingDriver::filter(mcicalls::SendProc send, MCIDEVICEID device, UINT command, DWORD_PTR flags,
                                DWORD_PTR parameters) {
    if (command == MCI_OPEN) {
        MCIERROR result = send(device, command, flags, parameters);
        const MCI_OPEN_PARMSA* open = reinterpret_cast<const MCI_OPEN_PARMSA*>(parameters);
        if (result == 0) opened.push_back(File{open->lpstrElementName, open->wDeviceID, 0, 0, 0, 0, 0, nullptr, false});
        return result;
    }
    File* file = fileOf(device);
    if (!file) return send(device, command, flags, parameters);
    if (command == MCI_PLAY && !file->playedAt) {
        file->playedAt = GetTickCount();
        const MCI_PLAY_PARMS* play = reinterpret_cast<const MCI_PLAY_PARMS*>(parameters);
        if (flags & MCI_NOTIFY) file->callback = reinterpret_cast<HWND>(play->dwCallback);
        if (named(file->path, "noend")) flags &= ~static_cast<DWORD_PTR>(MCI_NOTIFY);
        if (named(file->path, "slow")) {
            MCI_SEEK_PARMS seek = {};
            seek.dwTo = play->dwFrom;
            heldPlay = *play;
            heldFlags = static_cast<DWORD>(flags);
            return send(device, MCI_SEEK, MCI_WAIT | MCI_TO, reinterpret_cast<DWORD_PTR>(&seek));
        }
        if (isStallingFile(file->path)) {
            if (play->dwFrom < stallAt) {
                // To the stall point, and no word of the end.
                MCI_PLAY_PARMS cut = *play;
                cut.dwTo = stallAt;
                return send(device, MCI_PLAY, MCI_FROM | MCI_TO, reinterpret_cast<DWORD_PTR>(&cut));
            }
            MCI_SEEK_PARMS seek = {};
            seek.dwTo = play->dwFrom;
            file->stalledAt = file->playedAt;
            return send(device, MCI_SEEK, MCI_WAIT | MCI_TO, reinterpret_cast<DWORD_PTR>(&seek));
        }
    }
    if (command == MCI_STATUS && (flags & MCI_STATUS_ITEM) && named(file->path, "zero")) {
        MCI_STATUS_PARMS* query = reinterpret_cast<MCI_STATUS_PARMS*>(parameters);
        if (query->dwItem == MCI_STATUS_POSITION) {
            query->dwReturn = 0;
            return 0;
        }
    }
    if (command == MCI_CLOSE && named(file->path, "late") && file->callback)
        PostMessageA(file->callback, MM_MCINOTIFY, MCI_NOTIFY_SUCCESSFUL, device);
    if (command == MCI_STOP && file->playedAt && !file->stoppedAt) {
        file->modeAtStop = status(device, MCI_STATUS_MODE);
        file->positionAtStop = status(device, MCI_STATUS_POSITION);
        file->stoppedAt = GetTickCount();
        file->stoppedAtItsEnd = inprocess::handlingShowNext();
    }
    return send(device, command, flags, parameters);
}

void StallingDriver::look() {
    if (opened.empty()) return;
    File& file = opened.back();
    if (heldFlags && named(file.path, "slow") && !file.stoppedAt && GetTickCount() - file.playedAt >= slowStart) {
        system(file.device, MCI_PLAY, heldFlags, reinterpret_cast<DWORD_PTR>(&heldPlay));
        heldFlags = 0;
    }
    if (!isStallingFile(file.path) || !file.playedAt || file.stalledAt || file.stoppedAt) return;
    // The driver's mode turns to stopped when the cut play reaches its end.
    if (status(file.device, MCI_STATUS_MODE) == MCI_MODE_STOP) file.stalledAt = GetTickCount();
}

const StallingDriver::File* StallingDriver::nextPlayed(size_t after, const std::string& name) const {
    for (size_t i = after + 1; i < opened.size(); ++i) {
        const std::string& path = opened[i].path;
        if (opened[i].playedAt && path.size() >= name.size() &&
            path.compare(path.size() - name.size(), name.size(), name) == 0)
            return &opened[i];
    }
    return nullptr;
}

int StallingDriver::stalls() const {
    int count = 0;
    for (const File& file : opened)
        if (file.stalledAt) ++count;
    return count;
}
