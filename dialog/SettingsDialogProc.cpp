#include "dialog/SettingsDialogProc.h"

#include <cderr.h>
#include <new>

#include "base/ButtonControl.h"
#include "base/CountedString.h"
#include "base/Exception.h"
#include "base/ListBoxControl.h"
#include "base/WidePath.h"
#include "dialog/DialogMessages.h"
#include "dialog/FilePicker.h"
#include "dialog/FolderPicker.h"
#include "dialog/TooLongPaths.h"
#include "playback/foundation/MediaFoundation.h"
#include "resources/ResourceIds.h"
#include "settings/Settings.h"

namespace {

const WPARAM listSelectionChanged = MAKEWPARAM(IDC_ENTRY_LIST, LBN_SELCHANGE);
const DWORD openFileFlags = OFN_EXPLORER | OFN_FILEMUSTEXIST | OFN_ALLOWMULTISELECT | OFN_HIDEREADONLY;
// Room for some thirteen hundred names as cameras name their files; a
// larger selection makes the picker's buffer grow.
const int selectionBufferSize = 32 * 1024;

// One showing of the dialog at a time. The control wrappers live for the
// process; the heap objects are made at the first message of each showing
// and deleted at WM_DESTROY, so the dialog can be shown again.
struct DialogState {
    FilePicker* filePicker = nullptr;
    FolderPicker* folderPicker = nullptr;
    ListBoxControl entryList;
    ButtonControl upButton, downButton, addFolderButton, addFileButton, deleteButton, okButton;
    ButtonControl randomBox, resumeBox, noSoundBox, keepAspectBox;
    Settings* settings = nullptr;
    bool showing = false;
};

DialogState& state() {
    static DialogState dialogState;
    return dialogState;
}

void makeHeapObjects(HWND dialog) {
    DialogState& s = state();
    s.filePicker = new (std::nothrow) FilePicker(dialog, openFileFlags, selectionBufferSize);
    s.folderPicker = new (std::nothrow) FolderPicker(dialog);
    try {
        s.settings = new (std::nothrow) Settings();
    } catch (Exception* e) {
        // Its strings could not be allocated: left null, so that the
        // initialisation fails cleanly.
        dispose(e);
        s.settings = nullptr;
    }
    s.showing = true;
}

void deleteHeapObjects() {
    DialogState& s = state();
    delete s.filePicker;
    delete s.folderPicker;
    delete s.settings;
    s.filePicker = nullptr;
    s.folderPicker = nullptr;
    s.settings = nullptr;
    s.showing = false;
}

// Every change of the list ends here, as a selection change of the list.
void selectionChanged(HWND dialog) {
    SendMessageA(dialog, WM_COMMAND, listSelectionChanged, 0);
}

// The settings file's name beside the program.
CountedString iniFileName() {
    CountedString name;
    name.loadString(nullptr, IDS_PRODUCT_NAME);
    name += ".ini";
    return name;
}

void onInitDialog(HWND dialog) {
    DialogState& s = state();
    if (!s.filePicker || !s.folderPicker || !s.settings) throwOutOfMemory();

    s.settings->bind(iniFileName());
    s.settings->load();

    s.entryList.attach(GetDlgItem(dialog, IDC_ENTRY_LIST));
    s.upButton.attach(GetDlgItem(dialog, IDC_UP));
    s.downButton.attach(GetDlgItem(dialog, IDC_DOWN));
    s.addFolderButton.attach(GetDlgItem(dialog, IDC_ADD_FOLDER));
    s.addFileButton.attach(GetDlgItem(dialog, IDC_ADD_FILE));
    s.deleteButton.attach(GetDlgItem(dialog, IDC_DELETE));
    s.okButton.attach(GetDlgItem(dialog, IDOK));
    s.randomBox.attach(GetDlgItem(dialog, IDC_RANDOM));
    s.resumeBox.attach(GetDlgItem(dialog, IDC_RESUME));
    s.noSoundBox.attach(GetDlgItem(dialog, IDC_NO_SOUND));
    s.keepAspectBox.attach(GetDlgItem(dialog, IDC_KEEP_ASPECT));

    selectionChanged(dialog);
    if (s.settings->random) s.randomBox.setCheck(BST_CHECKED);
    if (s.settings->resume) s.resumeBox.setCheck(BST_CHECKED);
    if (!s.settings->sound) s.noSoundBox.setCheck(BST_CHECKED);
    if (s.settings->keepAspect) s.keepAspectBox.setCheck(BST_CHECKED);
    s.entryList.addStrings(s.settings->entries);
}

void onOk(HWND dialog) {
    DialogState& s = state();
    Settings& settings = *s.settings;
    settings.random = s.randomBox.getCheck() == BST_CHECKED ? 1 : 0;
    settings.resume = s.resumeBox.getCheck() == BST_CHECKED ? 1 : 0;
    settings.sound = s.noSoundBox.getCheck() == BST_CHECKED ? 0 : 1;
    settings.keepAspect = s.keepAspectBox.getCheck() == BST_CHECKED ? 1 : 0;
    settings.entries.clear();
    const int count = s.entryList.getCount();
    for (int i = 0; i < count; ++i) settings.entries.add(s.entryList.getText(i));
    try {
        settings.save();
    } catch (Exception* e) {
        // The dialog stays open as the user left it, so that OK can be tried again.
        CountedString reason = dialogmessages::reason(e);
        dispose(e);
        dialogmessages::tell(dialog, IDS_SAVE_FAILED, iniFileName().c_str(), reason.c_str());
        return;
    }
    EndDialog(dialog, IDOK);
}

// Moves the selected entry by one place (-1 up, +1 down) and keeps it selected.
void onMove(HWND dialog, int step) {
    ListBoxControl& list = state().entryList;
    const int index = list.getCurSel();
    if (index < 0 || index + step < 0 || index + step >= list.getCount()) return;
    CountedString text = list.getText(index);
    // The copy goes in before the original comes out, so that a failed
    // insertion leaves the list as it was instead of losing the entry.
    list.insertString(step < 0 ? index + step : index + step + 1, text);
    list.deleteString(step < 0 ? index + 1 : index);
    list.setCurSel(index + step);
    selectionChanged(dialog);
}

void tellFileDialogFailure(HWND dialog, DWORD failure) {
    if (failure == FNERR_BUFFERTOOSMALL) {
        dialogmessages::tell(dialog, IDS_SELECTION_TOO_LARGE);
    } else if (failure != 0) {
        char number[16];
        wsprintfA(number, "0x%04lX", failure);
        dialogmessages::tell(dialog, IDS_FILE_DIALOG_FAILED, number);
    }
}

// The picker's filter: the types every Windows plays through MCI, and where
// Media Foundation plays today's types, an entry for them (and one for
// Matroska files where Windows has a source for them) before the last one
// (all files).
CountedString fileFilter() {
    CountedString filter;
    filter.loadString(nullptr, IDS_FILE_FILTER);
    if (!MediaFoundation::available()) return filter;
    CountedString foundation;
    foundation.loadString(nullptr, IDS_FILE_FILTER_FOUNDATION);
    if (MediaFoundation::hasSourceFor(".mkv")) {
        CountedString matroska;
        matroska.loadString(nullptr, IDS_FILE_FILTER_MATROSKA);
        foundation = foundation + "|" + matroska;
    }
    // The last entry begins after the last bar but one; a bar may be the
    // second byte of a double-byte character, so the text is walked.
    const char* text = filter.c_str();
    const char* bars[2] = {nullptr, nullptr};
    for (const char* p = text; *p; p = CharNextA(p)) {
        if (*p != '|') continue;
        bars[0] = bars[1];
        bars[1] = p;
    }
    if (!bars[0]) return filter;
    const int lastEntry = static_cast<int>(bars[0] - text) + 1;
    return filter.left(lastEntry) + foundation + "|" + filter.mid(lastEntry);
}

void onAddFile(HWND dialog) {
    DialogState& s = state();
    s.filePicker->setFilter(fileFilter().c_str());
    if (!s.filePicker->run()) {
        tellFileDialogFailure(dialog, s.filePicker->failure());
        return;
    }
    TooLongPaths tooLong;
    const int count = s.filePicker->selectedCount();
    for (int i = 0; i < count; ++i) {
        const char* path = s.filePicker->selectedPath(i);
        // Empty when the path would not fit in MAX_PATH.
        if (*path) {
            s.entryList.addString(path);
        } else {
            tooLong.add(s.filePicker->selectedName(i));
        }
    }
    selectionChanged(dialog);
    tooLong.tell(dialog);
}

void onAddFolder(HWND dialog) {
    DialogState& s = state();
    CountedString prompt;
    prompt.loadString(nullptr, IDS_FOLDER_PROMPT);
    if (!s.folderPicker->browse(prompt.c_str(), nullptr)) {
        if (const char* name = s.folderPicker->refusedName()) dialogmessages::tell(dialog, IDS_NOT_A_FOLDER, name);
        return;
    }
    CountedString path(s.folderPicker->chosenPath());
    if (!path.endsWith("\\")) path += "\\";
    // A folder whose form with the backslash exceeds MAX_PATH could not be
    // stored and read back whole, nor hold any file.
    if (!WidePath::fitsMaxPath(path.c_str())) {
        dialogmessages::tell(dialog, IDS_PATHS_TOO_LONG, path.c_str());
        return;
    }
    s.entryList.addString(path);
    selectionChanged(dialog);
}

void onDelete(HWND dialog) {
    ListBoxControl& list = state().entryList;
    const int index = list.getCurSel();
    if (index < 0) return;
    list.deleteString(index);
    selectionChanged(dialog);
}

// Disables a button; when it has the keyboard focus, the focus goes to the
// list and OK becomes the default button, so that Enter still means OK.
void disableButton(ButtonControl& button) {
    DialogState& s = state();
    if (button.handle() && button.handle() == GetFocus()) {
        button.modifyStyle(BS_DEFPUSHBUTTON, 0);
        s.okButton.modifyStyle(0, BS_DEFPUSHBUTTON);
        s.okButton.setFocus();
        s.entryList.setFocus();
    }
    button.enable(FALSE);
}

void updateButtons() {
    DialogState& s = state();
    s.upButton.enable(TRUE);
    s.downButton.enable(TRUE);
    s.addFolderButton.enable(TRUE);
    s.addFileButton.enable(TRUE);
    s.deleteButton.enable(TRUE);
    const int index = s.entryList.getCurSel();
    if (index < 1) disableButton(s.upButton);
    if (index < 0 || index >= s.entryList.getCount() - 1) disableButton(s.downButton);
    if (index < 0) disableButton(s.deleteButton);
}

// True for the commands the dialog handles.
bool onCommand(HWND dialog, int id, int code) {
    switch (id) {
        case IDOK: onOk(dialog); return true;
        case IDCANCEL: EndDialog(dialog, IDCANCEL); return true;
        case IDC_UP: onMove(dialog, -1); return true;
        case IDC_DOWN: onMove(dialog, +1); return true;
        case IDC_ADD_FILE: onAddFile(dialog); return true;
        case IDC_ADD_FOLDER: onAddFolder(dialog); return true;
        case IDC_DELETE: onDelete(dialog); return true;
        case IDC_ENTRY_LIST:
            if (code == LBN_SELCHANGE) SendMessageA(dialog, WM_UPDATE_BUTTONS, 0, 0);
            return true;
        default:
            return false;
    }
}

}  // namespace

INT_PTR CALLBACK settingsDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    // WM_NCDESTROY follows WM_DESTROY; it must not start a new showing.
    if (!state().showing && message != WM_NCDESTROY) makeHeapObjects(dialog);
    switch (message) {
        case WM_INITDIALOG:
            try {
                onInitDialog(dialog);
            } catch (Exception* e) {
                dispose(e);
                EndDialog(dialog, -1);
            }
            return FALSE;
        case WM_COMMAND: {
            bool handled = true;
            try {
                handled = onCommand(dialog, LOWORD(wParam), HIWORD(wParam));
            } catch (Exception* e) {
                dispose(e);
            }
            return handled ? TRUE : FALSE;
        }
        case WM_UPDATE_BUTTONS:
            try {
                updateButtons();
            } catch (Exception* e) {
                dispose(e);
            }
            return TRUE;
        case WM_DESTROY:
            deleteHeapObjects();
            return TRUE;
        default:
            return FALSE;
    }
}

INT_PTR showSettingsDialog(HINSTANCE module, HWND parent) {
    if (WidePath::wideSystem())
        return DialogBoxParamW(module, MAKEINTRESOURCEW(IDD_SETTINGS), parent, settingsDialogProc, 0);
    return DialogBoxParamA(module, MAKEINTRESOURCEA(IDD_SETTINGS), parent, settingsDialogProc, 0);
}
