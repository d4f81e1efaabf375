#pragma once

#include <QDialog>
#include <QList>
#include <QString>

#include "ops/ExamBackups.h"

class QTreeWidget;
class QPushButton;

namespace korvex {

// 還原考試資料庫: the copies of exam.mdb in backup/, newest first, each with
// the date and time it was taken, the operation it was taken before and how
// many rows its main tables hold. The user picks one; the caller puts it back.
class RestoreDialog : public QDialog {
    Q_OBJECT
public:
    RestoreDialog(const QList<examBackups::Copy>& copies, QWidget* parent = nullptr);

    // The copy chosen when the dialog was accepted; empty otherwise.
    QString chosen() const;

    static QString title() { return QStringLiteral("還原考試資料庫"); }
    // The operation a copy was taken before, as the menus name it.
    static QString operationLabel(const QString& operation);

private:
    QList<examBackups::Copy> m_copies;
    QTreeWidget* m_list;
    QPushButton* m_restore;
};

}  // namespace korvex
