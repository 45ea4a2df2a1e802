// Stand-in for ActiveSync's application manager: writes its command line and current directory
// to CEAppMgr.record beside itself, stays about two seconds (so the installer's wait loop has
// to poll), then adds "ended" and exits.
#include <windows.h>

#include <cstdio>
#include <string>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    char self[MAX_PATH * 4], directory[MAX_PATH * 4];
    DWORD length = GetModuleFileNameA(nullptr, self, sizeof self);
    std::string record(self, length);
    record = record.substr(0, record.find_last_of('\\') + 1) + "CEAppMgr.record";
    GetCurrentDirectoryA(sizeof directory, directory);
    FILE* out = std::fopen(record.c_str(), "wb");
    if (!out)
        return 1;
    std::fprintf(out, "command=%s\ndirectory=%s\n", GetCommandLineA(), directory);
    std::fflush(out);
    Sleep(2000);
    std::fprintf(out, "ended\n");
    std::fclose(out);
    return 0;
}
