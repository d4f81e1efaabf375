#include "ui/RunAssistant.h"

#include <QApplication>

#include "core/ProgramFolder.h"
#include "ui/MainWindow.h"

namespace korvex {

int runAssistant(const QString& folder) {
    MainWindow window;
    if (window.start(programFolder(folder, QCoreApplication::applicationDirPath())) ==
        Startup::Result::Ended)
        return 1;
    return QApplication::exec();
}

}  // namespace korvex
