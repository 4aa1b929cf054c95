// The Windows program: Form1's behaviour on the Win32 frontend.

#include "app/desktop.h"
#include "form/form1.h"
#include "win32/text.h"
#include "win32/toolkit.h"

#include <shlobj.h>

#include <string>
#include <vector>

namespace {

constexpr char kSchoolFile[] = "cviceni.txt vedle sumatko2001.exe, jinak %ProgramData%\\Sumatko 2001\\cviceni.txt, "
                               "jinak hodnota Cviceni v registru HKLM\\Software\\Sumatko 2001 (vlastnost CVICENI "
                               "instalačního balíčku MSI)";

// Text for the command line that started the program: its standard output when that is a file
// or a pipe, else the console it was started from, else a message box (started from a shortcut).
void Say(const std::string& text, bool error)
{
    const DWORD which = error ? STD_ERROR_HANDLE : STD_OUTPUT_HANDLE;
    HANDLE out = GetStdHandle(which);
    if (out == nullptr || out == INVALID_HANDLE_VALUE) {
        if (AttachConsole(ATTACH_PARENT_PROCESS))
            out = GetStdHandle(which);
    }
    DWORD mode = 0;
    DWORD written = 0;
    if (out != nullptr && out != INVALID_HANDLE_VALUE && GetConsoleMode(out, &mode)) {
        const std::wstring wide = win32::Utf16(text);
        WriteConsoleW(out, wide.data(), static_cast<DWORD>(wide.size()), &written, nullptr);
    } else if (out != nullptr && out != INVALID_HANDLE_VALUE) {
        WriteFile(out, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
    } else {
        MessageBoxW(nullptr, win32::Utf16(text).c_str(), L"Sumatko 2001", error ? MB_ICONWARNING : MB_ICONINFORMATION);
    }
}

std::wstring FolderOf(HMODULE module)
{
    std::wstring path(MAX_PATH, L'\0');
    path.resize(GetModuleFileNameW(module, path.data(), static_cast<DWORD>(path.size())));
    return path.substr(0, path.find_last_of(L'\\') + 1);
}

// The school's exercise: beside the exe (a school's copy of the zip), in the machine's program
// data, or in the machine's registry, where the installer puts its CVICENI property.
std::optional<std::string> SchoolExercise()
{
    if (auto text = app::ReadExerciseFile(win32::Utf8(FolderOf(nullptr) + L"cviceni.txt")))
        return text;
    PWSTR programData = nullptr;
    if (SUCCEEDED(SHGetKnownFolderPath(FOLDERID_ProgramData, 0, nullptr, &programData))) {
        const std::wstring file = std::wstring(programData) + L"\\Sumatko 2001\\cviceni.txt";
        CoTaskMemFree(programData);
        if (auto text = app::ReadExerciseFile(win32::Utf8(file)))
            return text;
    }
    DWORD bytes = 0;
    const wchar_t* key = L"Software\\Sumatko 2001";
    if (RegGetValueW(HKEY_LOCAL_MACHINE, key, L"Cviceni", RRF_RT_REG_SZ, nullptr, nullptr, &bytes) != ERROR_SUCCESS)
        return std::nullopt;
    std::wstring value(bytes / sizeof(wchar_t), L'\0');
    if (RegGetValueW(HKEY_LOCAL_MACHINE, key, L"Cviceni", RRF_RT_REG_SZ, nullptr, value.data(), &bytes) !=
        ERROR_SUCCESS)
        return std::nullopt;
    value.resize(wcsnlen(value.c_str(), value.size()));
    // An installation without the property leaves the value empty.
    return value.empty() ? std::nullopt : std::optional(win32::Utf8(value));
}

} // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE /*previous*/, PWSTR /*commandLine*/, int /*show*/)
{
    std::vector<std::string> args;
    for (int i = 1; i < __argc; ++i)
        args.push_back(win32::Utf8(__wargv[i]));
    const app::Options options = app::ReadOptions(args);
    switch (options.What) {
    case app::Options::Action::Help:
        Say(app::HelpText(kSchoolFile), false);
        return 0;
    case app::Options::Action::Version:
        Say(std::string(app::kVersionText), false);
        return 0;
    case app::Options::Action::Refuse:
        Say(options.Problem + "\n", true);
        return 2;
    case app::Options::Action::MergeResults:
        return app::PrintResults(options.ResultsFolder, Say);
    case app::Options::Action::Run:
        break;
    }
    win32::Toolkit toolkit(instance);
    form::Form1 form(toolkit);
    toolkit.Attach(form);
    form.Load();
    // The exercise: the command line's, else the school's, else the settings as they are.
    app::Classroom classroom(form, options.Exercise ? options.Exercise : SchoolExercise());
    toolkit.Show();
    classroom.WindowShown();
    return toolkit.Run();
}
