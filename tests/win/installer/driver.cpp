// Drives installer.exe under Wine through one scenario: prepares its current directory, the
// App Paths key and the stand-in application manager, answers its message boxes as a user
// would while reading each box's caption, text and buttons, then checks what was left behind.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

namespace {

struct Box {
    std::string caption, text, buttons;
    int press;  // the button pressed, or openAbout: leave the box up and ask the window for About
};
const int openAbout = -1;

enum class Key { Absent, NoValue, NumberValue, Path };
enum class Before { Nothing, OldFolder, FileForFolder, NoAppFolder };
enum class Left { Nothing, EmptyFolder, CabinetOnly, Both };

struct Case {
    const char* name;
    Key key;
    std::string appFolder;  // "%W" stands for the case's own folder
    bool standIn, cabinet, ini;
    Before before;
    std::vector<Box> boxes;
    Left left;
    std::string commandLine;  // of the application manager; "" when it must not have run
    std::string directory;    // its current directory
};

const std::string yesNo = "Yes No", ok = "OK";
const Box confirm{"Install Quellix", "This will install Quellix on your iPaq.\n\n     Do you want to continue?", yesNo,
                  IDYES};
const Box notFound{"ERROR", "Active Sync not found.  Please Install Active Sync before continuing.", ok, IDOK};
Box failed(const std::string& lines) { return {"Setup Failed", lines + "\n\nQuellix was NOT installed", ok, IDOK}; }
const std::string cabinetLine = "\nFailed to copy file: Quellix.ARM_HPRO.CAB";
const std::string activeSync = "C:\\Program Files\\Microsoft ActiveSync";
// A folder of 240 characters on the prefix's own drive (not under the build folder, whose depth
// varies): its CEAppMgr.exe path still fits the 260-byte registry read, its copies do not fit.
const std::string longFolder = "C:\\" + std::string(237, 'L');

// Scenarios: every failure the installer reports and the edge cases of a good run.
std::vector<Case> cases()
{
    Box no = confirm;
    no.press = IDNO;
    Box askAbout = confirm;
    askAbout.press = openAbout;
    const Box about{"About", "installer Version 1.0", ok, IDOK};
    const std::string w = "%W\\ActiveSync";
    //  name                key              app folder     stand-in cab   ini    before
    //      boxes                                                        left               command line / directory
    return {
        {"declined",        Key::Path,       w,             true, true, true, Before::Nothing,
            {no},                                                        Left::Nothing,     "", ""},
        {"about_box",       Key::Path,       w,             true, true, true, Before::Nothing,
            {askAbout, about, no},                                       Left::Nothing,     "", ""},
        {"no_registry_key", Key::Absent,     w,             true, true, true, Before::Nothing,
            {confirm, notFound, failed("\n-Unable to find Active Sync")},  Left::Nothing,   "", ""},
        {"key_without_value", Key::NoValue,  w,             true, true, true, Before::Nothing,
            {confirm, notFound, failed("\n-Unable to find Active Sync")},  Left::Nothing,   "", ""},
        {"value_not_text",  Key::NumberValue, w,            true, true, true, Before::Nothing,
            {confirm, notFound, failed("\n-Unable to find Active Sync")},  Left::Nothing,   "", ""},
        {"folder_parent_missing", Key::Path, w,             false, true, true, Before::NoAppFolder,
            {confirm, failed("\nUnable to create directory: %W\\ActiveSync\\Quellix" + cabinetLine)},
                                                                         Left::Nothing,     "", ""},
        {"file_in_place_of_folder", Key::Path, w,           true, true, true, Before::FileForFolder,
            {confirm, failed("\nUnable to create directory: %W\\ActiveSync\\Quellix" + cabinetLine)},
                                                                         Left::Nothing,     "", ""},
        {"cabinet_missing", Key::Path,       w,             true, false, true, Before::Nothing,
            {confirm, failed(cabinetLine)},                              Left::EmptyFolder, "", ""},
        {"ini_missing",     Key::Path,       w,             true, true, false, Before::Nothing,
            {confirm, failed("\nFailed to copy file: Quellix.ini")},     Left::CabinetOnly, "", ""},
        {"manager_cannot_start", Key::Path,  w,             false, true, true, Before::Nothing,
            {confirm, failed("\n-Unable to find Active Sync")},          Left::Both,        "", ""},
        {"installs_beside_activesync", Key::Path, activeSync, true, true, true, Before::Nothing,
            {confirm},                                                   Left::Both,
            "\"C:\\Program Files\\Microsoft ActiveSync\\CEAppMgr\" "
            "\"C:\\Program Files\\Microsoft ActiveSync\\Quellix\\Quellix.ini\"",
            "%W\\src"},
        // The folder step moves into an existing folder; the copies must still come from the
        // directory the installer was started in and replace the old files.
        {"existing_folder_overwritten", Key::Path, w,       true, true, true, Before::OldFolder,
            {confirm},                                                   Left::Both,
            "\"%W\\ActiveSync\\CEAppMgr\" \"%W\\ActiveSync\\Quellix\\Quellix.ini\"", "%W\\ActiveSync\\Quellix"},
        // Destination paths past 260 characters and a command line of about 500: fixed 260-byte
        // working texts would overrun. Wine takes such ANSI paths; Windows would refuse the copy,
        // and the installer would report that instead.
        {"long_folder_name", Key::Path,      longFolder,    true, true, true, Before::Nothing,
            {confirm},                                                   Left::Both,
            "\"" + longFolder + "\\CEAppMgr\" \"" + longFolder + "\\Quellix\\Quellix.ini\"", "%W\\src"},
    };
}

int failures = 0;

std::string visible(const std::string& text)
{
    std::string out;
    for (char c : text)
        out += c == '\n' ? std::string("\\n") : std::string(1, c);
    return out;
}

void check(bool good, const std::string& what, const std::string& got = "", const std::string& expected = "")
{
    if (good)
        return;
    failures++;
    std::printf("FAIL %s\n", what.c_str());
    if (!got.empty() || !expected.empty())
        std::printf("  got      \"%s\"\n  expected \"%s\"\n", visible(got).c_str(), visible(expected).c_str());
}

std::string replaced(std::string text, const std::string& work)
{
    for (std::size_t at; (at = text.find("%W")) != std::string::npos;)
        text.replace(at, 2, work);
    return text;
}

// Wine runs us with the Unix paths CMake knows; its Z: drive is the Unix root.
std::string dosPath(std::string path)
{
    if (!path.empty() && path[0] == '/')
        path = "Z:" + path;
    for (char& c : path)
        if (c == '/')
            c = '\\';
    return path;
}

// Wide calls on a "\\?\" path, so that the long-name scenario's files, past MAX_PATH, go too.
void removeTree(const std::wstring& path)
{
    DWORD attributes = GetFileAttributesW(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES)
        return;
    if (!(attributes & FILE_ATTRIBUTE_DIRECTORY)) {
        DeleteFileW(path.c_str());
        return;
    }
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW((path + L"\\*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            std::wstring name = found.cFileName;
            if (name != L"." && name != L"..")
                removeTree(path + L"\\" + name);
        } while (FindNextFileW(search, &found));
        FindClose(search);
    }
    RemoveDirectoryW(path.c_str());
}

void removeTree(const std::string& path) { removeTree(L"\\\\?\\" + std::wstring(path.begin(), path.end())); }

bool writeFile(const std::string& path, const std::string& bytes)
{
    std::ofstream out(path, std::ios::binary);
    return static_cast<bool>(out << bytes);
}

bool readFile(const std::string& path, std::string& bytes)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream all;
    all << in.rdbuf();
    bytes = all.str();
    return static_cast<bool>(in);
}

const char appPaths[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths";

void setKey(Key key, const std::string& value)
{
    HKEY parent;
    if (RegCreateKeyExA(HKEY_LOCAL_MACHINE, appPaths, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &parent, nullptr)) {
        check(false, "App Paths key cannot be opened");
        return;
    }
    RegDeleteKeyA(parent, "CEAppMgr.exe");
    HKEY own;
    if (key != Key::Absent &&
        RegCreateKeyExA(parent, "CEAppMgr.exe", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &own, nullptr) == 0) {
        DWORD number = 7;
        if (key == Key::Path)
            RegSetValueExA(own, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                           static_cast<DWORD>(value.size() + 1));
        else if (key == Key::NumberValue)
            RegSetValueExA(own, nullptr, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&number), sizeof number);
        RegCloseKey(own);
    }
    RegCloseKey(parent);
}

std::vector<HWND> windowsOf(DWORD process, const char* className)
{
    struct Search {
        DWORD process;
        const char* className;
        std::vector<HWND> found;
    } search{process, className, {}};
    EnumWindows(
        [](HWND window, LPARAM data) -> BOOL {
            auto* s = reinterpret_cast<Search*>(data);
            DWORD owner = 0;
            char name[64] = {};
            GetWindowThreadProcessId(window, &owner);
            GetClassNameA(window, name, sizeof name);
            if (owner == s->process && IsWindowVisible(window) && std::string(name) == s->className)
                s->found.push_back(window);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;  // topmost first
}

std::string textOf(HWND window)
{
    char text[2048] = {};
    GetWindowTextA(window, text, sizeof text);
    return text;
}

Box readBox(HWND box)
{
    Box seen{textOf(box), textOf(GetDlgItem(box, 0xFFFF)), "", 0};
    static const std::pair<int, const char*> buttons[] = {{IDOK, "OK"}, {IDCANCEL, "Cancel"}, {IDYES, "Yes"},
                                                          {IDNO, "No"}};
    for (const auto& [id, label] : buttons)
        if (GetDlgItem(box, id))
            seen.buttons.append(seen.buttons.empty() ? "" : " ").append(label);
    return seen;
}

bool waitFor(const std::function<bool()>& done, DWORD milliseconds)
{
    for (DWORD start = GetTickCount(); !done(); Sleep(50))
        if (GetTickCount() - start > milliseconds)
            return false;
    return true;
}

// A 24-bit BMP of the whole screen, taken while the confirmation box is up.
void screenshot(const std::string& path)
{
    int width = GetSystemMetrics(SM_CXSCREEN), height = GetSystemMetrics(SM_CYSCREEN);
    HDC screen = GetDC(nullptr), memory = CreateCompatibleDC(screen);
    BITMAPINFO info = {};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), width, height, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    HBITMAP picture = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ previous = SelectObject(memory, picture);
    BitBlt(memory, 0, 0, width, height, screen, 0, 0, SRCCOPY);
    GdiFlush();
    DWORD stride = (width * 3 + 3) & ~3u, size = stride * height;
    BITMAPFILEHEADER file = {0x4D42, static_cast<DWORD>(sizeof file + sizeof info.bmiHeader + size), 0, 0,
                             sizeof file + sizeof info.bmiHeader};
    std::string bytes(reinterpret_cast<char*>(&file), sizeof file);
    bytes.append(reinterpret_cast<char*>(&info.bmiHeader), sizeof info.bmiHeader);
    bytes.append(static_cast<char*>(bits), size);
    check(writeFile(path, bytes), "screenshot written to " + path);
    SelectObject(memory, previous);
    DeleteObject(picture);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
}

void checkMainWindow(DWORD process)
{
    std::vector<HWND> mains = windowsOf(process, "INSTALLER");
    check(mains.size() == 1, "one main window of class INSTALLER");
    if (mains.empty())
        return;
    RECT frame;
    GetWindowRect(mains[0], &frame);
    check(textOf(mains[0]) == "installer", "main window title", textOf(mains[0]), "installer");
    check(frame.right - frame.left == 800 && frame.bottom - frame.top == 600, "main window is 800 x 600");
}

// Answers the boxes in the order they come; returns what each showed.
std::vector<Box> answerBoxes(const PROCESS_INFORMATION& installer, const std::vector<Box>& script,
                             const std::string& shot)
{
    std::vector<Box> seen;
    std::vector<HWND> answered;
    auto unanswered = [&]() -> HWND {
        for (HWND box : windowsOf(installer.dwProcessId, "#32770"))
            if (std::find(answered.begin(), answered.end(), box) == answered.end())
                return box;
        return nullptr;
    };
    auto ended = [&] { return WaitForSingleObject(installer.hProcess, 0) == WAIT_OBJECT_0; };
    while (true) {
        HWND box = nullptr;
        if (!waitFor([&] { return ended() || (box = unanswered()) != nullptr; }, 20000) || !box)
            break;
        Sleep(100);  // let the box finish drawing
        seen.push_back(readBox(box));
        std::size_t step = seen.size() - 1;
        if (step == 0) {
            checkMainWindow(installer.dwProcessId);
            if (!shot.empty())
                screenshot(shot);
        }
        int press = step < script.size() ? script[step].press : IDOK;
        if (press == openAbout) {
            answered.push_back(box);
            std::vector<HWND> mains = windowsOf(installer.dwProcessId, "INSTALLER");
            if (!mains.empty())
                PostMessageA(mains[0], WM_COMMAND, 104, 0);
            waitFor([&] { return unanswered() != nullptr; }, 5000);
            answered.pop_back();  // answered for real once the About box is closed
            continue;
        }
        PostMessageA(box, WM_COMMAND, MAKEWPARAM(press, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(box, press)));
        if (!waitFor([&] { return !IsWindow(box); }, 5000))
            check(false, "box \"" + seen.back().caption + "\" closes when its button is pressed");
        answered.push_back(box);
    }
    return seen;
}

void prepare(const Case& c, const std::string& work, const std::string& appFolder, const std::string& standIn)
{
    removeTree(work);
    removeTree(appFolder);
    CreateDirectoryA(work.c_str(), nullptr);
    CreateDirectoryA((work + "\\src").c_str(), nullptr);
    if (c.cabinet)
        writeFile(work + "\\src\\Quellix.ARM_HPRO.CAB", "cabinet of " + std::string(c.name) + "\n");
    if (c.ini)
        writeFile(work + "\\src\\Quellix.ini", "ini of " + std::string(c.name) + "\n");
    if (c.before != Before::NoAppFolder)
        check(CreateDirectoryA(appFolder.c_str(), nullptr), "application manager's folder made: " + appFolder);
    if (c.standIn)
        CopyFileA(standIn.c_str(), (appFolder + "\\CEAppMgr.exe").c_str(), FALSE);
    if (c.before == Before::FileForFolder)
        writeFile(appFolder + "\\Quellix", "a file, not a folder\n");
    if (c.before == Before::OldFolder) {
        CreateDirectoryA((appFolder + "\\Quellix").c_str(), nullptr);
        writeFile(appFolder + "\\Quellix\\Quellix.ARM_HPRO.CAB", "old cabinet\n");
        writeFile(appFolder + "\\Quellix\\Quellix.ini", "old ini\n");
    }
    setKey(c.key, appFolder + "\\CEAppMgr.exe");
}

void checkLeft(const Case& c, const std::string& appFolder)
{
    std::string folder = appFolder + "\\Quellix", bytes;
    bool isFolder = GetFileAttributesA(folder.c_str()) != INVALID_FILE_ATTRIBUTES &&
                    (GetFileAttributesA(folder.c_str()) & FILE_ATTRIBUTE_DIRECTORY);
    check(isFolder == (c.left != Left::Nothing), "install folder exists: " + std::string(isFolder ? "yes" : "no"));
    bool cabinet = c.left == Left::CabinetOnly || c.left == Left::Both;
    bool ini = c.left == Left::Both;
    if (isFolder) {
        check(readFile(folder + "\\Quellix.ARM_HPRO.CAB", bytes) == cabinet, "cabinet copied: " + std::string(cabinet ? "yes" : "no"));
        if (cabinet)
            check(bytes == "cabinet of " + std::string(c.name) + "\n", "cabinet copied from the start directory", bytes);
        check(readFile(folder + "\\Quellix.ini", bytes) == ini, "ini copied: " + std::string(ini ? "yes" : "no"));
        if (ini)
            check(bytes == "ini of " + std::string(c.name) + "\n", "ini copied from the start directory", bytes);
    }
    std::string record;
    bool ran = readFile(appFolder + "\\CEAppMgr.record", record);
    // The stand-in holds its record open until it ends: unreadable here means the installer
    // did not wait for it.
    check(ran == !c.commandLine.empty(), "application manager ran and ended before the installer: " +
                                             std::string(ran ? "yes" : "no"));
    if (ran && !c.commandLine.empty()) {
        std::string expected = "command=" + c.commandLine + "\ndirectory=" + c.directory + "\nended\n";
        check(record == expected, "application manager's command line and directory, and the installer waited",
              record, expected);
    }
}

// Runs one scenario; returns the number of failed checks.
int run(Case c, const std::string& root, const std::string& installer, const std::string& standIn,
        const std::string& shot)
{
    failures = 0;
    std::string work = root + "\\" + c.name;
    std::string appFolder = replaced(c.appFolder, work);
    c.commandLine = replaced(c.commandLine, work);
    c.directory = replaced(c.directory, work);
    for (Box& box : c.boxes)
        box.text = replaced(box.text, work);
    prepare(c, work, appFolder, standIn);

    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    std::string line = "\"" + installer + "\"", src = work + "\\src";
    if (!CreateProcessA(installer.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr, src.c_str(), &startup,
                        &process)) {
        check(false, "installer starts: error " + std::to_string(GetLastError()));
        return failures;
    }
    std::vector<Box> seen = answerBoxes(process, c.boxes, shot);
    DWORD code = 1;
    bool ended = WaitForSingleObject(process.hProcess, 20000) == WAIT_OBJECT_0;
    if (!ended)
        TerminateProcess(process.hProcess, 1);
    GetExitCodeProcess(process.hProcess, &code);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    check(ended && code == 0, "installer ends by itself with exit code 0");

    check(seen.size() == c.boxes.size(), "number of boxes shown", std::to_string(seen.size()),
          std::to_string(c.boxes.size()));
    for (std::size_t i = 0; i < seen.size() && i < c.boxes.size(); i++) {
        std::string which = "box " + std::to_string(i + 1) + " ";
        check(seen[i].caption == c.boxes[i].caption, which + "caption", seen[i].caption, c.boxes[i].caption);
        check(seen[i].text == c.boxes[i].text, which + "text", seen[i].text, c.boxes[i].text);
        check(seen[i].buttons == c.boxes[i].buttons, which + "buttons", seen[i].buttons, c.boxes[i].buttons);
    }
    checkLeft(c, appFolder);
    return failures;
}

}  // namespace

// usage: installer_driver INSTALLER_EXE STANDIN_EXE WORK_FOLDER [--shot FILE.bmp] [CASE...]
// Runs the named scenarios, or all of them; the screenshot is taken at the first box of the first.
int main(int argc, char** argv)
{
    if (argc < 4) {
        std::fprintf(stderr, "usage: installer_driver INSTALLER_EXE STANDIN_EXE WORK_FOLDER [--shot FILE] [CASE...]\n");
        return 2;
    }
    std::string installer = dosPath(argv[1]), standIn = dosPath(argv[2]), root = dosPath(argv[3]), shot;
    std::vector<std::string> wanted;
    for (int i = 4; i < argc; i++) {
        if (std::string(argv[i]) == "--shot" && i + 1 < argc)
            shot = dosPath(argv[++i]);
        else
            wanted.push_back(argv[i]);
    }
    CreateDirectoryA(root.c_str(), nullptr);
    int passed = 0, failed = 0;
    for (const Case& c : cases()) {
        if (!wanted.empty() && std::find(wanted.begin(), wanted.end(), c.name) == wanted.end())
            continue;
        std::printf("--- %s\n", c.name);
        bool good = run(c, root, installer, standIn, shot) == 0;
        std::printf("%s: %s\n", c.name, good ? "passed" : "FAILED");
        (good ? passed : failed)++;
        shot.clear();
        std::fflush(stdout);
    }
    std::printf("%d passed, %d failed\n", passed, failed);
    return failed || passed == 0 ? 1 : 0;
}
