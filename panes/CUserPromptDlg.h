// The user prompt: a caption, a prompt text and a code in a large font, with OK and Cancel.
#pragma once

#include <QDialog>
#include <QFont>
#include <QString>
#include <functional>
#include <memory>

class QLineEdit;
class QPushButton;
class QStyle;

// Shown modally (exec) while the host library waits for the user to type the passkey on the peer.
// The dialog ends with IDOK (OnOK) or IDCANCEL (OnBnClickedCancel: the Cancel button, Esc, the
// window's close button, or the owner closing the prompt). Either way it first tells its owner,
// through the hooks, to end the owner's modal state and to forget its pointer to the dialog.
class CUserPromptDlg : public QDialog {
    Q_OBJECT
public:
    // What the dialog asks of its owner when it ends; an unset hook is skipped.
    struct OwnerHooks {
        std::function<void()> endModalState;
        std::function<void()> forgetPrompt;
    };

    CUserPromptDlg(const QString& editText, const QFont& editFont, bool readOnly, bool showOk,
                   bool showCancel, QWidget* parent);
    ~CUserPromptDlg() override;

    void SetOwnerHooks(OwnerHooks hooks) { m_hooks = std::move(hooks); }

    // End with IDOK: the owner forgets the prompt, then its modal state ends.
    void OnOK();
    // End with IDCANCEL: the owner's modal state ends, then it forgets the prompt.
    void OnBnClickedCancel();
    // QDialog's ends, as OnOK and OnBnClickedCancel: an owner that holds a QDialog* closes the prompt.
    void accept() override;
    void reject() override;

    QString Caption() const { return m_strCaption; }
    QString PromptText() const { return m_strPrompt; }
    QLineEdit* Edit() const { return m_edit; }
    QPushButton* OkButton() const { return m_ok; }
    QPushButton* CancelButton() const { return m_cancel; }
    // True until the first paint has removed the edit's selection and hidden its caret.
    bool IsFirstPaintPending() const { return m_bFirstPaint; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void OnInitDialog();
    void HideEditCaret();

    QString m_strCaption;
    QString m_strPrompt;
    QString m_strEditText;
    QFont m_font;
    bool m_bReadOnly;
    bool m_bShowOk;
    bool m_bShowCancel;
    bool m_bFirstPaint = true;
    OwnerHooks m_hooks;
    QLineEdit* m_edit = nullptr;
    QPushButton* m_ok = nullptr;
    QPushButton* m_cancel = nullptr;
    std::unique_ptr<QStyle> m_caretlessStyle; // the edit's style once its caret is hidden
};
