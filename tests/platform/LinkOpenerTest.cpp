#include "platform/LinkOpener.h"

#include <gtest/gtest.h>

namespace platform {
namespace {

TEST(LinkOpener, RecordingFakeTakesTheLinksAndAnswersAsTold) {
    RecordingLinkOpener links;
    EXPECT_TRUE(openLink("https://www.example.org/profiles?id=7"));
    links.result = false;
    EXPECT_FALSE(openLink("mailto:support@example.org"));
    ASSERT_EQ(links.opened.size(), 2u);
    EXPECT_EQ(links.opened[0], QUrl("https://www.example.org/profiles?id=7"));
    EXPECT_EQ(links.opened[1].scheme(), "mailto");
}

TEST(LinkOpener, TextThatIsNotAnAbsoluteLinkIsNotOpened) {
    RecordingLinkOpener links;
    for (const char* text : {"", "profiles/heart-rate", "http://exa mple.org/"}) {
        SCOPED_TRACE(text);
        EXPECT_FALSE(openLink(text));
    }
    EXPECT_TRUE(links.opened.empty());
}

TEST(LinkOpener, InstalledFunctionOpensTheLinks) {
    QUrl seen;
    setLinkOpener([&](const QUrl& url) {
        seen = url;
        return true;
    });
    EXPECT_TRUE(openLink("https://www.example.org/"));
    setLinkOpener(nullptr);
    EXPECT_EQ(seen, QUrl("https://www.example.org/"));
}

TEST(LinkOpener, FakeGoneMeansLinksNoLongerReachIt) {
    std::vector<QUrl> seen;
    setLinkOpener([&](const QUrl& url) {
        seen.push_back(url);
        return true;
    });
    {
        RecordingLinkOpener links;
        openLink("https://www.example.org/a");
        EXPECT_EQ(links.opened.size(), 1u);
    }
    EXPECT_TRUE(seen.empty());
}

} // namespace
} // namespace platform
