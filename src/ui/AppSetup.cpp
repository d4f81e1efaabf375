#include "ui/AppSetup.h"

#include <QApplication>
#include <QFont>
#include <QStringList>

#include "core/AppInfo.h"
#include "core/QtTranslation.h"
#include "ui/AppIcon.h"

namespace korvex {

QStringList chineseFallbackFamilies() {
#ifdef Q_OS_WIN
    return {QStringLiteral("Microsoft JhengHei UI"), QStringLiteral("Microsoft JhengHei"),
            QStringLiteral("PMingLiU")};
#else
    return {QStringLiteral("Noto Sans CJK TC"), QStringLiteral("Noto Sans TC"),
            QStringLiteral("AR PL UMing TW"), QStringLiteral("WenQuanYi Zen Hei")};
#endif
}

void prepareApplication(QApplication& app) {
    QCoreApplication::setApplicationName(QStringLiteral("korvex-assistant"));
    QCoreApplication::setApplicationVersion(versionText());
    installQtTranslation(app);

    // The system's font stays first, so Latin text looks as elsewhere on the
    // desktop; Chinese characters come from the Traditional Chinese font
    // rather than from whichever CJK font the system would pick, which may
    // draw them in their Simplified Chinese or Japanese forms.
    QFont font = QApplication::font();
    QStringList families{font.family()};
    for (const QString& family : chineseFallbackFamilies())
        if (!families.contains(family)) families << family;
    font.setFamilies(families);
    QApplication::setFont(font);

    QApplication::setWindowIcon(appIcon());
}

}  // namespace korvex
