// Records, in order, the program's calls to Windows that the tests watch:
// GDI+ (its start-up and shutdown, the files decoded for the screen and the
// bitmaps made of them, the print jobs' graphics and images), the print
// system and the printer dialog, the open dialog, the icons drawn, the
// pauses (Sleep), the folders read and the shell icons asked for. The
// program's import slots lead here before the real functions. Can make some
// of them fail as a broken printer (or a selection too large) would, and
// add drives.
#pragma once
#include <windows.h>
#include <string>
#include <vector>

struct SpyCall {
    std::string name;   // e.g. "StartDoc"
    std::string args;   // the arguments that matter, as text
    void* handle;       // the DC, graphics, image or bitmap the call is about
    void* made;         // what the call created (or the icon drawn), if anything
};

class ApiSpy {
public:
    // Clears the record, undoes every fault and starts recording.
    static void Start();
    static void Stop();
    static const std::vector<SpyCall>& Calls();
    static std::vector<std::string> Names();
    // The names of the calls of the kinds given, in order.
    static std::vector<std::string> Names(const std::vector<std::string>& kinds);
    // The arguments of each call of that name, in order.
    static std::vector<std::string> Args(const std::string& name);
    // The first recorded call of that name, or null.
    static const SpyCall* Find(const std::string& name);
    static int Count(const std::string& name);
    // The graphics and images (loaded or copied) made while recording that
    // no call released: each as its creating call and arguments.
    static std::vector<std::string> Unreleased();

    // Faults: no graphics can be made on a DC; the device reads this resolution.
    static bool s_failCreateGraphics;
    static float s_dpi;   // negative: the device's own
    // StartDoc answers this without asking the print system (0: it asks),
    // with this last error, once the first s_startDocsToPass have passed;
    // a document so started has no print system, and its page and end
    // calls succeed without one;
    // the print call so named ("StartPage", "EndPage", "EndDoc") fails once
    // with SP_ERROR, its job ended as GDI ends it; the next drawings fail,
    // so many of them, as for lack of memory.
    static int s_startDocResult;
    static DWORD s_startDocError;
    static int s_startDocsToPass;
    static std::string s_failPrintCall;
    static int s_failDraws;
    // The open dialog says, without showing itself, that the names chosen
    // do not fit the buffer.
    static bool s_namesTooLong;
    // The computer has four drives more, none of them there, each of a type
    // that may not answer at once: Q: a CD-ROM, R: a network drive, S: a
    // removable one, U: of unknown type. Looks at files and shell icons are
    // recorded all the time ("FindFirstFileA", "SHGetFileInfoA": the path,
    // then "unopened" when the shell is told not to open it).
    static bool s_otherDrives;
};
