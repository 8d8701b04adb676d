// quiet-uninstall HKLM|HKCU: runs the QuietUninstallString of the game's Add/Remove entry as winget
// does, a command line for CreateProcess, waits for it and exits with its exit code; 255 when
// there is no such entry or the command cannot start.
#include <windows.h>

#include <cstdio>
#include <cstring>

int main(int argc, char** argv)
{
    const bool machine = argc == 2 && std::strcmp(argv[1], "HKLM") == 0;
    if (argc != 2 || (!machine && std::strcmp(argv[1], "HKCU") != 0)) {
        std::fprintf(stderr, "usage: quiet-uninstall HKLM|HKCU\n");
        return 2;
    }
    wchar_t command[4096];
    DWORD size = sizeof command;
    if (RegGetValueW(machine ? HKEY_LOCAL_MACHINE : HKEY_CURRENT_USER,
                     L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Vorkelm",
                     L"QuietUninstallString", RRF_RT_REG_SZ, nullptr, command, &size) != ERROR_SUCCESS) {
        std::fprintf(stderr, "quiet-uninstall: no QuietUninstallString in %s\n", argv[1]);
        return 255;
    }
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process;
    if (!CreateProcessW(nullptr, command, nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process)) {
        std::fprintf(stderr, "quiet-uninstall: cannot start it (error %lu)\n", GetLastError());
        return 255;
    }
    WaitForSingleObject(process.hProcess, INFINITE);
    DWORD code = 255;
    GetExitCodeProcess(process.hProcess, &code);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return static_cast<int>(code);
}
