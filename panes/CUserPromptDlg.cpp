#include "panes/CUserPromptDlg.h"

#include "platform/DialogItems.h"
#include "platform/StringTable.h"
#include "platform/WinTypes.h"
#include "platform/ui/DialogBoxFrame.h"
#include "res/resource.h"
#include "ui_UserPromptDlg.h"

#include <QLineEdit>
#include <QProxyStyle>
#include <QPushButton>

namespace {
// The application's style with a text cursor of no width: an edit drawn with it shows no caret.
class CaretlessStyle : public QProxyStyle {
public:
    int pixelMetric(PixelMetric metric, const QStyleOption* option, const QWidget* widget) const override {
        if (metric == PM_TextCursorWidth)
            return 0;
        return QProxyStyle::pixelMetric(metric, option, widget);
    }
};
} // namespace

CUserPromptDlg::CUserPromptDlg(const QString& editText, const QFont& editFont, bool readOnly, bool showOk,
                               bool showCancel, QWidget* parent)
    : QDialog(parent), m_strCaption(platform::LoadString(IDS_PASSKEY_CAPTION)),
      m_strPrompt(platform::LoadString(IDS_PASSKEY_PROMPT)), m_strEditText(editText), m_font(editFont),
      m_bReadOnly(readOnly), m_bShowOk(showOk), m_bShowCancel(showCancel) {
    Ui::UserPromptDlg ui;
    ui.setupUi(this);
    platform::setDialogBoxFrame(*this);
    m_edit = ui.codeEdit;
    m_ok = ui.okButton;
    m_cancel = ui.cancelButton;
    connect(m_ok, &QPushButton::clicked, this, &CUserPromptDlg::OnOK);
    connect(m_cancel, &QPushButton::clicked, this, &CUserPromptDlg::OnBnClickedCancel);
    OnInitDialog();
}

CUserPromptDlg::~CUserPromptDlg() {
    // The edit outlives this member: give it back the application's style first.
    if (m_caretlessStyle)
        m_edit->setStyle(nullptr);
}

void CUserPromptDlg::OnInitDialog() {
    setWindowTitle(m_strCaption);
    platform::SetDlgItemText(this, IDC_PROMPT_TEXT, m_strPrompt);
    m_edit->setReadOnly(m_bReadOnly);
    m_edit->setFont(m_font);
    m_edit->setText(m_strEditText);
    m_ok->setHidden(!m_bShowOk);
    m_cancel->setHidden(!m_bShowCancel);
}

void CUserPromptDlg::OnOK() {
    if (m_hooks.forgetPrompt)
        m_hooks.forgetPrompt();
    if (m_hooks.endModalState)
        m_hooks.endModalState();
    done(IDOK);
}

void CUserPromptDlg::OnBnClickedCancel() {
    if (m_hooks.endModalState)
        m_hooks.endModalState();
    if (m_hooks.forgetPrompt)
        m_hooks.forgetPrompt();
    done(IDCANCEL);
}

void CUserPromptDlg::accept() {
    OnOK();
}

// Esc and the window's close button end the prompt as Cancel does.
void CUserPromptDlg::reject() {
    OnBnClickedCancel();
}

void CUserPromptDlg::paintEvent(QPaintEvent* event) {
    QDialog::paintEvent(event);
    if (!m_bFirstPaint)
        return;
    m_bFirstPaint = false;
    // The code is for reading: no selection and no caret (the edit keeps the caret's place in view).
    m_edit->deselect();
    HideEditCaret();
}

void CUserPromptDlg::HideEditCaret() {
    m_caretlessStyle = std::make_unique<CaretlessStyle>();
    m_edit->setStyle(m_caretlessStyle.get());
}
