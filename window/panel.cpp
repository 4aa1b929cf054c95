#include "window/panel.h"

#include <QMoveEvent>
#include <QPainter>
#include <QPaintEvent>

#include <algorithm>
#include <cmath>

namespace window {

namespace {

// Positions far beyond any screen are all equally out of view; the limit keeps the rounded
// value, and the geometry Qt derives from it, well inside int.
int Shown(float value)
{
    constexpr float kLimit = 1 << 24;
    return static_cast<int>(std::lround(std::clamp(value, -kLimit, kLimit)));
}

} // namespace

// Not marked opaque on purpose: Qt skips opaque children when their window is repainted, and a
// repaint of the window must redraw every panel.
Panel::Panel(const QColor& background, QWidget* parent) : QWidget(parent), background_(background)
{
}

void Panel::setLeftF(float left)
{
    left_ = left;
    place();
}

void Panel::setTopF(float top)
{
    top_ = top;
    place();
}

void Panel::setPositionF(float left, float top)
{
    left_ = left;
    top_ = top;
    place();
}

void Panel::place() { move(Shown(left_), Shown(top_)); }

void Panel::paintEvent(QPaintEvent* event)
{
    QPainter painter(this);
    painter.fillRect(event->rect(), background_);
}

void Panel::moveEvent(QMoveEvent* event)
{
    // A plain move() from elsewhere becomes the new exact position; our own moves already
    // match their rounded values and keep the fractions.
    if (event->pos() != QPoint(Shown(left_), Shown(top_))) {
        left_ = static_cast<float>(event->pos().x());
        top_ = static_cast<float>(event->pos().y());
    }
    QWidget::moveEvent(event);
}

} // namespace window
