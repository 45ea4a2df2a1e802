// Zura.exe's entry: the device program's startUp, run with the folder that holds Zura.exe as the
// current directory, since the program opens its databases by the relative paths
// "Program Files\Quellix\..." and the folder copied to a PC keeps them beside the program.
#include "platform/winapi.h"
#include "shell/startup.h"

namespace {

void enterProgramFolder()
{
    WCHAR path[MAX_PATH];
    DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
    if (length == 0 || length >= MAX_PATH)
        return;
    for (DWORD i = length; i-- > 0;)
        if (path[i] == L'\\' || path[i] == L'/') {
            path[i + 1] = 0;
            SetCurrentDirectoryW(path);
            return;
        }
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE previous, LPWSTR commandLine, int show)
{
    enterProgramFolder();
    return startUp(instance, previous, commandLine, show);
}
