// Prints one photo through the print jobs of the main window on a named
// printer at a given resolution, as the print commands would after the
// printer dialog, and tells the device's resolution and printable-area
// offset so that the printed PDF can be checked to the device pixel:
//   kirune_print_probe PRINTER DPI all PHOTO
//   kirune_print_probe PRINTER DPI range PHOTO LEFT TOP RIGHT BOTTOM
// Unix paths are taken as paths on Wine's Z: drive.
#include "PrinterDC.h"
#include "KiruneDlg.h"
#include "TestImages.h"
#include <winspool.h>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

CWinApp probeApp;

// Asks the spooler for its printers (which has Wine take in those of CUPS)
// and tells whether the one named is among them.
bool HasPrinter(const char* name)
{
    DWORD needed = 0, count = 0;
    ::EnumPrintersA(PRINTER_ENUM_LOCAL, nullptr, 4, nullptr, 0, &needed, &count);
    std::string buffer(needed ? needed : 1, '\0');
    if (!::EnumPrintersA(PRINTER_ENUM_LOCAL, nullptr, 4, reinterpret_cast<BYTE*>(&buffer[0]),
                         needed, &needed, &count))
        return false;
    const PRINTER_INFO_4A* printers = reinterpret_cast<const PRINTER_INFO_4A*>(buffer.data());
    bool found = false;
    for (DWORD i = 0; i < count; i++) {
        std::fprintf(stderr, "printer: %s\n", printers[i].pPrinterName);
        found = found || std::strcmp(printers[i].pPrinterName, name) == 0;
    }
    return found;
}

int Usage()
{
    std::fprintf(stderr, "usage: kirune_print_probe PRINTER DPI all PHOTO\n"
                         "       kirune_print_probe PRINTER DPI range PHOTO LEFT TOP RIGHT BOTTOM\n");
    return 2;
}

} // namespace

int main(int argc, char** argv)
{
    probeApp.InitApplication(::GetModuleHandleA(nullptr));
    if (argc < 5)
        return Usage();
    const int dpi = std::atoi(argv[2]);
    const bool range = std::strcmp(argv[3], "range") == 0;
    if (dpi <= 0 || (!range && (std::strcmp(argv[3], "all") != 0 || argc != 5)) || (range && argc != 9))
        return Usage();

    HDC hdc = HasPrinter(argv[1]) ? PrinterDC(argv[1], dpi) : nullptr;
    if (!hdc) {
        std::fprintf(stderr, "no printer %s\n", argv[1]);
        return 1;
    }
    std::printf("dpi %d %d offset %d %d\n",
                ::GetDeviceCaps(hdc, LOGPIXELSX), ::GetDeviceCaps(hdc, LOGPIXELSY),
                ::GetDeviceCaps(hdc, PHYSICALOFFSETX), ::GetDeviceCaps(hdc, PHYSICALOFFSETY));
    std::fflush(stdout);
    BOOL printed = FALSE;
    {
        CKiruneDlg dlg;   // starts GDI+, as the program does
        CStringW path(Wide(WindowsPath(argv[4])).c_str());
        if (range) {
            RECT r = { std::atoi(argv[5]), std::atoi(argv[6]), std::atoi(argv[7]), std::atoi(argv[8]) };
            printed = dlg.PrintPhotoRange(hdc, path, r) == CKiruneDlg::kPrinted;
        } else {
            printed = dlg.PrintPhoto(hdc, path) == CKiruneDlg::kPrinted;
        }
    }
    ::DeleteDC(hdc);
    if (!printed)
        std::fprintf(stderr, "not printed: %s\n", argv[4]);
    return printed ? 0 : 3;
}
