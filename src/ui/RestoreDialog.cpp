#include "ui/RestoreDialog.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "menu/OperationTable.h"

namespace korvex {

QString RestoreDialog::operationLabel(const QString& operation) {
    return operationPlainName(operation);
}

RestoreDialog::RestoreDialog(const QList<examBackups::Copy>& copies, QWidget* parent)
    : QDialog(parent), m_copies(copies) {
    setObjectName(QStringLiteral("frmRestore"));
    setWindowTitle(title());
    setModal(true);

    auto* hint = new QLabel(
        QStringLiteral("選擇要放回的備份; 目前的考試資料庫會先備份, 之後仍可還原。"), this);
    hint->setWordWrap(true);
    m_list = new QTreeWidget(this);
    m_list->setObjectName(QStringLiteral("lstCopies"));
    m_list->setRootIsDecorated(false);
    m_list->setHeaderLabels({QStringLiteral("備份時間"), QStringLiteral("備份於此作業之前"),
                             QStringLiteral("資料筆數")});
    for (const examBackups::Copy& copy : m_copies) {
        auto* item = new QTreeWidgetItem(m_list);
        item->setText(0, copy.taken.toString(QStringLiteral("yyyy/MM/dd HH:mm:ss")));
        item->setText(1, operationLabel(copy.operation));
        item->setText(2, examBackups::rowCounts(copy.path));
        item->setToolTip(0, copy.path);
    }
    m_list->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    if (m_list->topLevelItemCount() > 0) m_list->setCurrentItem(m_list->topLevelItem(0));

    m_restore = new QPushButton(QStringLiteral("還原"), this);
    m_restore->setObjectName(QStringLiteral("cmdRestore"));
    m_restore->setDefault(true);
    m_restore->setEnabled(!m_copies.isEmpty());
    auto* cancel = new QPushButton(QStringLiteral("取消"), this);
    cancel->setObjectName(QStringLiteral("cmdCancel"));
    connect(m_restore, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_list, &QTreeWidget::itemDoubleClicked, this, &QDialog::accept);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(m_restore);
    buttons->addWidget(cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(hint);
    layout->addWidget(m_list);
    layout->addLayout(buttons);
    resize(640, 360);
}

QString RestoreDialog::chosen() const {
    if (result() != QDialog::Accepted) return QString();
    const int row = m_list->indexOfTopLevelItem(m_list->currentItem());
    return row >= 0 && row < m_copies.size() ? m_copies.at(row).path : QString();
}

}  // namespace korvex
