#pragma once

#include <QColor>
#include <QWidget>

namespace window {

// A plain container that paints one background colour and clips its children. Its position
// is kept in fractional pixels: the slides and the list easing apply their formulas to these
// values, and the widget only shows them rounded to whole pixels.
class Panel : public QWidget {
    Q_OBJECT
public:
    Panel(const QColor& background, QWidget* parent);

    QColor background() const { return background_; }

    float leftF() const { return left_; }
    float topF() const { return top_; }
    void setLeftF(float left);
    void setTopF(float top);
    void setPositionF(float left, float top);

protected:
    void paintEvent(QPaintEvent* event) override;
    void moveEvent(QMoveEvent* event) override;

private:
    void place();

    QColor background_;
    float left_ = 0;
    float top_ = 0;
};

} // namespace window
