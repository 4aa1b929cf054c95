#include "qt/window.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    qtui::SetUpApplication(app);
    qtui::Window window;
    window.show();
    return app.exec();
}
