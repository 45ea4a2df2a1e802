// The installation run. Working texts are std::string rather than fixed MAX_PATH buffers, so a
// long folder name cannot overrun them; a path Windows cannot take then fails in the call that
// uses it and is reported like any other failure.
#include "install.h"

#include <string>
#include <vector>

namespace {

const char* const appPathsChain[] = {"SOFTWARE", "Microsoft", "Windows", "CurrentVersion", "App Paths",
                                     "CEAppMgr.exe"};
const char cabinetName[] = "\\Quellix.ARM_HPRO.CAB";
const char iniName[] = "\\Quellix.ini";
const char notFoundLine[] = "\n-Unable to find Active Sync";
const char cabinetLine[] = "\nFailed to copy file: Quellix.ARM_HPRO.CAB";
const char iniLine[] = "\nFailed to copy file: Quellix.ini";

// The key's default value, or "" when any key of the chain cannot be opened or the value is not
// a usable text (missing, empty, not a string, or too short to carry the ".exe" the command
// line drops). Keys are closed innermost first.
std::string readAppManagerPath()
{
    HKEY keys[sizeof appPathsChain / sizeof appPathsChain[0]];
    int opened = 0;
    HKEY parent = HKEY_LOCAL_MACHINE;
    for (const char* name : appPathsChain) {
        if (RegOpenKeyExA(parent, name, 0, KEY_ALL_ACCESS, &keys[opened]) != ERROR_SUCCESS)
            break;
        parent = keys[opened++];
    }
    std::string path;
    if (opened == sizeof appPathsChain / sizeof appPathsChain[0]) {
        char value[MAX_PATH + 1] = {};
        DWORD type = 0, size = MAX_PATH;  // one byte kept back: a stored value need not end in NUL
        if (RegQueryValueExA(parent, nullptr, nullptr, &type, reinterpret_cast<BYTE*>(value), &size) == ERROR_SUCCESS &&
            (type == REG_SZ || type == REG_EXPAND_SZ))
            path = value;
    }
    while (opened > 0)
        RegCloseKey(keys[--opened]);
    return path.size() > 4 ? path : std::string();
}

std::string currentDirectory()
{
    DWORD needed = GetCurrentDirectoryA(0, nullptr);
    std::string dir(needed, '\0');
    DWORD got = needed ? GetCurrentDirectoryA(needed, dir.data()) : 0;
    dir.resize(got < needed ? got : 0);
    return dir;
}

void showFailure(HWND owner, std::string errorText)
{
    errorText += "\n\nQuellix was NOT installed";
    MessageBoxA(owner, errorText.c_str(), "Setup Failed", MB_OK);
}

// Starts the application manager and polls until it has exited; false if it could not start.
bool runAppManager(const std::string& appManager, const std::string& installFolder)
{
    std::string line = "\"" + appManager.substr(0, appManager.size() - 4) + "\" \"" + installFolder + iniName + "\"";
    std::vector<char> commandLine(line.begin(), line.end());
    commandLine.push_back('\0');  // CreateProcessA may write into its command line
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    if (!CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, CREATE_DEFAULT_ERROR_MODE, nullptr,
                        nullptr, &startup, &process))
        return false;
    DWORD code = 0;
    while (GetExitCodeProcess(process.hProcess, &code) && code == STILL_ACTIVE)
        Sleep(1000);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return true;
}

}  // namespace

void runInstall(HWND owner)
{
    if (MessageBoxA(owner, "This will install Quellix on your iPaq.\n\n     Do you want to continue?",
                    "Install Quellix", MB_YESNO) != IDYES)
        return;

    std::string appManager = readAppManagerPath();
    if (appManager.empty()) {
        MessageBoxA(owner, "Active Sync not found.  Please Install Active Sync before continuing.", "ERROR", MB_OK);
        showFailure(owner, notFoundLine);
        return;
    }

    std::string installFolder = appManager.substr(0, appManager.find_last_of('\\') + 1) + "Quellix";
    // The sources lie in the directory current now: the folder step may move into installFolder.
    std::string sourceFolder = currentDirectory();
    if (!CreateDirectoryA(installFolder.c_str(), nullptr) && !SetCurrentDirectoryA(installFolder.c_str())) {
        showFailure(owner, "\nUnable to create directory: " + installFolder + cabinetLine);
        return;
    }
    if (!CopyFileA((sourceFolder + cabinetName).c_str(), (installFolder + cabinetName).c_str(), FALSE)) {
        showFailure(owner, cabinetLine);
        return;
    }
    if (!CopyFileA((sourceFolder + iniName).c_str(), (installFolder + iniName).c_str(), FALSE)) {
        showFailure(owner, iniLine);
        return;
    }
    // Silence here would read as success, though nothing was handed to the device.
    if (!runAppManager(appManager, installFolder))
        showFailure(owner, notFoundLine);
}
