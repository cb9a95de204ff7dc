// The progress window: a title, a text, a marquee and a "Stop" button that cancels the operation.
#pragma once

#include <QDialog>
#include <functional>

class QPushButton;

class CConnectProgressDlg : public QDialog {
    Q_OBJECT
public:
    explicit CConnectProgressDlg(QWidget* parent);

    void SetText(const QString& text);
    QString Text() const;
    // With no-cancel set, "Stop" is disabled.
    void SetNoCancel(bool noCancel);
    bool NoCancel() const { return m_bNoCancel; }
    bool IsStopEnabled() const;
    // What "Stop" (and Esc) does; the dialog itself stays open.
    void SetCancelHandler(std::function<void()> handler) { m_onCancel = std::move(handler); }
    void OnCancel();

protected:
    void reject() override;

private:
    QPushButton* m_stop = nullptr;
    bool m_bNoCancel = false;
    std::function<void()> m_onCancel;
};
