#pragma once

#include "form/controls.h"

#include <windows.h>

#include <map>
#include <tuple>

namespace win32 {

// The window's fonts at one scale, each made once per face, pixel height and strike-out. A new
// scale takes a new Fonts; the old one may go once no control uses its fonts any more.
class Fonts {
  public:
    explicit Fonts(double scale) : scale_(scale) {}
    ~Fonts();
    Fonts(const Fonts&) = delete;
    Fonts& operator=(const Fonts&) = delete;

    // A font for a control of the table: `pixels` is the character height at 96 dpi.
    HFONT Get(form::Face face, int pixels, bool regular, bool strikeOut);

  private:
    std::map<std::tuple<form::Face, int, bool, bool>, HFONT> fonts_;
    double scale_;
};

} // namespace win32
