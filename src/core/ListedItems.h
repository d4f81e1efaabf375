#pragma once

#include <QString>
#include <QStringList>

namespace korvex {

// A list a message names that may run long (refused rows, missing students,
// problems): the first few items are kept to be named, the rest only
// counted, so that a message box stays readable whatever the number.
class ListedItems {
public:
    static constexpr int kListed = 20;

    void add(const QString& item);
    bool isEmpty() const { return m_count == 0; }
    int count() const { return m_count; }
    const QStringList& listed() const { return m_listed; }

    // The named items joined by `separator`, and after one more separator
    // "…其餘 N <unit>未列出" when some were only counted.
    QString text(const QString& separator, const QString& unit) const;

private:
    QStringList m_listed;
    int m_count = 0;
};

}  // namespace korvex
