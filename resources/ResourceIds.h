/* Names of the program's resources, read by the resource compiler and by the
   code alike: plain C preprocessor definitions only. */
#ifndef CINEVANE_RESOURCE_IDS_H
#define CINEVANE_RESOURCE_IDS_H

/* Strings */
#define IDS_PRODUCT_NAME 101   /* "cinevane": the INI file's base name and the preview's caption */
#define IDS_FILE_FILTER 1001   /* the open-file dialog's filter: description|pattern pairs */
#define IDS_FOLDER_PROMPT 1002 /* the folder browser's prompt */

/* Icons */
#define IDI_PROGRAM 105     /* the program's icon group, drawn in the preview */
#define IDI_SAVER_CLASS 100 /* the saver window class's icon, as screen savers name it; none is built in */

/* The settings dialog and its controls */
#define IDD_SETTINGS 2003
#define IDC_UP 3
#define IDC_DOWN 4
#define IDC_ADD_FILE 5
#define IDC_ADD_FOLDER 6
#define IDC_DELETE 7
#define IDC_ENTRY_LIST 1000
#define IDC_RANDOM 1001
#define IDC_RESUME 1002
#define IDC_NO_SOUND 1003
#define IDC_KEEP_ASPECT 1004

#endif
