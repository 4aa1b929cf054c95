#pragma once

#include "qt/hurried_window.h"

#include <QCoreApplication>
#include <QLineEdit>
#include <QTest>

#include <gtest/gtest.h>

namespace qtui::test {

// A hurried window, shown and active, with the steps a test takes.
class TestWindow : public HurriedWindow {
public:
    TestWindow() : HurriedWindow(2001)
    {
        show();
        activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(this));
    }
    template <class W = QWidget> W* get(form::Control control) const { return static_cast<W*>(widget(control)); }
    QLineEdit* box(int row) const { return get<QLineEdit>({form::Id::txtVysl, row}); }
    // Lets every running sequence end.
    void settle()
    {
        for (int i = 0; i < 100000 && form().SequenceRunning(); ++i)
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 5);
        EXPECT_FALSE(form().SequenceRunning());
    }
    void click(form::Id button)
    {
        QTest::mouseClick(widget({button}), Qt::LeftButton);
        settle();
    }
    int result(int row) { return form().State().Problems[static_cast<std::size_t>(row)].Result; }
};

} // namespace qtui::test
