#include "win32/fonts.h"

#include <cmath>

namespace win32 {

namespace {

const wchar_t* FaceName(form::Face face)
{
    switch (face) {
    case form::Face::MsSansSerif:
        return L"MS Sans Serif";
    case form::Face::Wingdings:
        return L"Wingdings";
    case form::Face::Arial:
    case form::Face::None:
        break;
    }
    return L"Arial";
}

} // namespace

HFONT Fonts::Get(form::Face face, int pixels, bool regular, bool strikeOut)
{
    const auto key = std::make_tuple(face, pixels, regular, strikeOut);
    if (const auto it = fonts_.find(key); it != fonts_.end())
        return it->second;
    LOGFONTW font{};
    // A negative height asks for the character height without the internal leading, which
    // is how the table gives its sizes (8.25 pt at 96 dpi is 11 pixels).
    font.lfHeight = -static_cast<LONG>(std::lround(pixels * scale_));
    font.lfWeight = regular ? FW_NORMAL : FW_BOLD;
    font.lfStrikeOut = strikeOut ? TRUE : FALSE;
    font.lfCharSet = regular ? SYMBOL_CHARSET : EASTEUROPE_CHARSET;
    font.lfOutPrecision = OUT_TT_PRECIS;
    font.lfQuality = DEFAULT_QUALITY;
    font.lfPitchAndFamily = DEFAULT_PITCH | FF_SWISS;
    lstrcpynW(font.lfFaceName, FaceName(face), LF_FACESIZE);
    HFONT made = CreateFontIndirectW(&font);
    fonts_.emplace(key, made);
    return made;
}

Fonts::~Fonts()
{
    for (const auto& entry : fonts_)
        DeleteObject(entry.second);
}

} // namespace win32
