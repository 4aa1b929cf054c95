// The hands and ears of the shared exercise scenario on Windows (tests/scenario/windows.py):
// runs under Wine beside sumatko2001.exe, starts it, drives its window with real input and reads
// it as a screen reader does. One request a line on stdin, one answer a line on stdout:
//
//   focused | text C | selection C | spoken C | value C | announced | message
//   key VK [MODIFIER-VK...] | type TEXT | paste TEXT | close
//
//   ok [FIELD...] | none | error MESSAGE
//
// The server says "ok" once the window shows. Words are UTF-8, one space apart; inside a word
// \\ \s \t \r \n stand for a backslash, a space, a tab, a carriage return and a line feed.
// Usage: scenario_server PATH-TO-sumatko2001.exe [PROGRAM-ARGUMENTS...]

#include "win32/control_ids.h"
#include "win32/text.h"
#include "win32_driver.h"

#include <fcntl.h>
#include <io.h>
#include <oleacc.h>

#include <cstdio>
#include <iostream>
#include <memory>
#include <optional>
#include <stdexcept>
#include <thread>
#include <utility>

namespace {

using namespace std::chrono_literals;
using Fields = std::vector<std::string>;
using win32::Utf8;

constexpr std::string_view kPlain = "\\ \t\r\n", kCode = "\\strn";

std::string Escape(std::string_view word)
{
    std::string escaped;
    for (char c : word)
        if (const auto at = kPlain.find(c); at == std::string_view::npos)
            escaped += c;
        else
            escaped += {'\\', kCode[at]};
    return escaped;
}

Fields Words(std::string_view line)
{
    Fields words(1);
    for (std::size_t i = 0; i < line.size(); ++i)
        if (line[i] == ' ')
            words.emplace_back();
        else if (line[i] == '\\' && i + 1 < line.size() && kCode.find(line[i + 1]) != std::string_view::npos)
            words.back() += kPlain[kCode.find(line[++i])];
        else
            words.back() += line[i];
    return words;
}

void Reply(std::string_view verb, const Fields& fields = {})
{
    std::string line(verb);
    for (const std::string& field : fields)
        line += ' ' + Escape(field);
    line += '\n';
    std::fwrite(line.data(), 1, line.size(), stdout);
    std::fflush(stdout);
}

// "Text1", "txtVysl(3)".
form::Control ControlNamed(const std::string& name)
{
    const std::size_t paren = name.find('(');
    const int index = paren == std::string::npos ? 0 : std::atoi(name.c_str() + paren + 1);
    for (const form::ControlEntry& entry : form::ControlTable())
        if (form::Name({entry.Which, index}) == name)
            return {entry.Which, index};
    throw std::runtime_error("no control is named " + name);
}

std::string Focused(const driver::Program& program)
{
    // The window itself, a message box and the hidden alert object are none of its controls.
    HWND focus = program.Focused();
    if (focus == nullptr || focus == program.Window() || GetAncestor(focus, GA_ROOT) != program.Window())
        return "";
    const int id = GetDlgCtrlID(focus);
    return id == win32::kNoControl ? "" : form::Name(win32::ControlOf(id));
}

std::vector<std::string> g_announced;

void CALLBACK Announced(HWINEVENTHOOK, DWORD, HWND hwnd, LONG object, LONG child, DWORD, DWORD)
{
    // Read at once: the next announcement renames the same object.
    if (object == OBJID_CLIENT && child == CHILDID_SELF)
        g_announced.push_back(Utf8(driver::Accessible(hwnd).Name));
}

std::optional<Fields> Serve(driver::Program& program, const Fields& request)
{
    const std::string& verb = request[0];
    const std::string argument = request.size() > 1 ? request[1] : "";
    if (verb == "focused")
        return Fields{Focused(program)};
    if (verb == "announced")
        return std::exchange(g_announced, {});
    if (verb == "message") {
        HWND box = FindWindowW(L"#32770", driver::TextOf(program.Window()).c_str());
        if (box == nullptr || GetWindow(box, GW_OWNER) != program.Window() || !IsWindowVisible(box))
            return std::nullopt;
        // A message box shows its text in a static of ID 0xFFFF.
        return Fields{Utf8(driver::TextOf(GetDlgItem(box, 0xFFFF)))};
    }
    if (verb == "key") {
        std::vector<WORD> keys;
        for (std::size_t i = 1; i < request.size(); ++i)
            keys.push_back(static_cast<WORD>(std::stoi(request[i])));
        program.Press(keys.at(0), {keys.begin() + 1, keys.end()});
        return Fields{};
    }
    if (verb == "type") {
        program.Type(argument);
        return Fields{};
    }
    if (verb == "paste") {
        if (!driver::Copy(win32::Utf16(argument)))
            throw std::runtime_error("the clipboard did not open");
        program.Press('V', {VK_CONTROL});
        return Fields{};
    }
    if (verb != "text" && verb != "selection" && verb != "spoken" && verb != "value")
        throw std::runtime_error("no request " + verb);
    HWND hwnd = program.Find(ControlNamed(argument));
    if (verb == "text")
        return hwnd == nullptr ? std::nullopt : std::optional{Fields{Utf8(driver::TextOf(hwnd))}};
    if (hwnd == nullptr)
        throw std::runtime_error(argument + " does not exist");
    if (verb == "value") {
        DWORD_PTR state = 0;
        SendMessageTimeoutW(hwnd, BM_GETCHECK, 0, 0, SMTO_ABORTIFHUNG, 2000, &state);
        return Fields{std::to_string(state)};
    }
    if (verb == "spoken") {
        const driver::Read read = driver::Accessible(hwnd);
        return Fields{Utf8(read.Name), Utf8(read.Description)};
    }
    const std::wstring text = driver::TextOf(hwnd);
    DWORD_PTR range = 0;
    SendMessageTimeoutW(hwnd, EM_GETSEL, 0, 0, SMTO_ABORTIFHUNG, 2000, &range);
    return Fields{Utf8(text.substr(LOWORD(range), HIWORD(range) - LOWORD(range)))};
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: scenario_server PATH-TO-sumatko2001.exe [ARGUMENTS...]\n");
        return 2;
    }
    // Lines end in "\n" alone, as the other side writes and reads them.
    _setmode(_fileno(stdin), _O_BINARY);
    _setmode(_fileno(stdout), _O_BINARY);
    std::wstring arguments;
    for (int i = 2; i < argc; ++i)
        arguments += (i > 2 ? L" \"" : L"\"") + win32::Utf16(argv[i]) + L"\"";
    CoInitialize(nullptr);
    driver::Program program(driver::WindowsPath(argv[1]), arguments);
    if (program.Window() == nullptr) {
        Reply("error", {"no window captioned \"Sumatko 2001\" came"});
        return 1;
    }
    DWORD process = 0;
    GetWindowThreadProcessId(program.Window(), &process);
    SetWinEventHook(EVENT_SYSTEM_ALERT, EVENT_SYSTEM_ALERT, nullptr, Announced, process, 0, WINEVENT_OUTOFCONTEXT);

    // Requests are read on a thread of their own, so that this one takes its messages, and with
    // them the hooked events, while it waits for the next.
    MSG message{};
    PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE); // the queue the reader posts to
    std::thread([main = GetCurrentThreadId()] {
        std::string line;
        while (std::getline(std::cin, line))
            PostThreadMessageW(main, WM_APP, 0, reinterpret_cast<LPARAM>(new std::string(std::move(line))));
        PostThreadMessageW(main, WM_QUIT, 0, 0);
    }).detach();
    Reply("ok");
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        if (message.message != WM_APP) {
            DispatchMessageW(&message);
            continue;
        }
        const std::unique_ptr<std::string> line(reinterpret_cast<std::string*>(message.lParam));
        const Fields request = Words(*line);
        if (request[0] == "close") {
            PostMessageW(program.Window(), WM_SYSCOMMAND, SC_CLOSE, 0);
            const int code = program.WaitForExit(5s);
            code < 0 ? Reply("none") : Reply("ok", {std::to_string(code)});
            return 0;
        }
        try {
            const std::optional<Fields> answer = Serve(program, request);
            answer ? Reply("ok", *answer) : Reply("none");
        } catch (const std::exception& error) {
            Reply("error", {error.what()});
        }
    }
    return 0; // the other side has gone: the program ends with the driver
}
