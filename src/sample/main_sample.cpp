#include <QCoreApplication>
#include <QTextStream>
#include <cstdio>

#include "core/QtTranslation.h"
#include "sample/SampleCommand.h"

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    // The command-line parser's own messages in Chinese, like the rest.
    korvex::installQtTranslation(app);
    QTextStream out(stdout);
    QTextStream err(stderr);
    return korvex::runSampleCommand(app.arguments().mid(1), out, err);
}
