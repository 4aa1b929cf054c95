#include "window/form1.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    window::SetUpApplication(app);
    window::Form1 form;
    form.show();
    return app.exec();
}
