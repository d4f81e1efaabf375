#include "core/QtTranslation.h"

#include <QCoreApplication>
#include <QDir>
#include <QLibraryInfo>
#include <QTranslator>

namespace korvex {

bool installQtTranslation(QCoreApplication& app) {
    const QString folders[] = {
        QLibraryInfo::path(QLibraryInfo::TranslationsPath),
        QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("translations")),
    };
    for (const QString& folder : folders) {
        // The translator lives as long as the application it is installed in.
        auto* translator = new QTranslator(&app);
        if (translator->load(QStringLiteral("qtbase_zh_TW"), folder) &&
            QCoreApplication::installTranslator(translator))
            return true;
        delete translator;
    }
    return false;
}

}  // namespace korvex
