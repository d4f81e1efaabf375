#include <gtest/gtest.h>
#include <QDesktopServices>
#include <QLabel>
#include <QPushButton>
#include <QUrl>

#include "core/AppInfo.h"
#include "ui/AboutDialog.h"
#include "ui/MessageBox.h"
#include "ui/SystemInfo.h"

using namespace korvex;

namespace {

class UrlCatcher : public QObject {
    Q_OBJECT
public:
    QList<QUrl> opened;
public slots:
    void open(const QUrl& url) { opened << url; }
};

}  // namespace

TEST(AboutDialog, ShowsTitleVersionAndButtons) {
    AboutDialog about;
    EXPECT_EQ(about.objectName(), QStringLiteral("frmAbout"));
    EXPECT_EQ(about.windowTitle(), QStringLiteral("關於 KORVEX小幫手Zamo高中版"));
    EXPECT_EQ(about.findChild<QLabel*>("lblTitle")->text(),
              QStringLiteral("KORVEX小幫手Zamo高中版"));
    EXPECT_EQ(about.findChild<QLabel*>("lblVersion")->text(), QStringLiteral("版本 1.0.0"));
    EXPECT_EQ(about.findChild<QLabel*>("lblDescription")->text(), QStringLiteral("應用程式說明"));
    EXPECT_EQ(about.findChild<QLabel*>("lblDisclaimer")->text(), QStringLiteral("警告: "));
    EXPECT_EQ(about.findChild<QPushButton*>("cmdOK")->text(), QStringLiteral("確定"));
    EXPECT_EQ(about.findChild<QPushButton*>("cmdSysInfo")->text(),
              QStringLiteral("系統資訊(&S)..."));
    EXPECT_EQ(about.findChild<QPushButton*>("Command1")->text(), QStringLiteral("客服網站"));
    // The address the web button opens is shown in the dialog.
    bool addressShown = false;
    for (QLabel* label : about.findChildren<QLabel*>())
        addressShown |= label->text().contains(AboutDialog::supportAddress().toString());
    EXPECT_TRUE(addressShown);
}

TEST(AboutDialog, SystemInformationIsUnavailableWithoutARegistry) {
    QString value = QStringLiteral("stale");
    EXPECT_FALSE(GetKeyValue(QStringLiteral("SOFTWARE\\Microsoft\\Shared Tools\\MSINFO"),
                             QStringLiteral("PATH"), value));
    EXPECT_TRUE(value.isEmpty());
    EXPECT_TRUE(findSystemInfoTool([](const QString&) { return true; }).isEmpty());

    MessageBox::Script boxes;
    AboutDialog about;
    about.show();
    about.findChild<QPushButton*>("cmdSysInfo")->click();
    ASSERT_EQ(boxes.shown().size(), 1);
    EXPECT_EQ(boxes.shown().first().text, QStringLiteral("目前無法提供系統資訊"));
    EXPECT_EQ(boxes.shown().first().title, appTitle());
    EXPECT_EQ(boxes.shown().first().icon, MainWindowInterface::Icon::Information);
    EXPECT_TRUE(about.isVisible());
}

TEST(AboutDialog, WebButtonOpensTheSupportSiteOrSaysWhereItIs) {
    MessageBox::Script boxes;
    AboutDialog about;
    about.show();

    // No browser on this screen: the address is given in a box, nothing ends.
    about.findChild<QPushButton*>("Command1")->click();
    ASSERT_EQ(boxes.shown().size(), 1);
    EXPECT_TRUE(boxes.shown().first().text.contains(AboutDialog::supportAddress().toString()));
    EXPECT_TRUE(about.isVisible());

    UrlCatcher catcher;
    QDesktopServices::setUrlHandler(AboutDialog::supportAddress().scheme(), &catcher, "open");
    about.findChild<QPushButton*>("Command1")->click();
    QDesktopServices::unsetUrlHandler(AboutDialog::supportAddress().scheme());
    EXPECT_EQ(catcher.opened, QList<QUrl>{AboutDialog::supportAddress()});
    EXPECT_EQ(boxes.shown().size(), 1);
    EXPECT_TRUE(about.isVisible());

    about.findChild<QPushButton*>("cmdOK")->click();
    EXPECT_FALSE(about.isVisible());
}

#include "AboutTest.moc"
