#include "panes/CConnectProgressDlg.h"

#include "platform/DialogItems.h"
#include "platform/ui/DialogBoxFrame.h"
#include "res/resource.h"
#include "ui_ConnectProgressDlg.h"

#include <QPushButton>

CConnectProgressDlg::CConnectProgressDlg(QWidget* parent) : QDialog(parent) {
    Ui::ConnectProgressDlg ui;
    ui.setupUi(this);
    // The close button, like Esc, is "Stop".
    platform::setDialogBoxFrame(*this);
    m_stop = ui.stopButton;
    connect(m_stop, &QPushButton::clicked, this, &CConnectProgressDlg::OnCancel);
}

void CConnectProgressDlg::SetText(const QString& text) {
    platform::SetDlgItemText(this, IDC_PROGRESS_TEXT, text);
}

QString CConnectProgressDlg::Text() const {
    return platform::GetDlgItemText(this, IDC_PROGRESS_TEXT);
}

void CConnectProgressDlg::SetNoCancel(bool noCancel) {
    m_bNoCancel = noCancel;
    m_stop->setEnabled(!noCancel);
}

bool CConnectProgressDlg::IsStopEnabled() const {
    return m_stop->isEnabled();
}

void CConnectProgressDlg::OnCancel() {
    if (m_bNoCancel)
        return;
    if (m_onCancel)
        m_onCancel();
}

void CConnectProgressDlg::reject() {
    OnCancel();
}
