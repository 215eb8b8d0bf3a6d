// Resource ids of Kirune, grouped by where they are used.
#pragma once

// Application resources
#define IDR_MAINFRAME           128   // icon: printer with a sheet of paper
#define IDB_BLANK               129   // bitmap: the grey picture of an empty cell
#define IDI_SCROLL_UP           131   // icon on the "up" button
#define IDI_SCROLL_DOWN         132   // icon on the "down" button
#define IDS_ABOUTBOX            101   // system menu command text
#define IDM_ABOUTBOX            0x0010

// The program's own texts, shown through the wide calls
#define IDS_SELECT_PHOTO        201   // message: no photo selected for 個別印刷
#define IDS_NO_RANGE            202   // message: 印刷 with no range dragged
#define IDS_VIEW_TITLE          203   // the print-range dialog's title in view mode
#define IDS_COLUMN_NAME         204   // the file list's column titles, in order
#define IDS_COLUMN_SIZE         205
#define IDS_COLUMN_TYPE         206
#define IDS_COLUMN_MODIFIED     207
#define IDS_NOT_PRINTED         208   // message after a print command: the photos not printed
#define IDS_NOT_PRINTED_MORE    209   // its last line past the names shown; %1: how many more
#define IDS_TOO_MANY_FILES      210   // message: a selection larger than the import can take
#define IDS_PRINTER_REFUSED     211   // the not-printed message's last part: the printer took no document; the system's reason follows

// About box
#define IDD_ABOUTBOX            100

// Main window
#define IDD_KIRUNE_DIALOG       102
#define IDC_PRINT_ONE           1000
#define IDC_SCROLL_DOWN         1001
#define IDC_PRINT_ALL           1002
#define IDC_IMPORT              1004
#define IDC_SCROLL_UP           1006
#define IDC_CELL_FIRST          1007  // cells 1007-1018, row by row
#define IDC_CELL_LAST           1018
#define IDC_FOLDER_TREE         1019
#define IDC_FILE_LIST           1020
#define IDC_EXIT                1021

// Print-range dialog
#define IDD_PRINT_RANGE         130
#define IDC_RANGE_CLOSE         1000
#define IDC_RANGE_PRINT         1001
#define IDC_RANGE_HINT          1005

// Picture controls created at run time inside the program's own windows
#define IDC_PICTURE             0xFFFF
