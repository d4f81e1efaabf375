#include "core/ListedItems.h"

namespace korvex {

void ListedItems::add(const QString& item) {
    if (m_listed.size() < kListed) m_listed << item;
    ++m_count;
}

QString ListedItems::text(const QString& separator, const QString& unit) const {
    QString joined = m_listed.join(separator);
    const int unlisted = m_count - int(m_listed.size());
    if (unlisted > 0)
        joined += separator + QStringLiteral("…其餘 %1 %2未列出").arg(unlisted).arg(unit);
    return joined;
}

}  // namespace korvex
