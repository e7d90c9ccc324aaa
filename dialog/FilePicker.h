#pragma once
#include <windows.h>
#include <commdlg.h>

#include "base/WidePath.h"

// Drives the system's open-file dialog and turns its selection (one full
// path, or a directory followed by names) into one full path per file.
// Never throws: an allocation failure leaves the picker inert.
class FilePicker {
public:
    FilePicker(HWND owner, DWORD flags, int bufferSize);
    virtual ~FilePicker();

    // "|"-separated description/pattern pairs, or null to drop the filter.
    void setFilter(const char* text);
    // Shows the dialog; true when the user confirmed a selection.
    bool run();
    // Why the last run gave no selection: the dialog's error number, 0 after
    // a cancel. FNERR_BUFFERTOOSMALL when the selection did not fit; the
    // buffer has grown since, so that it fits the next time.
    DWORD failure() const { return failureCode; }
    int selectedCount() const;
    // Full path of file `index` of the selection; valid until the next call.
    // Empty when there is no selection or the path would not fit in MAX_PATH
    // (see WidePath::fitsMaxPath).
    const char* selectedPath(int index);
    // File `index` as the dialog named it: the bare name, or the single path.
    const char* selectedName(int index) const;

    // The buffer the dialog writes its selection into (null when inert),
    // and the record handed to it, whose nFileOffset the dialog sets.
    char* selectionBuffer() const { return fileBuffer; }
    const OPENFILENAMEA& dialogRecord() const { return record; }
    OPENFILENAMEA& dialogRecord() { return record; }

private:
    FilePicker(const FilePicker&) = delete;
    FilePicker& operator=(const FilePicker&) = delete;

    bool isMultiple() const;
    bool selectionFits() const;
    void grow();
    const char* nameAt(int index) const;

    char* fileBuffer;
    char* titleBuffer;
    char* filterCopy;
    OPENFILENAMEA record;
    char resultPath[WidePath::maxNarrowBytes];
    DWORD failureCode;
};
