// The log: a modeless window showing the lines on request, and a file receiving every line.
#pragma once

#include <QDateTime>
#include <QDialog>
#include <QFile>
#include <QString>
#include <functional>

class QPlainTextEdit;

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

private:
    QString Stamp(const QDateTime& time) const;

    QPlainTextEdit* m_edit = nullptr;
    QString m_windowText;
    QFile m_file;
};
