#include "db/SqlText.h"

namespace korvex {

QStringList splitTopLevel(const QString& text) {
    QStringList parts;
    int depth = 0;
    QChar quote;
    QString current;
    for (const QChar c : text) {
        if (!quote.isNull()) {
            if (c == quote) quote = QChar();
        } else if (c == u'\'' || c == u'"' || c == u'[') {
            quote = c == u'[' ? QChar(u']') : c;
        } else if (c == u'(') {
            ++depth;
        } else if (c == u')') {
            --depth;
        } else if (c == u',' && depth == 0) {
            parts << current.trimmed();
            current.clear();
            continue;
        }
        current += c;
    }
    if (!current.trimmed().isEmpty()) parts << current.trimmed();
    return parts;
}

}  // namespace korvex
