// Keys forwarded from the simulated remote reach a real X server: an Xvfb of the test's own, with an
// Xlib window there that has the keyboard focus. Skipped where Xvfb is not installed.
#include "E2eFixture.h"
#include "platform/XTestKeySender.h"
#include "profiles/control/CRemoteCtrl.h"
#include "profiles/control/RemoteIds.h"
#include "veyrasim.h"

#include <QCheckBox>
#include <QProcess>
#include <QStandardPaths>

#include <X11/Xlib.h>
#include <X11/keysym.h>

namespace {

class KeyForwardingXvfbTest : public E2eFixture {
protected:
    void TearDown() override {
        platform::setKeyInputSender(nullptr);
        if (m_display)
            XCloseDisplay(m_display);
        m_xvfb.terminate();
        m_xvfb.waitForFinished();
        E2eFixture::TearDown();
    }
    // Starts Xvfb on a display it picks itself (so tests may run side by side) and opens a window there
    // with the keyboard focus that hears keys; the display's name, empty when Xvfb did not start.
    QString StartXvfbWithFocusedWindow(const QString& program) {
        m_xvfb.start(program, {"-displayfd", "1", "-nolisten", "tcp", "-screen", "0", "320x240x24"});
        QByteArray number;
        while (!number.contains('\n') && m_xvfb.waitForReadyRead(10000))
            number += m_xvfb.readAllStandardOutput();
        const QString name = QStringLiteral(":") + QString::fromLatin1(number.trimmed());
        if (!number.contains('\n') || !(m_display = XOpenDisplay(name.toLatin1().constData())))
            return {};
        const Window window =
            XCreateSimpleWindow(m_display, DefaultRootWindow(m_display), 0, 0, 99, 99, 0, 0, 0);
        XSelectInput(m_display, window, KeyPressMask | KeyReleaseMask | StructureNotifyMask);
        XMapWindow(m_display, window);
        for (XEvent event{}; event.type != MapNotify;)
            XNextEvent(m_display, &event);
        XSetInputFocus(m_display, window, RevertToParent, CurrentTime);
        XSync(m_display, False);
        return name;
    }
    // The Up key's presses (true) and releases (false) the window heard, in order.
    std::vector<bool> UpKeyEvents() {
        XSync(m_display, False);
        std::vector<bool> events;
        for (XEvent event; XPending(m_display) > 0;) {
            XNextEvent(m_display, &event);
            if ((event.type == KeyPress || event.type == KeyRelease) &&
                event.xkey.keycode == XKeysymToKeycode(m_display, XK_Up))
                events.push_back(event.type == KeyPress);
        }
        return events;
    }

    QProcess m_xvfb;
    Display* m_display = nullptr;
};

TEST_F(KeyForwardingXvfbTest, UpFromTheRemoteIsPressedAndReleasedInTheFocusedWindow) {
    const QString xvfb = QStandardPaths::findExecutable(QStringLiteral("Xvfb"));
    if (xvfb.isEmpty())
        GTEST_SKIP() << "Xvfb is not installed";
    const QString display = StartXvfbWithFocusedWindow(xvfb);
    ASSERT_FALSE(display.isEmpty()) << "Xvfb did not start";
    std::shared_ptr<platform::XTestKeySender> sender = platform::XTestKeySender::open(display);
    ASSERT_NE(sender, nullptr);
    platform::setKeyInputSender([sender](uint16_t key, bool up) { return sender->send(key, up); });

    CRemoteCtrl* remote = Open("SKY Remote", &CMainFrame::RemoteWindow);
    Item<QCheckBox>(remote, ID_FORWARD_HID_REPORTS)->click();
    constexpr uint16_t kInterrupt = 13; // the built-in remote's 2C03
    ASSERT_TRUE(orv::sim::injectNotification("00:1A:7D:DA:71:0D", kInterrupt, {0x00, 0x00, 0x52, 0x00}));
    Advance(1000);
    EXPECT_EQ(UpKeyEvents(), (std::vector<bool>{true, false}));
}

} // namespace
