#include "MessageText.h"

namespace korvex::test {

MessageText parseMessage(const QString& text) {
    static const QString reasonMarker = QStringLiteral("\r\n原因: ");
    static const QString backupMarker = QStringLiteral("\r\n(原有的考試資料庫已先備份為 ");
    MessageText parts;
    const qsizetype backupAt = text.indexOf(backupMarker);
    QString rest = text;
    if (backupAt >= 0) {
        parts.backup = text.mid(backupAt + backupMarker.size()).chopped(1);
        rest = text.left(backupAt);
    }
    const qsizetype reasonAt = rest.indexOf(reasonMarker);
    if (reasonAt >= 0) {
        parts.reason = rest.mid(reasonAt + reasonMarker.size());
        rest = rest.left(reasonAt);
    }
    parts.body = rest;
    return parts;
}

}  // namespace korvex::test
