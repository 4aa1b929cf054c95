#pragma once

#include <QColor>
#include <QWidget>

namespace qtui {

// A plain container that paints one background colour and clips its children.
class Panel : public QWidget {
    Q_OBJECT
public:
    Panel(const QColor& background, QWidget* parent);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QColor background_;
};

// Whole pixels for a fractional position; positions far beyond any screen are all equally
// out of view, and the limit keeps the geometry Qt derives from them well inside int.
int Shown(float position);

} // namespace qtui
