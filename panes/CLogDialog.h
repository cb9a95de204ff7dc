// The log: a modeless window showing the lines on request, and a file receiving every line.
#pragma once

#include <QDateTime>
#include <QDialog>
#include <QFile>
#include <QString>
#include <functional>

class QPlainTextEdit;
class QShowEvent;

class CLogDialog : public QDialog {
    Q_OBJECT
public:
    using Clock = std::function<QDateTime()>;

    // The window holds at most this many characters before it is emptied.
    static constexpr int kMaxWindowCharacters = 10000;

    // Opens (for appending) "%d%m%y%H%M%STindrel.log", named from the local time now, in directory
    // (the working directory when empty). When the file cannot be opened the log goes to the window only.
    explicit CLogDialog(QWidget* parent = nullptr, const QString& directory = QString());
    ~CLogDialog() override;

    // Replaces the local-time source of every log dialog created afterwards (tests); empty restores it.
    static void SetClock(Clock clock);

    void AddLogLine(const QString& text, bool show);
    void AddHexDump(const QString& prefix, const uint8_t* data, uint16_t length);

    // The window's text as lines are added ("\r\n" after each line).
    const QString& WindowText() const { return m_windowText; }
    QString FilePath() const { return m_file.fileName(); }
    bool HasFile() const { return m_file.isOpen(); }

protected:
    void showEvent(QShowEvent* event) override;

private:
    QString Stamp(const QDateTime& time) const;
    // Brings the edit up to the window's text: the lines added since, in one insertion.
    void FlushToEdit();

    QPlainTextEdit* m_edit = nullptr;
    QString m_windowText;
    // The edit follows the window's text once per pass of the event loop while the window is shown,
    // and when it is shown: a stream of lines costs one insertion per pass, not one per line.
    QString m_editPending;      // lines not yet in the edit, in its own line breaks
    bool m_editCleared = false; // the edit is to be emptied before they go in
    bool m_flushQueued = false;
    QFile m_file;
};
