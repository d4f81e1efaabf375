#include "ui/AboutDialog.h"

#include <QApplication>
#include <QDesktopServices>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "core/AppInfo.h"
#include "ui/AppIcon.h"
#include "ui/DialogLook.h"
#include "ui/MessageBox.h"
#include "ui/SystemInfo.h"

namespace korvex {

namespace {

QLabel* addLabel(QWidget* parent, const char* name, const QString& text) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(QLatin1String(name));
    label->setTextFormat(Qt::PlainText);
    label->setWordWrap(true);
    return label;
}

}  // namespace

QUrl AboutDialog::supportAddress() {
    return QUrl(QStringLiteral("https://support.korvex.example/"));
}

AboutDialog::AboutDialog(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("frmAbout"));
    setWindowTitle(QStringLiteral("關於 ") + appTitle());
    setModal(true);

    auto* icon = new QLabel(this);
    icon->setObjectName(QStringLiteral("picIcon"));
    icon->setPixmap(appIcon().pixmap(64, 64));
    icon->setAlignment(Qt::AlignTop | Qt::AlignHCenter);

    auto* title = addLabel(this, "lblTitle", appTitle());
    QFont titleFont = title->font();
    titleFont.setPointSizeF(titleFont.pointSizeF() * 1.5);
    titleFont.setBold(true);
    title->setFont(titleFont);
    auto* version = addLabel(this, "lblVersion", QStringLiteral("版本 ") + versionText());
    // Headings, each followed by its own label with what the program does and
    // the warning about backups.
    auto* description = addLabel(this, "lblDescription", QStringLiteral("應用程式說明"));
    auto* descriptionText =
        addLabel(this, "lblDescriptionText",
                 QStringLiteral("將校務行政系統的基本資料與考試名冊匯入電腦閱卷系統, "
                                "將閱卷成績匯回校務行政系統, 並產生教師登錄成績的 Excel 檔。"));
    auto* support = addLabel(this, "lblSupport", QStringLiteral("技術支援: KORVEX 客服中心"));
    auto* web = addLabel(this, "lblWeb", supportAddress().toString());
    web->setTextInteractionFlags(Qt::TextSelectableByMouse);
    auto* disclaimer = addLabel(this, "lblDisclaimer", QStringLiteral("警告: "));
    disclaimer->setWordWrap(false);
    auto* disclaimerText = addLabel(this, "lblDisclaimerText",
                                    QStringLiteral("本程式會修改電腦閱卷系統與校務行政系統的資料, "
                                                   "執行匯入或匯出前請先備份資料庫。"));

    auto* ok = new QPushButton(QStringLiteral("確定"), this);
    ok->setObjectName(QStringLiteral("cmdOK"));
    ok->setDefault(true);
    auto* sysInfo = new QPushButton(QStringLiteral("系統資訊(&S)..."), this);
    sysInfo->setObjectName(QStringLiteral("cmdSysInfo"));
    auto* site = new QPushButton(QStringLiteral("客服網站"), this);
    site->setObjectName(QStringLiteral("Command1"));

    auto* text = new QVBoxLayout;
    text->addWidget(title);
    text->addWidget(version);
    text->addSpacing(8);
    text->addWidget(description);
    text->addWidget(descriptionText);
    text->addSpacing(8);
    text->addWidget(support);
    text->addWidget(web);
    auto* top = new QHBoxLayout;
    top->addWidget(icon);
    top->addLayout(text, 1);

    auto* buttons = new QVBoxLayout;
    buttons->addWidget(ok);
    buttons->addWidget(sysInfo);
    buttons->addWidget(site);
    buttons->addStretch();
    auto* bottom = new QHBoxLayout;
    auto* warning = new QHBoxLayout;
    warning->addWidget(disclaimer, 0, Qt::AlignTop);
    warning->addWidget(disclaimerText, 1);
    bottom->addLayout(warning, 1);
    bottom->addLayout(buttons);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addSpacing(12);
    layout->addLayout(bottom);
    setMinimumWidth(520);

    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(sysInfo, &QPushButton::clicked, this, [this] { StartSysInfo(this); });
    connect(site, &QPushButton::clicked, this, &AboutDialog::openSupportSite);
    makeFixedDialog(this);
}

void AboutDialog::openSupportSite() {
    // Without a browser the address is shown instead, so the user can copy it.
    if (QDesktopServices::openUrl(supportAddress())) return;
    MessageBox::show(
        this, appTitle(),
        QStringLiteral("無法開啟瀏覽器，請自行前往客服網站: %1").arg(supportAddress().toString()),
        MessageBox::Icon::Information);
}

}  // namespace korvex
