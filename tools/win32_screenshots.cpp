// Plays one exercise in the real Windows program and saves the client area of each screen as a
// BMP: start, exercise, marked and results. tools/take-windows-screenshots runs it under Wine.
// Usage: win32_screenshots PATH-TO-sumatko2001.exe OUTPUT-DIRECTORY

#include "win32_driver.h"

#include <cstdio>
#include <string>
#include <vector>

namespace {

using form::Id;
using namespace std::chrono_literals;

form::Control Box(int row) { return {Id::txtVysl, row}; }

std::string Answer(const std::wstring& caption, int offset)
{
    return std::to_string(driver::ProblemOf(caption).Result + offset);
}

// The list has come to rest when it stays where it is for a while.
bool ListAtRest(const driver::Program& program)
{
    const RECT before = program.Place({Id::Picture2});
    Sleep(300);
    const RECT after = program.Place({Id::Picture2});
    return before.top == after.top;
}

// Painting is done when two looks at the window, a moment apart, see the same.
bool Painted(const driver::Program& program)
{
    const std::vector<DWORD> first = program.ClientPixels();
    Sleep(300);
    return program.ClientPixels() == first;
}

// The client area as a 24-bit BMP file, top row first.
bool Capture(const driver::Program& program, const std::wstring& path)
{
    RECT client{};
    GetClientRect(program.Window(), &client);
    const std::vector<DWORD> pixels = program.ClientPixels();
    const int width = client.right;
    const int height = client.bottom;
    const int stride = (width * 3 + 3) & ~3;
    BITMAPINFOHEADER info{sizeof info, width, -height, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
    BITMAPFILEHEADER file{};
    file.bfType = 0x4D42; // "BM"
    file.bfOffBits = sizeof file + sizeof info;
    file.bfSize = file.bfOffBits + static_cast<DWORD>(stride * height);
    std::FILE* out = _wfopen(path.c_str(), L"wb");
    if (out == nullptr)
        return false;
    std::fwrite(&file, sizeof file, 1, out);
    std::fwrite(&info, sizeof info, 1, out);
    std::vector<unsigned char> row(static_cast<std::size_t>(stride));
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const DWORD pixel = pixels[static_cast<std::size_t>(y * width + x)];
            for (int byte = 0; byte < 3; ++byte)
                row[static_cast<std::size_t>(x * 3 + byte)] = static_cast<unsigned char>(pixel >> (8 * byte));
        }
        std::fwrite(row.data(), 1, row.size(), out);
    }
    return std::fclose(out) == 0;
}

bool Save(const driver::Program& program, const std::wstring& directory, const wchar_t* name)
{
    const bool saved = Capture(program, directory + L"\\" + name + L".bmp");
    std::fprintf(stderr, "%ls: %s\n", name, saved ? "saved" : "FAILED");
    return saved;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: win32_screenshots PATH-TO-sumatko2001.exe OUTPUT-DIRECTORY\n");
        return 2;
    }
    driver::Program program(driver::WindowsPath(argv[1]));
    const std::wstring out = driver::WindowsPath(argv[2]);
    if (program.Window() == nullptr || !driver::WaitUntil([&] { return program.HasFocus({Id::Command3}); }) ||
        !driver::WaitUntil([&] { return Painted(program); }))
        return 1;
    bool saved = Save(program, out, L"start");

    // Row 1 right, row 2 right, row 3 wrong, row 4 left empty, row 5 right.
    program.Press(VK_RETURN);
    if (!driver::WaitUntil([&] { return program.HasFocus(Box(1)); }))
        return 1;
    for (int row = 1; row <= 5; ++row) {
        if (row != 4)
            program.Type(Answer(program.Text({Id::lblPrikl, row}), row == 3 ? 1 : 0));
        if (row == 1)
            saved &= driver::WaitUntil([&] { return ListAtRest(program); }) && Save(program, out, L"exercise");
        program.Press(VK_RETURN);
    }

    program.Click({Id::Command1});
    if (!driver::WaitUntil([&] { return program.Visible({Id::Command2}); }, 20s))
        return 1;
    // Row 3, the wrong one, into the band between the arrows.
    program.Press(VK_DOWN);
    program.Press(VK_DOWN);
    saved &= driver::WaitUntil([&] { return program.HasFocus(Box(3)) && ListAtRest(program); }) &&
             Save(program, out, L"marked");

    // The results are in when the settings panel has come down to its final place in them.
    RECT client{};
    GetClientRect(program.Window(), &client);
    const LONG five = (client.right * 5 + 260) / 520;
    program.Click({Id::Command2});
    saved &= driver::WaitUntil([&] {
                 return program.Place({Id::Picture5}).left == five && program.Place({Id::Picture6}).top == five;
             }) &&
             Save(program, out, L"results");
    return saved ? 0 : 1;
}
