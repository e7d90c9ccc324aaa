/* Names of the program's resources, read by the resource compiler and by the
   code alike: plain C preprocessor definitions only. */
#ifndef CINEVANE_RESOURCE_IDS_H
#define CINEVANE_RESOURCE_IDS_H

/* Strings */
#define IDS_PRODUCT_NAME 101   /* "cinevane": the INI file's base name and the preview's caption */
#define IDS_FILE_FILTER 1001   /* the open-file dialog's filter: description|pattern pairs */
#define IDS_FOLDER_PROMPT 1002 /* the folder browser's prompt */
#define IDS_FILE_FILTER_FOUNDATION 1003 /* the filter's entry for the types Media Foundation plays */
#define IDS_FILE_FILTER_MATROSKA 1005   /* the filter's entry for Matroska files, where Windows reads them */

/* The settings dialog's messages; %1 and %2 stand for the texts put in */
#define IDS_SAVE_FAILED 1101         /* %1 the INI file's name, %2 the system's reason */
#define IDS_ERROR_NUMBER 1102        /* a reason without the system's text: %1 the number */
#define IDS_SELECTION_TOO_LARGE 1103 /* the open-file dialog's selection did not fit */
#define IDS_FILE_DIALOG_FAILED 1104  /* %1 the open-file dialog's error number */
#define IDS_PATHS_TOO_LONG 1105      /* %1 the names, one a line */
#define IDS_NOT_A_FOLDER 1107        /* %1 the name of the item chosen in the folder browser */
#define IDS_MORE_NAMES 1108          /* %1 the number of names not listed */

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
