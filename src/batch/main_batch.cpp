#include <QCoreApplication>
#include <cstdio>

#include "batch/BatchRun.h"

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QString error;
    const auto options = korvex::parseBatchArguments(
        app.arguments().mid(1), QCoreApplication::applicationDirPath(), &error);
    if (!options) {
        std::fprintf(stderr, "korvex-batch: %s\n%s", qUtf8Printable(error),
                     qUtf8Printable(korvex::batchUsage()));
        return korvex::BatchBadUsage;
    }
    return korvex::runBatch(*options);
}
