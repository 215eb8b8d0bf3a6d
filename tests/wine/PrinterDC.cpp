#include "PrinterDC.h"
#include <string>

HDC PrinterDC(const char* name, int dpi)
{
    HANDLE printer = nullptr;
    if (!::OpenPrinterA(const_cast<char*>(name), &printer, nullptr))
        return nullptr;
    HDC hdc = nullptr;
    LONG size = ::DocumentPropertiesA(nullptr, printer, const_cast<char*>(name), nullptr, nullptr, 0);
    if (size > 0) {
        std::string buffer(static_cast<size_t>(size), '\0');
        DEVMODEA* dm = reinterpret_cast<DEVMODEA*>(&buffer[0]);
        if (::DocumentPropertiesA(nullptr, printer, const_cast<char*>(name), dm, nullptr, DM_OUT_BUFFER) == IDOK) {
            dm->dmPrintQuality = static_cast<short>(dpi);
            dm->dmYResolution = static_cast<short>(dpi);
            dm->dmFields |= DM_PRINTQUALITY | DM_YRESOLUTION;
            hdc = ::CreateDCA("WINSPOOL", name, nullptr, dm);
        }
    }
    ::ClosePrinter(printer);
    return hdc;
}
