// The INI file shared by a running show and the settings dialog: the dialog
// writes "Setting" and "PlayList", the show only "Resume", without any
// locking. The dialog's side is a Settings object in this process, as the
// dialog uses it; the show is the real program.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "RobustReport.h"
#include "base/Exception.h"
#include "settings/Settings.h"
#include "support/IniFile.h"
#include "support/MessagePump.h"
#include "support/PlayOrder.h"
#include "support/ProgramCopy.h"
#include "support/RunningProgram.h"
#include "support/ScreenPicture.h"
#include "support/TestPaths.h"

namespace {

// A copy whose show plays one file, with or without an earlier resume point.
void prepare(const ProgramCopy& copy, int resume, const std::string& file, bool withResumePoint) {
    copy.setOptions(0, resume, 1);
    copy.setEntries({file});
    if (withResumePoint) copy.setResume("C:\\earlier.avi", "3,7");
}

// The dialog's Settings, bound to the show's INI file.
std::unique_ptr<Settings> openAsDialog(const std::string& iniPath) {
    std::unique_ptr<Settings> dialog(new Settings);
    dialog->bind("robust-dialog.ini");
    dialog->iniPath = iniPath.c_str();
    dialog->load();
    return dialog;
}

// What the user changes in the dialog: every option and the whole list.
std::vector<std::string> editAndSave(Settings& dialog, int listLength) {
    static const char* const names[] = {"lime.avi", "blue.avi", "pattern.mpg", "pattern.wmv"};
    std::vector<std::string> entries;
    dialog.random = 1;
    dialog.sound = 0;
    dialog.entries.clear();
    for (int i = 0; i < listLength; ++i) {
        entries.push_back(testpaths::clip(names[i % 4]));
        dialog.entries.add(entries.back().c_str());
    }
    dialog.save();
    return entries;
}

// Waits until the show's picture is on the screen: something not black in the middle.
bool waitForPicture() {
    return pump::until([] { return screen::colourOf(screen::centre()) != screen::black; });
}

// Starts the show of this copy; false when its window did not appear.
bool startShow(RunningProgram& show, const ProgramCopy& copy) {
    return show.start(copy.program, "/s") && show.waitForSaver();
}

std::string endShow(RunningProgram& show) {
    if (show.endShowWithKey() == RunningProgram::TIMED_OUT) return " the show did not end on a key press";
    std::string problems;
    if (show.exitCode() != 0) problems += " exit code " + std::to_string(show.exitCode());
    if (!show.nothingLeft()) problems += " something left running";
    return problems;
}

// The dialog's options and list, as a fresh load reads them.
std::string checkDialogSide(const std::string& iniPath, const std::vector<std::string>& entries) {
    std::unique_ptr<Settings> now = openAsDialog(iniPath);
    std::string problems;
    if (now->random != 1 || now->sound != 0) problems += " options lost";
    if (playorder::textsOf(now->entries) != entries)
        problems += " play list lost " + testing::PrintToString(inifile::section(iniPath, "PlayList"));
    return problems;
}

// The show's resume point: the file it played, at some position.
std::string checkShowSide(const std::string& iniPath, const std::string& played) {
    std::unique_ptr<Settings> now = openAsDialog(iniPath);
    std::string problems;
    if (played != now->resumeName.c_str())
        problems += " resume file lost " + testing::PrintToString(inifile::section(iniPath, "Resume"));
    if (now->resumeMinutes != 0 || now->resumeSeconds < 0 || now->resumeSeconds > 59) problems += " resume time wrong";
    return problems;
}

// The dialog saves while the show plays; then the show ends.
std::string dialogSavesDuringShow() {
    const std::string played = testpaths::clip("long.avi");
    ProgramCopy copy("shared-during");
    prepare(copy, 1, played, false);
    const std::string& iniPath = copy.iniPath;
    RunningProgram show;
    if (!startShow(show, copy)) return " no show";
    if (!waitForPicture()) return " no picture";
    std::unique_ptr<Settings> dialog = openAsDialog(iniPath);
    std::vector<std::string> entries = editAndSave(*dialog, 4);
    // A second save with a shorter list, as a user who presses Apply twice.
    entries = editAndSave(*dialog, 2);
    std::string problems = endShow(show);
    return problems + checkDialogSide(iniPath, entries) + checkShowSide(iniPath, played);
}

// The dialog loads, the show runs and ends, then the dialog saves.
std::string showEndsWhileDialogOpen(int resume) {
    const std::string played = testpaths::clip("long.avi");
    ProgramCopy copy("shared-open");
    prepare(copy, resume, played, true);
    const std::string& iniPath = copy.iniPath;
    std::unique_ptr<Settings> dialog = openAsDialog(iniPath);
    RunningProgram show;
    if (!startShow(show, copy)) return " no show";
    if (!waitForPicture()) return " no picture";
    std::string problems = endShow(show);
    std::vector<std::string> entries = editAndSave(*dialog, 3);
    problems += checkDialogSide(iniPath, entries);
    if (resume) {
        problems += checkShowSide(iniPath, played);
    } else if (!inifile::section(iniPath, "Resume").empty()) {
        // With the option off the show removes the point, and the dialog does not bring it back.
        problems += " resume point not removed " + testing::PrintToString(inifile::section(iniPath, "Resume"));
    }
    return problems;
}

}  // namespace

TEST(RobustSharedIni, ShowAndDialogKeepEachOthersSections) {
    struct Scenario {
        const char* what;
        std::string (*run)();
    };
    const Scenario scenarios[] = {
        {"the dialog saves twice while a show runs", dialogSavesDuringShow},
        {"a show ends while the dialog has the file open (resume on)", [] { return showEndsWhileDialogOpen(1); }},
        {"a show ends while the dialog has the file open (resume off)", [] { return showEndsWhileDialogOpen(0); }},
    };
    robust::Tally tally("shared INI file");
    for (const Scenario& scenario : scenarios) {
        std::string problems;
        try {
            problems = scenario.run();
        } catch (Exception* e) {
            problems = " threw code " + std::to_string(e->code);
            dispose(e);
        }
        tally.record(problems.empty());
        std::printf("shared %-62s %s%s\n", scenario.what, problems.empty() ? "passed" : "FAILED:", problems.c_str());
        std::fflush(stdout);
        EXPECT_EQ("", problems) << scenario.what;
    }
    tally.print();
}
