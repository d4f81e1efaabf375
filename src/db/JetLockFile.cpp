#include "db/JetLockFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace korvex {
namespace {

constexpr int kSlotSize = 64;
constexpr int kNameSize = 32;
// Jet keeps at most 255 users in the file.
constexpr int kMaxSlots = 255;

// One name of a slot: the bytes up to the first zero, in the code page of
// the computer that wrote them (the ANSI code page on Windows).
QString slotName(const QByteArray& slot, int offset) {
    QByteArray bytes = slot.mid(offset, kNameSize);
    const qsizetype end = bytes.indexOf('\0');
    if (end >= 0) bytes.truncate(end);
    return QString::fromLocal8Bit(bytes).trimmed();
}

}  // namespace

QString jetLockFileOf(const QString& databaseFile) {
    const QFileInfo info(databaseFile);
    const QString suffix = info.suffix().compare(QLatin1String("accdb"), Qt::CaseInsensitive) == 0
                               ? QStringLiteral("laccdb")
                               : QStringLiteral("ldb");
    const QString wanted = info.completeBaseName() + u'.' + suffix;
    const QDir folder = info.dir();
    for (const QString& name : folder.entryList(QDir::Files | QDir::Hidden))
        if (name.compare(wanted, Qt::CaseInsensitive) == 0) return folder.filePath(name);
    return QString();
}

QStringList jetLockHolders(const QString& databaseFile) {
    const QString lockFile = jetLockFileOf(databaseFile);
    if (lockFile.isEmpty()) return {};
    QFile file(lockFile);
    if (!file.open(QIODevice::ReadOnly)) return {};
    const QByteArray bytes = file.read(qint64(kSlotSize) * kMaxSlots);
    QStringList holders;
    for (qsizetype at = 0; at + kSlotSize <= bytes.size(); at += kSlotSize) {
        const QByteArray slot = bytes.mid(at, kSlotSize);
        const QString computer = slotName(slot, 0);
        if (computer.isEmpty()) continue;  // a slot a user has left
        const QString account = slotName(slot, kNameSize);
        const QString holder =
            account.isEmpty() ? computer : QStringLiteral("%1 (%2)").arg(computer, account);
        if (!holders.contains(holder)) holders << holder;
    }
    return holders;
}

}  // namespace korvex
