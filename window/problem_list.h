#pragma once

#include "drill/drill_state.h"
#include "drill/motion.h"

#include <QString>

#include <optional>

namespace window {

// The caption of a problem row: "7 + 5 =", "3 · 4 =", "-3 + 8 =".
QString RowCaption(const drill::ProblemRecord& problem);

// The row-moving meaning of a key in an answer box, if it has one (Qt::Key values).
std::optional<drill::RowKey> RowKeyOf(int key);

} // namespace window
