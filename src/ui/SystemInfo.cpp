#include "ui/SystemInfo.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QSettings>

#include "core/AppInfo.h"
#include "ui/MessageBox.h"

namespace korvex {

bool GetKeyValue(const QString& keyName, const QString& valueName, QString& value) {
    value.clear();
#ifdef Q_OS_WIN
    QSettings key(QStringLiteral("HKEY_LOCAL_MACHINE\\") + keyName, QSettings::NativeFormat);
    if (key.status() != QSettings::NoError || !key.contains(valueName)) return false;
    const QVariant stored = key.value(valueName);
    if (stored.typeId() == QMetaType::QString || stored.canConvert<QString>()) {
        value = stored.toString();
        return true;
    }
    return false;
#else
    Q_UNUSED(keyName);
    Q_UNUSED(valueName);
    return false;
#endif
}

QString findSystemInfoTool(const std::function<bool(const QString&)>& exists) {
    QString path;
    if (GetKeyValue(QStringLiteral("SOFTWARE\\Microsoft\\Shared Tools\\MSINFO"),
                    QStringLiteral("PATH"), path) &&
        !path.isEmpty())
        return path;
    QString folder;
    if (GetKeyValue(QStringLiteral("SOFTWARE\\Microsoft\\Shared Tools Location"),
                    QStringLiteral("MSINFO"), folder)) {
        QString candidate = folder + QStringLiteral("\\MSINFO32.EXE");
        if (exists(candidate)) return candidate;
    }
    return QString();
}

QString systemInfoUnavailableMessage() { return QStringLiteral("目前無法提供系統資訊"); }

void StartSysInfo(QWidget* parent) {
    const QString tool =
        findSystemInfoTool([](const QString& file) { return QFileInfo::exists(file); });
    if (!tool.isEmpty() && QProcess::startDetached(QDir::fromNativeSeparators(tool), {})) return;
    MessageBox::show(parent, appTitle(), systemInfoUnavailableMessage(),
                     MessageBox::Icon::Information);
}

}  // namespace korvex
