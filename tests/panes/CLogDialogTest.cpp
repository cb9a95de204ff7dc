// The log window and the log file: stamps, formats, the window's limit, hex dumps, the file's name.
#include "panes/CLogDialog.h"
#include "support/AppFixture.h"

#include <QDir>
#include <QFile>

namespace {

class CLogDialogTest : public AppFixture {
protected:
    void SetUp() override {
        AppFixture::SetUp();
        CLogDialog::SetClock([this] { return m_now; });
    }
    QString FileText(const CLogDialog& log) const {
        QFile file(log.FilePath());
        EXPECT_TRUE(file.open(QIODevice::ReadOnly));
        return QString::fromUtf8(file.readAll());
    }
    QDateTime m_now{QDate(2026, 3, 7), QTime(9, 5, 4, 32)};
};

TEST_F(CLogDialogTest, FileIsNamedFromTheStartTimeInTheWorkingDirectory) {
    CLogDialog log;
    EXPECT_TRUE(log.HasFile());
    EXPECT_EQ(QFileInfo(log.FilePath()).fileName(), QStringLiteral("070326090504Tindrel.log"));
    EXPECT_EQ(QFileInfo(log.FilePath()).absolutePath(), QDir::current().absolutePath());
}

TEST_F(CLogDialogTest, WindowAndFileLinesCarryTheStampTheFileWithAColon) {
    CLogDialog log;
    log.AddLogLine(QStringLiteral("Reading 25"), true);
    EXPECT_EQ(log.WindowText(), QStringLiteral("[07.03.2026 09:05:04:032] Reading 25\r\n"));
    EXPECT_EQ(FileText(log), QStringLiteral("[07.03.2026 09:05:04:032] :Reading 25\r\n"));
}

TEST_F(CLogDialogTest, HiddenLinesGoToTheFileOnly) {
    CLogDialog log;
    log.AddLogLine(QStringLiteral("quiet"), false);
    EXPECT_TRUE(log.WindowText().isEmpty());
    EXPECT_TRUE(FileText(log).contains(QStringLiteral(":quiet\r\n")));
}

TEST_F(CLogDialogTest, WindowIsEmptiedOncePastTenThousandCharactersTheFileKeepsAll) {
    CLogDialog log;
    const QString filler(9970, QLatin1Char('x'));
    log.AddLogLine(filler, true);              // 26 + 9970 + 2 = 9998 characters
    log.AddLogLine(QStringLiteral("a"), true); // 10027: past the limit, not emptied before it was added
    ASSERT_GT(log.WindowText().size(), CLogDialog::kMaxWindowCharacters);
    log.AddLogLine(QStringLiteral("last"), false); // emptied whatever show says
    EXPECT_TRUE(log.WindowText().isEmpty());
    log.AddLogLine(QStringLiteral("only"), true);
    EXPECT_EQ(log.WindowText(), QStringLiteral("[07.03.2026 09:05:04:032] only\r\n"));
    const QString file = FileText(log);
    EXPECT_TRUE(file.contains(filler));
    EXPECT_TRUE(file.contains(QStringLiteral(":last\r\n")));
    EXPECT_TRUE(file.contains(QStringLiteral(":only\r\n")));
}

TEST_F(CLogDialogTest, HexDumpEndsWithAnEmptyLine) {
    CLogDialog log;
    const uint8_t bytes[] = {0x01, 0xA0, 0xFF};
    log.AddHexDump(QStringLiteral("Received HID report "), bytes, 3);
    EXPECT_EQ(log.WindowText(),
              QStringLiteral("[07.03.2026 09:05:04:032] Received HID report 01 A0 FF \r\n\r\n"));
}

TEST_F(CLogDialogTest, ARestartWithinTheSameSecondKeepsTheEarlierLines) {
    {
        CLogDialog first;
        first.AddLogLine(QStringLiteral("first run"), true);
    }
    CLogDialog second;
    second.AddLogLine(QStringLiteral("second run"), true);
    const QString file = FileText(second);
    EXPECT_TRUE(file.contains(QStringLiteral(":first run\r\n")));
    EXPECT_TRUE(file.contains(QStringLiteral(":second run\r\n")));
}

TEST_F(CLogDialogTest, UnwritableDirectoryLeavesTheWindowLogWorking) {
    CLogDialog log(nullptr, m_dir->filePath(QStringLiteral("missing/dir")));
    EXPECT_FALSE(log.HasFile());
    log.AddLogLine(QStringLiteral("still shown"), true);
    EXPECT_TRUE(log.WindowText().endsWith(QStringLiteral("still shown\r\n")));
}

} // namespace
