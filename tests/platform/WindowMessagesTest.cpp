#include "platform/WindowMessages.h"

#include "veyrahost.h"
#include "veyrasim.h"

#include <QCoreApplication>
#include <QObject>
#include <atomic>
#include <gtest/gtest.h>
#include <memory>
#include <thread>
#include <tuple>
#include <vector>

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
            return LRESULT(0);
        });

    HWND handle() const { return window->handle(); }
    void deliver() { QCoreApplication::sendPostedEvents(&target); }
};

TEST(RegisterWindowMessage, SameNameGivesSameId) {
    const UINT first = RegisterWindowMessage("WindowMessagesTest.same");
    EXPECT_GE(first, 0xC000u);
    EXPECT_EQ(RegisterWindowMessage("WindowMessagesTest.same"), first);
}

TEST(RegisterWindowMessage, DifferentNamesGiveDifferentIds) {
    const UINT a = RegisterWindowMessage("WindowMessagesTest.a");
    const UINT b = RegisterWindowMessage("WindowMessagesTest.b");
    EXPECT_NE(a, b);
    EXPECT_GE(b, 0xC000u);
    EXPECT_LE(b, 0xFFFFu);
}

TEST(PostMessage, MessagesArriveInPostingOrderOnlyFromTheEventLoop) {
    RecordingWindow w;
    ASSERT_TRUE(PostMessage(w.handle(), 0xC100, 1, -1));
    ASSERT_TRUE(PostMessage(w.handle(), 0xC101, 2, -2));
    ASSERT_TRUE(PostMessage(w.handle(), 0xC102, 3, -3));
    EXPECT_TRUE(w.received.empty());

    w.deliver();
    const std::vector<Message> expected{{0xC100, 1, -1}, {0xC101, 2, -2}, {0xC102, 3, -3}};
    EXPECT_EQ(w.received, expected);
}

TEST(PostMessage, FailsForNullAndUnknownHandles) {
    EXPECT_FALSE(PostMessage(nullptr, 0xC100, 0, 0));
    EXPECT_FALSE(PostMessage(reinterpret_cast<HWND>(0x7), 0xC100, 0, 0));
}

TEST(PostMessage, FailsOnceTheWindowIsDestroyed) {
    RecordingWindow w;
    const HWND handle = w.handle();
    w.window.reset();
    EXPECT_FALSE(PostMessage(handle, 0xC100, 0, 0));
}

TEST(PostMessage, FailsOnceTheTargetIsDestroyed) {
    auto target = std::make_unique<QObject>();
    int calls = 0;
    MessageWindow window(target.get(), [&](UINT, WPARAM, LPARAM) { return LRESULT(++calls); });
    const HWND handle = window.handle();
    target.reset();
    EXPECT_FALSE(PostMessage(handle, 0xC100, 0, 0));
    EXPECT_EQ(SendMessage(handle, 0xC100, 0, 0), 0);
    EXPECT_EQ(calls, 0);
}

TEST(PostMessage, MessageQueuedWhenTheWindowGoesAwayIsDropped) {
    RecordingWindow w;
    ASSERT_TRUE(PostMessage(w.handle(), 0xC100, 0, 0));
    w.window.reset();
    w.deliver();
    EXPECT_TRUE(w.received.empty());
}

TEST(PostMessage, NewWindowOnTheSameTargetNeverGetsTheOldWindowsMessages) {
    RecordingWindow w;
    ASSERT_TRUE(PostMessage(w.handle(), 0xC100, 1, 0));
    w.window.reset();
    std::vector<Message> later;
    MessageWindow replacement(&w.target, [&](UINT m, WPARAM wp, LPARAM lp) {
        later.emplace_back(m, wp, lp);
        return LRESULT(0);
    });
    ASSERT_TRUE(PostMessage(replacement.handle(), 0xC101, 2, 0));
    w.deliver();
    EXPECT_EQ(later, (std::vector<Message>{{0xC101, 2, 0}}));
    EXPECT_TRUE(w.received.empty());
}

TEST(PostMessage, TwoWindowsOnOneTargetEachGetTheirOwnMessages) {
    RecordingWindow w;
    std::vector<Message> second;
    MessageWindow other(&w.target, [&](UINT m, WPARAM wp, LPARAM lp) {
        second.emplace_back(m, wp, lp);
        return LRESULT(0);
    });
    ASSERT_TRUE(PostMessage(w.handle(), 0xC100, 1, 0));
    ASSERT_TRUE(PostMessage(other.handle(), 0xC100, 2, 0));
    w.deliver();
    EXPECT_EQ(w.received, (std::vector<Message>{{0xC100, 1, 0}}));
    EXPECT_EQ(second, (std::vector<Message>{{0xC100, 2, 0}}));
}

TEST(PostMessage, HandlerThatDestroysItsWindowDropsTheRestOfTheQueue) {
    QObject target;
    std::unique_ptr<MessageWindow> window;
    int calls = 0;
    window = std::make_unique<MessageWindow>(&target, [&](UINT, WPARAM, LPARAM) {
        ++calls;
        window.reset();
        return LRESULT(0);
    });
    const HWND handle = window->handle();
    ASSERT_TRUE(PostMessage(handle, 0xC100, 0, 0));
    ASSERT_TRUE(PostMessage(handle, 0xC101, 0, 0));
    QCoreApplication::sendPostedEvents(&target);
    EXPECT_EQ(calls, 1);
}

TEST(PostMessage, HandlerKeepsItsCapturesAfterDestroyingItsWindow) {
    QObject target;
    std::unique_ptr<MessageWindow> window;
    auto calls = std::make_shared<int>(0);
    window = std::make_unique<MessageWindow>(&target, [&window, calls](UINT, WPARAM, LPARAM) {
        window.reset();
        return LRESULT(++*calls);
    });
    ASSERT_TRUE(PostMessage(window->handle(), 0xC100, 0, 0));
    QCoreApplication::sendPostedEvents(&target);
    EXPECT_EQ(*calls, 1);
}

TEST(SendMessage, HandlerMayDestroyItsWindow) {
    QObject target;
    std::unique_ptr<MessageWindow> window;
    auto calls = std::make_shared<int>(0);
    window = std::make_unique<MessageWindow>(&target, [&window, calls](UINT, WPARAM, LPARAM) {
        window.reset();
        return LRESULT(++*calls);
    });
    const HWND handle = window->handle();
    EXPECT_EQ(SendMessage(handle, 0x10, 0, 0), 1);
    EXPECT_EQ(SendMessage(handle, 0x10, 0, 0), 0);
}

TEST(PostMessage, PostsFromAnotherThreadArriveInOrder) {
    RecordingWindow w;
    constexpr int kCount = 2000;
    std::thread poster([handle = w.handle()] {
        for (int i = 0; i < kCount; ++i)
            PostMessage(handle, 0xC100, static_cast<WPARAM>(i), 0);
    });
    poster.join();
    w.deliver();
    ASSERT_EQ(w.received.size(), static_cast<size_t>(kCount));
    for (int i = 0; i < kCount; ++i)
        EXPECT_EQ(std::get<1>(w.received[i]), static_cast<WPARAM>(i));
}

TEST(PostMessage, PostingThreadRacingTheWindowsDestructionNeverReachesTheHandlerAfterwards) {
    RecordingWindow w;
    std::atomic<int> accepted = 0;
    std::atomic<bool> started = false;
    std::thread poster([&, handle = w.handle()] {
        while (PostMessage(handle, 0xC100, 0, 0)) {
            ++accepted;
            started = true;
        }
    });
    while (!started)
        std::this_thread::yield();
    w.deliver();
    const size_t beforeDestruction = w.received.size();
    w.window.reset();
    poster.join();
    w.deliver();
    EXPECT_GT(beforeDestruction, 0u);
    EXPECT_EQ(w.received.size(), beforeDestruction);
    EXPECT_GE(accepted.load(), static_cast<int>(beforeDestruction));
}

TEST(SendMessage, CallsTheHandlerAtOnceAndReturnsItsResult) {
    QObject target;
    MessageWindow window(&target, [](UINT msg, WPARAM wParam, LPARAM lParam) {
        return static_cast<LRESULT>(msg + wParam + lParam);
    });
    EXPECT_EQ(SendMessage(window.handle(), 0x10, 2, 3), 0x15);
}

TEST(SendMessage, ReturnsZeroForAnUnknownHandle) {
    EXPECT_EQ(SendMessage(reinterpret_cast<HWND>(0x7), 0x10, 2, 3), 0);
}

TEST(MessageWindow, HandlesAreNeverReused) {
    QObject target;
    HWND first = nullptr;
    {
        MessageWindow window(&target, nullptr);
        first = window.handle();
    }
    MessageWindow second(&target, nullptr);
    EXPECT_NE(second.handle(), first);
    EXPECT_NE(second.handle(), nullptr);
}

TEST(MessageWindow, OtherEventsOfTheTargetPassThrough) {
    struct CountingTarget : QObject {
        int userEvents = 0;
        bool event(QEvent* e) override {
            if (e->type() == QEvent::User)
                ++userEvents;
            return QObject::event(e);
        }
    } target;
    MessageWindow window(&target, [](UINT, WPARAM, LPARAM) { return LRESULT(0); });
    QCoreApplication::postEvent(&target, new QEvent(QEvent::User));
    QCoreApplication::sendPostedEvents(&target);
    EXPECT_EQ(target.userEvents, 1);
}

TEST(HostPlatformHooks, HostEventsReachTheWindowAsTheRegisteredMessage) {
    std::string error;
    ASSERT_TRUE(orv::sim::loadWorldJson(
        R"({"seed": 1, "peers": [], "dongle": {"present": true, "driver": true, "startupDelayMs": 300}})",
        &error))
        << error;
    installHostPlatformHooks();
    RecordingWindow w;
    const OrvBleHostInitParams params{};
    const uint32_t messageId = OrvBleHostInit(0, 0, &params);
    ASSERT_NE(messageId, 0u);
    EXPECT_EQ(messageId, RegisterWindowMessage("VeyraHostEvent"));
    ASSERT_NE(OrvBleHostStartWnd(w.handle()), 0);

    orv::sim::advance(1000);
    w.deliver();
    ASSERT_EQ(w.received.size(), 1u);
    const auto [msg, code, value] = w.received[0];
    EXPECT_EQ(msg, messageId);
    EXPECT_EQ(code, static_cast<WPARAM>(BLE_EVT_HOST_STARTED));
    EXPECT_NE(value, 0);
    OrvBleHostFreeMessageContents(static_cast<uint32_t>(code), value);
    OrvBleHostDeinit();
    EXPECT_EQ(orv::sim::liveRecordCount(), 0u);
}

} // namespace
} // namespace platform
