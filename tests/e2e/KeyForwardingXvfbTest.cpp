// Keys forwarded from the simulated remote reach a real X server: a private Xvfb of the test's own,
// with an Xlib window there that has the keyboard focus. Skipped where Xvfb is not installed.
#include "platform/DialogItems.h"
#include "platform/KeyInput.h"
#include "platform/XTestKeySender.h"
#include "profiles/control/CRemoteCtrl.h"
#include "profiles/control/RemoteIds.h"
#include "support/SimFixture.h"
#include "veyrasim.h"

#include <QCheckBox>
#include <QProcess>
#include <QStandardPaths>

#include <X11/Xlib.h>
#include <X11/keysym.h>

namespace {

const std::string kRemoteAddress = "00:1A:7D:DA:71:0D";
constexpr uint16_t kInterrupt = 13; // the built-in remote's 2C03

class KeyForwardingXvfbTest : public SimFixture {
protected:
    void TearDown() override {
        platform::setKeyInputSender(nullptr);
        m_sender.reset();
        if (m_display) {
            XDestroyWindow(m_display, m_window);
            XCloseDisplay(m_display);
        }
        m_xvfb.terminate();
        m_xvfb.waitForFinished();
        SimFixture::TearDown();
    }
    // Starts Xvfb on a display it picks itself; the display's name, or empty when it did not start.
    QString StartXvfb(const QString& program) {
        m_xvfb.start(program, {"-displayfd", "1", "-nolisten", "tcp", "-screen", "0", "320x240x24"});
        QByteArray number;
        while (!number.contains('\n') && m_xvfb.waitForReadyRead(10000))
            number += m_xvfb.readAllStandardOutput();
        return number.contains('\n') ? QStringLiteral(":") + QString::fromLatin1(number.trimmed())
                                     : QString();
    }
    // A mapped window with the keyboard focus that hears key presses and releases.
    void OpenFocusedWindow(const QString& name) {
        m_display = XOpenDisplay(name.toLatin1().constData());
        ASSERT_NE(m_display, nullptr);
        m_window = XCreateSimpleWindow(m_display, DefaultRootWindow(m_display), 0, 0, 100, 100, 0, 0, 0);
        XSelectInput(m_display, m_window, KeyPressMask | KeyReleaseMask | StructureNotifyMask);
        XMapWindow(m_display, m_window);
        XEvent event;
        do
            XNextEvent(m_display, &event);
        while (event.type != MapNotify);
        XSetInputFocus(m_display, m_window, RevertToParent, CurrentTime);
        XSync(m_display, False);
    }
    // The Up key's presses (true) and releases (false) the window heard, in order.
    std::vector<bool> UpKeyEvents() {
        XSync(m_display, False);
        const KeyCode up = XKeysymToKeycode(m_display, XK_Up);
        std::vector<bool> events;
        while (XPending(m_display) > 0) {
            XEvent event;
            XNextEvent(m_display, &event);
            if ((event.type == KeyPress || event.type == KeyRelease) && event.xkey.keycode == up)
                events.push_back(event.type == KeyPress);
        }
        return events;
    }

    QProcess m_xvfb;
    Display* m_display = nullptr;
    Window m_window = 0;
    std::shared_ptr<platform::XTestKeySender> m_sender;
};

TEST_F(KeyForwardingXvfbTest, UpFromTheRemoteIsPressedAndReleasedInTheFocusedWindow) {
    const QString xvfb = QStandardPaths::findExecutable(QStringLiteral("Xvfb"));
    if (xvfb.isEmpty())
        GTEST_SKIP() << "Xvfb is not installed";
    const QString display = StartXvfb(xvfb);
    ASSERT_FALSE(display.isEmpty()) << "Xvfb did not start";
    OpenFocusedWindow(display);
    m_sender = platform::XTestKeySender::open(display);
    ASSERT_NE(m_sender, nullptr);
    platform::setKeyInputSender([sender = m_sender](uint16_t key, bool up) { return sender->send(key, up); });

    CRemoteCtrl* remote = ConnectedWindow("", QStringLiteral("SKY Remote"), &CMainFrame::RemoteWindow);
    ASSERT_NE(remote, nullptr);
    qobject_cast<QCheckBox*>(platform::GetDlgItem(remote, ID_FORWARD_HID_REPORTS))->click();
    ASSERT_TRUE(orv::sim::injectNotification(kRemoteAddress, kInterrupt, {0x00, 0x00, 0x52, 0x00}));
    Advance(1000);
    EXPECT_EQ(UpKeyEvents(), (std::vector<bool>{true, false}));
}

} // namespace
