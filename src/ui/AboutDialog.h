#pragma once

#include <QDialog>
#include <QUrl>

namespace korvex {

// The About dialog: the program's title and version, the support contacts,
// the system information tool and the support web site.
class AboutDialog : public QDialog {
    Q_OBJECT
public:
    explicit AboutDialog(QWidget* parent = nullptr);

    // The support web site the 客服網站 button opens.
    static QUrl supportAddress();

private:
    void openSupportSite();
};

}  // namespace korvex
