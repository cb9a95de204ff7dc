#include "platform/Prompter.h"

#include "support/RecordingPrompter.h"

#include <QAbstractButton>
#include <QCoreApplication>
#include <QMessageBox>
#include <gtest/gtest.h>

namespace platform {
namespace {

TEST(DialogPrompterTest, TypeChoosesButtonsAndIconAndTheButtonChosenTheResult) {
    struct Case {
        UINT type;
        QMessageBox::StandardButtons buttons;
        QMessageBox::Icon icon;
        QMessageBox::StandardButton clicked; // NoButton: the box was closed otherwise
        int result;
    };
    const Case cases[] = {
        {MB_OK, QMessageBox::Ok, QMessageBox::NoIcon, QMessageBox::Ok, IDOK},
        {MB_OK | MB_ICONHAND, QMessageBox::Ok, QMessageBox::Critical, QMessageBox::NoButton, IDCANCEL},
        {MB_OK | MB_ICONEXCLAMATION, QMessageBox::Ok, QMessageBox::Warning, QMessageBox::Ok, IDOK},
        {MB_YESNO, QMessageBox::Yes | QMessageBox::No, QMessageBox::NoIcon, QMessageBox::Yes, IDYES},
        {MB_YESNO | MB_ICONEXCLAMATION | MB_TASKMODAL | MB_SETFOREGROUND, QMessageBox::Yes | QMessageBox::No,
         QMessageBox::Warning, QMessageBox::No, IDNO},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.type);
        QMessageBox box;
        DialogPrompter::configure(box, "Text <b>with</b> markup", "Caption", c.type);
        EXPECT_EQ(box.standardButtons(), c.buttons);
        EXPECT_EQ(box.icon(), c.icon);
        EXPECT_EQ(box.textFormat(), Qt::PlainText);
        EXPECT_EQ(box.windowTitle(), "Caption");
        box.showMinimized(); // as a window manager may offer: the box is modal, so it comes back
        QCoreApplication::processEvents();
        EXPECT_FALSE(box.isMinimized());
        if (c.clicked != QMessageBox::NoButton)
            box.button(c.clicked)->click();
        EXPECT_EQ(DialogPrompter::resultFor(box), c.result);
    }
}

TEST(DialogPrompterTest, AfxMessageBoxAsksTheInstalledPrompterUnderTheApplicationsName) {
    RecordingPrompter recorder;
    setPrompter(&recorder);
    AfxMessageBox("Remove?", MB_YESNO);
    setPrompter(nullptr);
    ASSERT_EQ(recorder.prompts.size(), 1u);
    EXPECT_EQ(recorder.prompts[0].caption, QCoreApplication::applicationName());
    EXPECT_NE(dynamic_cast<DialogPrompter*>(&prompter()), nullptr);
}

} // namespace
} // namespace platform
