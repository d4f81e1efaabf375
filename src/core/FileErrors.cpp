#include "core/FileErrors.h"

#include <QDir>
#include <QFileInfo>
#include <QStorageInfo>
#include <QTemporaryFile>
#include <utility>

namespace korvex {

QString fileErrorText(const QString& systemText) {
    static const std::pair<const char*, const char16_t*> known[] = {
        {"no space left", u"磁碟已滿"},
        {"disk full", u"磁碟已滿"},
        {"quota exceeded", u"磁碟配額已滿"},
        {"read-only file system", u"磁碟是唯讀的"},
        {"permission denied", u"沒有寫入權限"},
        {"access is denied", u"沒有寫入權限"},
        {"file name too long", u"檔名太長"},
        {"no such file or directory", u"找不到檔案或資料夾"},
        {"cannot find the file", u"找不到檔案或資料夾"},
        {"cannot find the path", u"找不到檔案或資料夾"},
        {"file not found", u"找不到檔案或資料夾"},
        {"path not found", u"找不到檔案或資料夾"},
        {"device or resource busy", u"檔案正由其他程式使用中"},
        {"being used by another process", u"檔案正由其他程式使用中"},
    };
    const QString lower = systemText.toLower();
    for (const auto& [sign, words] : known)
        if (lower.contains(QLatin1String(sign)))
            return QString::fromUtf16(words) + QStringLiteral(" (") + systemText + u')';
    return systemText;
}

QString folderWriteProblem(const QString& folder) {
    const QFileInfo info(folder);
    if (!info.isDir()) return QStringLiteral("資料夾不存在");
    const QStorageInfo storage(folder);
    if (storage.isValid() && storage.isReadOnly()) return QStringLiteral("磁碟是唯讀的");
    if (storage.isValid() && storage.bytesAvailable() == 0) return QStringLiteral("磁碟已滿");
    QTemporaryFile probe(QDir(folder).filePath(QStringLiteral("korvex-XXXXXX.tmp")));
    if (!probe.open()) {
        const QString why = fileErrorText(probe.errorString());
        return why.isEmpty() ? QStringLiteral("資料夾是唯讀的") : why;
    }
    // Some file systems let a file be created but not filled.
    if (probe.write(QByteArray(4096, '\0')) != 4096 || !probe.flush())
        return fileErrorText(probe.errorString());
    return QString();
}

}  // namespace korvex
