// Runs programs of the Linux host that Wine runs on, such as the PDF tools,
// from the Windows test driver.
#pragma once
#include <windows.h>
#include <string>

// Runs a shell script on the host with /usr/bin and /bin on its path; true
// when it ended within the timeout with exit code 0. Its standard output
// and error go to *output.
bool RunOnHost(const std::string& script, std::string* output, DWORD timeoutMs = 60000);
