#pragma once

#include "form/controls.h"

#include <string>

namespace web {

// Lengths and colours as the page's style writes them.
std::string Px(float value);
std::string Colour(form::Rgb rgb);

// The control's element as markup: the page reads the whole table's worth in a few calls.
std::string Markup(const form::ControlEntry& entry);

} // namespace web
