#include "qt/panel.h"

#include <QPaintEvent>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace qtui {

// Not marked opaque on purpose: Qt skips opaque children when their window is repainted, and a
// repaint of the window must redraw every panel.
Panel::Panel(const QColor& background, QWidget* parent) : QWidget(parent), background_(background) {}

void Panel::paintEvent(QPaintEvent* event)
{
    QPainter painter(this);
    painter.fillRect(event->rect(), background_);
    // A panel that takes the focus (the clock) shows it as a dotted frame inside its edge.
    if (hasFocus()) {
        painter.setPen(QPen(Qt::white, 1, Qt::DotLine));
        painter.drawRect(rect().adjusted(1, 1, -2, -2));
    }
}

int Shown(float position)
{
    constexpr float kLimit = 1 << 24;
    return static_cast<int>(std::lround(std::clamp(position, -kLimit, kLimit)));
}

} // namespace qtui
