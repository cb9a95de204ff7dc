#include "panes/CAboutDlg.h"

#include "platform/LinkOpener.h"
#include "platform/ui/DialogBoxFrame.h"
#include "platform/ui/Icons.h"
#include "res/resource.h"
#include "ui_AboutDlg.h"

CAboutDlg::CAboutDlg(QWidget* parent) : QDialog(parent) {
    Ui::AboutDlg ui;
    ui.setupUi(this);
    platform::setDialogBoxFrame(*this);
    ui.picture->setPixmap(platform::loadIcon(IDI_ABOUT_PICTURE).pixmap(48, 48));
    connect(ui.link, &QLabel::linkActivated, this, &CAboutDlg::OnLinkClicked);
    connect(ui.okButton, &QPushButton::clicked, this, &QDialog::accept);
}

void CAboutDlg::OnLinkClicked(const QString& url) {
    platform::openLink(url);
}
