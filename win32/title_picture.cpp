#include "win32/title_picture.h"

#include "win32/resource_ids.h"

namespace win32 {

namespace {

constexpr COLORREF kKeyColour = RGB(255, 0, 255);
// MaskBlt: where the mask is white (the key colour) the panel stays, elsewhere the picture.
constexpr DWORD kKeepDestination = 0x00AA0029;

int NearestDrawnSize(double scale)
{
    if (scale < 1.25)
        return SUMATKO_TITLE_1X;
    return scale < 1.75 ? SUMATKO_TITLE_1_5X : SUMATKO_TITLE_2X;
}

// A memory DC with a bitmap selected, put back and freed at the end of the scope.
class BitmapDc {
  public:
    BitmapDc(HDC like, HBITMAP bitmap) : dc_(CreateCompatibleDC(like)), old_(SelectObject(dc_, bitmap)) {}
    ~BitmapDc()
    {
        SelectObject(dc_, old_);
        DeleteDC(dc_);
    }
    BitmapDc(const BitmapDc&) = delete;
    BitmapDc& operator=(const BitmapDc&) = delete;
    operator HDC() const { return dc_; }

  private:
    HDC dc_;
    HGDIOBJ old_;
};

HBITMAP OverBackground(HDC screen, HBITMAP picture, COLORREF background, int width, int height)
{
    HBITMAP mask = CreateBitmap(width, height, 1, 1, nullptr);
    HBITMAP composed = CreateCompatibleBitmap(screen, width, height);
    {
        BitmapDc pictureDc(screen, picture);
        BitmapDc maskDc(screen, mask);
        BitmapDc composedDc(screen, composed);
        // Colour to monochrome: pixels of the source's background colour become white.
        SetBkColor(pictureDc, kKeyColour);
        BitBlt(maskDc, 0, 0, width, height, pictureDc, 0, 0, SRCCOPY);
        HBRUSH brush = CreateSolidBrush(background);
        const RECT all{0, 0, width, height};
        FillRect(composedDc, &all, brush);
        DeleteObject(brush);
        MaskBlt(composedDc, 0, 0, width, height, pictureDc, 0, 0, mask, 0, 0, MAKEROP4(kKeepDestination, SRCCOPY));
    }
    DeleteObject(mask);
    return composed;
}

HBITMAP Stretched(HDC screen, HBITMAP source, int fromWidth, int fromHeight, int width, int height)
{
    HBITMAP stretched = CreateCompatibleBitmap(screen, width, height);
    {
        BitmapDc sourceDc(screen, source);
        BitmapDc stretchedDc(screen, stretched);
        SetStretchBltMode(stretchedDc, HALFTONE);
        SetBrushOrgEx(stretchedDc, 0, 0, nullptr);
        StretchBlt(stretchedDc, 0, 0, width, height, sourceDc, 0, 0, fromWidth, fromHeight, SRCCOPY);
    }
    DeleteObject(source);
    return stretched;
}

} // namespace

HBITMAP ComposeTitle(HINSTANCE instance, COLORREF background, int width, int height, double scale)
{
    auto* picture = static_cast<HBITMAP>(
        LoadImageW(instance, MAKEINTRESOURCEW(NearestDrawnSize(scale)), IMAGE_BITMAP, 0, 0, LR_DEFAULTCOLOR));
    if (picture == nullptr)
        return nullptr;
    BITMAP drawn{};
    GetObjectW(picture, sizeof drawn, &drawn);
    HDC screen = GetDC(nullptr);
    // Composed at its drawn size, so a stretch blends the picture with the panel colour, never
    // with the key colour.
    HBITMAP composed = OverBackground(screen, picture, background, drawn.bmWidth, drawn.bmHeight);
    if (drawn.bmWidth != width || drawn.bmHeight != height)
        composed = Stretched(screen, composed, drawn.bmWidth, drawn.bmHeight, width, height);
    ReleaseDC(nullptr, screen);
    DeleteObject(picture);
    return composed;
}

} // namespace win32
