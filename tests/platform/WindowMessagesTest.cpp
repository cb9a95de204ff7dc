#include "platform/WindowMessages.h"

#include <QCoreApplication>
#include <gtest/gtest.h>
#include <tuple>

namespace platform {
namespace {

using Message = std::tuple<UINT, WPARAM, LPARAM>;

// A window whose handler records what it receives.
struct RecordingWindow {
    QObject target;
    std::vector<Message> received;
    std::unique_ptr<MessageWindow> window =
        std::make_unique<MessageWindow>(&target, [this](UINT m, WPARAM w, LPARAM l) {
            received.emplace_back(m, w, l);
            return LRESULT(m + w + l);
        });

    HWND handle() const { return window->handle(); }
    void deliver() { QCoreApplication::sendPostedEvents(&target); }
};

TEST(WindowMessagesTest, PostedMessagesArriveInOrderFromTheEventLoopSentOnesAtOnce) {
    RecordingWindow w;
    ASSERT_TRUE(PostMessage(w.handle(), 0xC100, 1, -1));
    ASSERT_TRUE(PostMessage(w.handle(), 0xC101, 2, -2));
    QCoreApplication::postEvent(&w.target, new QEvent(QEvent::User)); // other events pass through
    EXPECT_TRUE(w.received.empty());
    EXPECT_EQ(SendMessage(w.handle(), 0x10, 2, 3), 0x15);

    w.deliver();
    EXPECT_EQ(w.received, (std::vector<Message>{{0x10, 2, 3}, {0xC100, 1, -1}, {0xC101, 2, -2}}));
}

TEST(WindowMessagesTest, HandlesThatAreNullUnknownOrGoneTakeNothingAndTheirQueueIsDropped) {
    RecordingWindow gone;
    const HWND windowHandle = gone.handle();
    ASSERT_TRUE(PostMessage(windowHandle, 0xC100, 1, 0));
    gone.window.reset();
    auto target = std::make_unique<QObject>();
    MessageWindow orphan(target.get(), [](UINT, WPARAM, LPARAM) { return LRESULT(1); });
    const HWND targetHandle = orphan.handle();
    target.reset();
    std::vector<Message> later; // a new window on the same target never gets the old one's messages
    MessageWindow replacement(&gone.target, [&](UINT m, WPARAM wp, LPARAM lp) {
        later.emplace_back(m, wp, lp);
        return LRESULT(0);
    });

    for (HWND handle : {HWND(nullptr), reinterpret_cast<HWND>(0x7), windowHandle, targetHandle}) {
        EXPECT_FALSE(PostMessage(handle, 0xC100, 0, 0));
        EXPECT_EQ(SendMessage(handle, 0x10, 2, 3), 0);
        EXPECT_NE(replacement.handle(), handle); // handles are never reused
    }
    ASSERT_TRUE(PostMessage(replacement.handle(), 0xC101, 2, 0));
    gone.deliver();
    EXPECT_EQ(later, (std::vector<Message>{{0xC101, 2, 0}}));
    EXPECT_TRUE(gone.received.empty());
}

TEST(WindowMessagesTest, HandlerMayDestroyItsWindowAndTheRestOfItsQueueIsDropped) {
    QObject target;
    std::unique_ptr<MessageWindow> window;
    auto calls = std::make_shared<int>(0);
    const auto makeWindow = [&] {
        window = std::make_unique<MessageWindow>(&target, [&window, calls](UINT, WPARAM, LPARAM) {
            window.reset();
            return LRESULT(++*calls); // the captures outlive the window
        });
    };
    makeWindow();
    EXPECT_EQ(SendMessage(window->handle(), 0x10, 0, 0), 1);
    makeWindow();
    const HWND handle = window->handle();
    ASSERT_TRUE(PostMessage(handle, 0xC100, 0, 0));
    ASSERT_TRUE(PostMessage(handle, 0xC101, 0, 0));
    QCoreApplication::sendPostedEvents(&target);
    EXPECT_EQ(*calls, 2);
}

} // namespace
} // namespace platform
