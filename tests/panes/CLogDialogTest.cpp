// The log window and the log file: stamps, formats, the window's limit, hex dumps, the file's name.
#include "panes/CLogDialog.h"
#include "support/AppFixture.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QPlainTextEdit>

namespace {

class CLogDialogTest : public AppFixture {
protected:
    void SetUp() override {
        AppFixture::SetUp();
        CLogDialog::SetClock([] { return QDateTime(QDate(2026, 3, 7), QTime(9, 5, 4, 32)); });
    }
    static QString FileText(const CLogDialog& log) {
        QFile file(log.FilePath());
        EXPECT_TRUE(file.open(QIODevice::ReadOnly));
        return QString::fromUtf8(file.readAll());
    }
};

TEST_F(CLogDialogTest, LinesCarryTheStampInTheWindowAndTheFileNamedFromTheStartTime) {
    {
        CLogDialog earlier; // a restart within the same second keeps its lines
        earlier.AddLogLine("first run", true);
    }
    CLogDialog log;
    log.AddLogLine("Reading 25", true);
    log.AddLogLine("quiet", false);
    const uint8_t bytes[] = {0x01, 0xA0, 0xFF};
    log.AddHexDump("Received HID report ", bytes, 3);

    EXPECT_EQ(log.FilePath(), QDir::current().absoluteFilePath("070326090504Tindrel.log"));
    EXPECT_EQ(log.WindowText(), "[07.03.2026 09:05:04:032] Reading 25\r\n"
                                "[07.03.2026 09:05:04:032] Received HID report 01 A0 FF \r\n\r\n");
    EXPECT_EQ(FileText(log), "[07.03.2026 09:05:04:032] :first run\r\n"
                             "[07.03.2026 09:05:04:032] :Reading 25\r\n"
                             "[07.03.2026 09:05:04:032] :quiet\r\n"
                             "[07.03.2026 09:05:04:032] :Received HID report 01 A0 FF \r\n\r\n");
}

TEST_F(CLogDialogTest, WindowIsEmptiedOncePastTenThousandCharactersTheFileKeepsAll) {
    CLogDialog log;
    const QString filler(9970, QLatin1Char('x'));
    log.AddLogLine(filler, true); // 26 + 9970 + 2 = 9998 characters
    log.AddLogLine("a", true);    // 10027: past the limit, not emptied before it was added
    ASSERT_GT(log.WindowText().size(), CLogDialog::kMaxWindowCharacters);
    log.AddLogLine("last", false); // emptied whatever show says
    EXPECT_TRUE(log.WindowText().isEmpty());
    log.AddLogLine("only", true);
    EXPECT_EQ(log.WindowText(), "[07.03.2026 09:05:04:032] only\r\n");
    EXPECT_TRUE(FileText(log).contains(filler + "\r\n"));
    EXPECT_TRUE(FileText(log).endsWith(":last\r\n[07.03.2026 09:05:04:032] :only\r\n"));
}

// The edit takes the lines in one go per pass of the event loop, and those that came while hidden
// when it is shown; emptying reaches it the same way.
TEST_F(CLogDialogTest, TheEditShowsEveryLineOnceShownAndWhileShown) {
    CLogDialog log;
    auto* edit = log.findChild<QPlainTextEdit*>();
    log.AddLogLine(QStringLiteral("one\r\ntwo"), true);
    log.show();
    EXPECT_EQ(edit->toPlainText(), QStringLiteral("[07.03.2026 09:05:04:032] one\ntwo\n"));
    log.AddLogLine(QString(CLogDialog::kMaxWindowCharacters, QLatin1Char('x')), true);
    log.AddLogLine(QStringLiteral("three"), true);
    QCoreApplication::processEvents();
    EXPECT_EQ(edit->toPlainText(), QStringLiteral("[07.03.2026 09:05:04:032] three\n"));
}

TEST_F(CLogDialogTest, UnwritableDirectoryLeavesTheWindowLogWorking) {
    CLogDialog log(nullptr, m_dir->filePath("missing/dir"));
    log.AddLogLine("still shown", true);
    EXPECT_FALSE(log.HasFile());
    EXPECT_TRUE(log.WindowText().endsWith("still shown\r\n"));
}

} // namespace
