#include <QCoreApplication>
#include <QTextStream>
#include <cstdio>

#include "sample/SampleCommand.h"

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QTextStream out(stdout);
    QTextStream err(stderr);
    return korvex::runSampleCommand(app.arguments().mid(1), out, err);
}
