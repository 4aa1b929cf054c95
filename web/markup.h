#pragma once

#include "form/controls.h"

#include <string>
#include <string_view>

namespace web {

// Lengths and colours as the page's style writes them.
std::string Px(float value);
std::string Colour(form::Rgb rgb);

// A control's element as markup, with `content` inside it (a container's children, an image's
// picture): the page made by the program and the page prerendered at build time are one markup.
std::string Markup(const form::ControlEntry& entry, std::string_view content = {});

} // namespace web
