#include "panes/CAboutDlg.h"

#include "panes/CConnectProgressDlg.h"
#include "panes/CLogDialog.h"
#include "panes/CUserPromptDlg.h"
#include "platform/DialogItems.h"
#include "res/resource.h"
#include "support/RecordingLinkOpener.h"

#include <QCoreApplication>
#include <QLabel>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

TEST(CAboutDlgTest, ClickingTheLinkOpensItsAddress) {
    RecordingLinkOpener links;
    CAboutDlg about;
    auto* link = qobject_cast<QLabel*>(platform::GetDlgItem(&about, IDC_ABOUT_LINK));
    ASSERT_NE(link, nullptr);
    emit link->linkActivated("https://www.example.org/tindrel");
    EXPECT_EQ(links.opened, std::vector<QUrl>{QUrl("https://www.example.org/tindrel")});
}

// Every dialog of the panes: a box with a caption and a close button only, at the size it opens with.
// Minimised while modeless it stays so (a modal box comes back: the message box's test).
TEST(DialogBoxTest, EveryDialogHasOnlyACloseButtonAndKeepsTheSizeItOpensWith) {
    const QTemporaryDir logs;
    std::unique_ptr<QDialog> dialogs[] = {
        std::make_unique<CAboutDlg>(), std::make_unique<CConnectProgressDlg>(nullptr),
        std::make_unique<CUserPromptDlg>("123456", QFont(), true, false, true, nullptr),
        std::make_unique<CLogDialog>(nullptr, logs.path())};
    for (const auto& dialog : dialogs) {
        SCOPED_TRACE(dialog->metaObject()->className());
        dialog->show();
        EXPECT_EQ(dialog->windowFlags() & ~Qt::WindowType_Mask,
                  Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
        EXPECT_EQ(dialog->minimumSize(), dialog->maximumSize());
    }
    dialogs[0]->showMinimized();
    QCoreApplication::processEvents();
    EXPECT_TRUE(dialogs[0]->isMinimized());
}

} // namespace
