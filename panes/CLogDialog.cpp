#include "panes/CLogDialog.h"

#include "gatt/ValueText.h"
#include "platform/DialogItems.h"
#include "platform/ui/DialogBoxFrame.h"
#include "res/resource.h"
#include "ui_LogDialog.h"

#include <QDir>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <cstdio>
#include <utility>

namespace {
CLogDialog::Clock g_clock;

QDateTime Now() {
    return g_clock ? g_clock() : QDateTime::currentDateTime();
}
} // namespace

CLogDialog::CLogDialog(QWidget* parent, const QString& directory) : QDialog(parent) {
    Ui::LogDialog ui;
    ui.setupUi(this);
    platform::setDialogBoxFrame(*this);
    m_edit = qobject_cast<QPlainTextEdit*>(platform::GetDlgItem(this, IDC_LOG_EDIT));
    connect(ui.okButton, &QPushButton::clicked, this, &QDialog::hide);

    const QString name = Now().toString(QStringLiteral("ddMMyyHHmmss")) + QStringLiteral("Tindrel.log");
    const QDir dir(directory.isEmpty() ? QDir::currentPath() : directory);
    m_file.setFileName(dir.filePath(name));
    if (!m_file.open(QIODevice::WriteOnly | QIODevice::Append))
        std::fprintf(stderr, "tindrel: cannot open the log file %s: %s; logging to the window only\n",
                     qPrintable(m_file.fileName()), qPrintable(m_file.errorString()));
}

CLogDialog::~CLogDialog() = default;

void CLogDialog::SetClock(Clock clock) {
    g_clock = std::move(clock);
}

QString CLogDialog::Stamp(const QDateTime& time) const {
    const QDate d = time.date();
    const QTime t = time.time();
    return QString::asprintf("[%02d.%02d.%04d %02d:%02d:%02d:%03d] ", d.day(), d.month(), d.year(), t.hour(),
                             t.minute(), t.second(), t.msec());
}

void CLogDialog::AddLogLine(const QString& text, bool show) {
    if (m_windowText.size() > kMaxWindowCharacters) {
        m_windowText.clear();
        m_editPending.clear();
        m_editCleared = true;
    }
    const QString stamp = Stamp(Now());
    if (show) {
        m_windowText += stamp + text + QStringLiteral("\r\n");
        m_editPending += stamp + QString(text).replace(QStringLiteral("\r\n"), QStringLiteral("\n")) +
                         QStringLiteral("\n");
    }
    if ((show || m_editCleared) && isVisible() && !m_flushQueued) {
        m_flushQueued = true;
        QMetaObject::invokeMethod(this, &CLogDialog::FlushToEdit, Qt::QueuedConnection);
    }
    if (m_file.isOpen()) {
        m_file.write((stamp + QStringLiteral(":") + text + QStringLiteral("\r\n")).toUtf8());
        m_file.flush();
    }
}

void CLogDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    FlushToEdit();
}

void CLogDialog::FlushToEdit() {
    m_flushQueued = false;
    if (std::exchange(m_editCleared, false))
        m_edit->clear();
    if (m_editPending.isEmpty())
        return;
    m_edit->moveCursor(QTextCursor::End);
    m_edit->insertPlainText(std::exchange(m_editPending, QString()));
    m_edit->verticalScrollBar()->setValue(m_edit->verticalScrollBar()->maximum());
}

void CLogDialog::AddHexDump(const QString& prefix, const uint8_t* data, uint16_t length) {
    AddLogLine(prefix + BytesToHexString(data, length, QStringLiteral(" "), false) + QStringLiteral("\r\n"),
               true);
}
