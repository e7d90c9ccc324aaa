// FilePicker's reading of the selection and its filter list, with the
// selection written into its buffer, and the offset of the first file name
// into its record, the way the explorer-style dialog writes them.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "dialog/FilePicker.h"

namespace {

const DWORD dialogFlags = OFN_EXPLORER | OFN_FILEMUSTEXIST | OFN_ALLOWMULTISELECT | OFN_HIDEREADONLY;

// Texts joined with zero bytes and ended by an empty text.
std::string selection(const std::vector<std::string>& texts) {
    std::string block;
    for (const std::string& text : texts) block += text + '\0';
    return block + '\0';
}

// The dialog's answer: one full path, whose file name follows its last
// backslash, or a directory and names, the first name after its zero.
void answer(FilePicker& picker, const std::vector<std::string>& texts, const std::string& leftOver = "") {
    ASSERT_NE(nullptr, picker.selectionBuffer());
    const std::string block = selection(texts);
    memcpy(picker.selectionBuffer(), block.data(), block.size());
    // What an earlier run left after a single path with one terminating zero.
    memcpy(picker.selectionBuffer() + block.size() - 1, leftOver.data(), leftOver.size());
    WORD offset = 0;
    if (texts.size() == 1) offset = static_cast<WORD>(texts[0].find_last_of('\\') + 1);
    if (texts.size() > 1) offset = static_cast<WORD>(texts[0].size() + 1);
    picker.dialogRecord().nFileOffset = offset;
}

struct SelectionCase {
    int line;
    const char* what;
    DWORD flags;
    std::vector<std::string> texts;
    std::vector<std::string> paths;
};

}  // namespace

TEST(FilePickerSelection, GivesOneFullPathPerFile) {
    const SelectionCase cases[] = {
        {__LINE__, "nothing chosen", dialogFlags, {}, {}},
        {__LINE__, "one file", dialogFlags, {"C:\\clips\\a.avi"}, {"C:\\clips\\a.avi"}},
        {__LINE__, "three files", dialogFlags, {"C:\\clips", "b.avi", "a.wmv", "c.mpg"},
         {"C:\\clips\\b.avi", "C:\\clips\\a.wmv", "C:\\clips\\c.mpg"}},
        {__LINE__, "drive root", dialogFlags, {"D:\\", "a.avi", "b.avi"}, {"D:\\a.avi", "D:\\b.avi"}},
        // \x95\x5C is one character whose second byte is a backslash.
        {__LINE__, "double-byte end", dialogFlags, {"C:\\\x95\x5C", "a.avi", "b.avi"},
         {"C:\\\x95\x5C\\a.avi", "C:\\\x95\x5C\\b.avi"}},
        // \x95\x95 is one character; the backslash after it is a real one.
        {__LINE__, "backslash after a double-byte character", dialogFlags,
         {"C:\\\x95\x95\\", "a.avi", "b.avi"}, {"C:\\\x95\x95\\a.avi", "C:\\\x95\x95\\b.avi"}},
        {__LINE__, "name with a path of its own", dialogFlags, {"C:\\clips", "a.avi", "E:\\other\\b.avi"},
         {"C:\\clips\\a.avi", "E:\\other\\b.avi"}},
        {__LINE__, "single selection dialog", OFN_EXPLORER, {"C:\\clips", "a.avi"}, {"C:\\clips"}},
    };
    for (const SelectionCase& c : cases) {
        SCOPED_TRACE(testing::Message() << "case at line " << c.line << ": " << c.what);
        FilePicker picker(nullptr, c.flags, 4096);
        if (!c.texts.empty()) {
            answer(picker, c.texts);
        }
        ASSERT_EQ(static_cast<int>(c.paths.size()), picker.selectedCount());
        for (size_t i = 0; i < c.paths.size(); ++i) {
            EXPECT_STREQ(c.paths[i].c_str(), picker.selectedPath(static_cast<int>(i))) << "file " << i;
        }
        if (c.paths.empty()) {
            EXPECT_STREQ("", picker.selectedPath(0));
        }
    }
}

TEST(FilePickerSelection, OneFileAfterSeveralIgnoresTheNamesLeftOver) {
    FilePicker picker(nullptr, dialogFlags, 4096);
    answer(picker, {"C:\\clips", "a.avi", "b.avi", "c.avi"});
    ASSERT_EQ(3, picker.selectedCount());
    answer(picker, {"C:\\clips\\b.avi"}, std::string("a.avi\0c.avi\0\0", 14));
    EXPECT_EQ(1, picker.selectedCount());
    EXPECT_STREQ("C:\\clips\\b.avi", picker.selectedPath(0));
    EXPECT_STREQ("C:\\clips\\b.avi", picker.selectedPath(1));
}

TEST(FilePickerSelection, IndexPastTheEndGivesTheLastFile) {
    FilePicker picker(nullptr, dialogFlags, 4096);
    answer(picker, {"C:\\clips", "a.avi", "b.avi"});
    EXPECT_STREQ("C:\\clips\\b.avi", picker.selectedPath(2));
    EXPECT_STREQ("C:\\clips\\b.avi", picker.selectedPath(100));
}

TEST(FilePickerSelection, PathThatDoesNotFitIsSkippedNotCut) {
    // Directory, separator and name together: 259 bytes fit, 260 do not.
    const std::string directory = "C:\\" + std::string(200, 'd');
    const std::string fits(259 - directory.size() - 1, 'n');
    const std::string tooLong = fits + "x";
    FilePicker picker(nullptr, dialogFlags, 4096);
    answer(picker, {directory, fits, tooLong, "short.avi"});
    ASSERT_EQ(3, picker.selectedCount());
    EXPECT_EQ(directory + "\\" + fits, picker.selectedPath(0));
    EXPECT_STREQ("", picker.selectedPath(1));
    EXPECT_EQ(tooLong, picker.selectedName(1)) << "named as the dialog named it";
    EXPECT_EQ(directory + "\\short.avi", picker.selectedPath(2));

    FilePicker single(nullptr, dialogFlags, 4096);
    answer(single, {"C:\\" + std::string(300, 'p')});
    EXPECT_EQ(1, single.selectedCount());
    EXPECT_STREQ("", single.selectedPath(0));
    EXPECT_EQ("C:\\" + std::string(300, 'p'), single.selectedName(0));
}

TEST(FilePickerSelection, PathFillingTheWholeBufferIsOneFile) {
    FilePicker picker(nullptr, dialogFlags, 260);
    const std::string path = "C:\\" + std::string(256, 'p');
    memcpy(picker.selectionBuffer(), path.c_str(), 260);
    picker.dialogRecord().nFileOffset = 3;
    EXPECT_EQ(1, picker.selectedCount());
    EXPECT_EQ(path, picker.selectedPath(0));
}

TEST(FilePickerSelection, BufferBelowPathSizeLeavesThePickerInert) {
    for (int size : {0, 1, 259}) {
        FilePicker picker(nullptr, dialogFlags, size);
        EXPECT_EQ(nullptr, picker.selectionBuffer()) << size;
        EXPECT_EQ(0, picker.selectedCount()) << size;
        EXPECT_STREQ("", picker.selectedPath(0)) << size;
        EXPECT_FALSE(picker.run()) << size;
    }
    FilePicker smallest(nullptr, dialogFlags, 260);
    EXPECT_NE(nullptr, smallest.selectionBuffer());
    EXPECT_EQ(260u, smallest.dialogRecord().nMaxFile);
}

TEST(FilePickerSelection, RecordIsTheVersionFourLayout) {
    HWND owner = GetDesktopWindow();
    FilePicker picker(owner, dialogFlags, 4096);
    const OPENFILENAMEA& record = picker.dialogRecord();
    // The fields up to lpTemplateName, as Windows 95 and NT 4 know them.
    EXPECT_EQ(sizeof(void*) == 8 ? 136u : 76u, record.lStructSize);
    EXPECT_EQ(owner, record.hwndOwner);
    EXPECT_EQ(dialogFlags, record.Flags);
    EXPECT_EQ(4096u, record.nMaxFile);
    EXPECT_EQ(4096u, record.nMaxFileTitle);
    EXPECT_EQ(picker.selectionBuffer(), record.lpstrFile);
    EXPECT_EQ(nullptr, record.lpstrFilter);
    EXPECT_EQ(0u, record.nFilterIndex);
    EXPECT_EQ(nullptr, record.lpstrInitialDir);
}

namespace {

// The filter list as texts, up to the empty text that ends it.
std::vector<std::string> filterTexts(const FilePicker& picker) {
    std::vector<std::string> texts;
    for (const char* p = picker.dialogRecord().lpstrFilter; *p; p += lstrlenA(p) + 1) texts.push_back(p);
    return texts;
}

}  // namespace

TEST(FilePickerFilter, BarsBecomeTextBoundaries) {
    struct {
        int line;
        const char* text;
        std::vector<std::string> texts;
    } const cases[] = {
        {__LINE__, "Video (*.avi)|*.avi|All|*.*", {"Video (*.avi)", "*.avi", "All", "*.*"}},
        {__LINE__, "no bar", {"no bar"}},
        {__LINE__, "", {}},
        // \x83\x7C is one character whose second byte is "|".
        {__LINE__, "\x83\x7C|*.avi", {"\x83\x7C", "*.avi"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "case at line " << c.line);
        FilePicker picker(nullptr, dialogFlags, 4096);
        picker.setFilter(c.text);
        ASSERT_NE(nullptr, picker.dialogRecord().lpstrFilter);
        EXPECT_EQ(c.texts, filterTexts(picker));
    }
}

TEST(FilePickerFilter, NullDropsTheFilter) {
    FilePicker picker(nullptr, dialogFlags, 4096);
    picker.setFilter("a|*.a");
    picker.setFilter(nullptr);
    EXPECT_EQ(nullptr, picker.dialogRecord().lpstrFilter);
}
