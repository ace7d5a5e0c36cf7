// The desktop program: the application object started in the program's own directory.
#include <QApplication>

#include "app/app_globals.h"
#include "app/halvex_app.h"

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    CHalvexApp app;
    if (!app.InitInstance(ExecutableDirectory(), QApplication::arguments())) {
        return 1;
    }
    return QApplication::exec();
}
