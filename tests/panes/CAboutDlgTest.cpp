#include "panes/CAboutDlg.h"

#include "platform/DialogItems.h"
#include "res/resource.h"
#include "support/RecordingLinkOpener.h"

#include <QLabel>
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

} // namespace
