// The About box: the program's name and version, and a link to the maker's web page.
#pragma once

#include <QDialog>

class CAboutDlg : public QDialog {
    Q_OBJECT
public:
    explicit CAboutDlg(QWidget* parent = nullptr);

    // The link's click: opens the URL.
    void OnLinkClicked(const QString& url);
};
