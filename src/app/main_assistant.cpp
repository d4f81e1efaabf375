#include <QApplication>

#include "app/MainWindow.h"
#include "app/ProgramFolder.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    korvex::MainWindow window;
    const QString folder =
        korvex::programFolder(app.arguments().mid(1), QCoreApplication::applicationDirPath());
    if (window.start(folder) == korvex::Startup::Result::Ended) return 0;
    return app.exec();
}
