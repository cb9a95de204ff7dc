#include "platform/Prompter.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCoreApplication>
#include <QMessageBox>
#include <QTimer>
#include <gtest/gtest.h>
#include <memory>

namespace platform {
namespace {

class RecordingPrompterTest : public testing::Test {
protected:
    void SetUp() override { setPrompter(&recorder); }
    void TearDown() override { setPrompter(nullptr); }

    RecordingPrompter recorder;
};

TEST_F(RecordingPrompterTest, RecordsEveryPrompt) {
    QWidget parent;
    recorder.messageBox(&parent, "first", "Caption", MB_OK | MB_ICONHAND);
    recorder.messageBox(nullptr, "second", "Other", MB_YESNO);
    ASSERT_EQ(recorder.prompts.size(), 2u);
    EXPECT_EQ(recorder.prompts[0].parent, &parent);
    EXPECT_EQ(recorder.prompts[0].text, "first");
    EXPECT_EQ(recorder.prompts[0].caption, "Caption");
    EXPECT_EQ(recorder.prompts[0].type, MB_OK | MB_ICONHAND);
    EXPECT_EQ(recorder.prompts[1].parent, nullptr);
    EXPECT_EQ(recorder.prompts[1].type, MB_YESNO);
}

TEST_F(RecordingPrompterTest, UnscriptedPromptsGetTheAffirmativeAnswer) {
    EXPECT_EQ(recorder.messageBox(nullptr, "t", "c", MB_OK), IDOK);
    EXPECT_EQ(recorder.messageBox(nullptr, "t", "c", MB_OK | MB_ICONEXCLAMATION), IDOK);
    EXPECT_EQ(recorder.messageBox(nullptr, "t", "c", MB_YESNO), IDYES);
    EXPECT_EQ(recorder.messageBox(nullptr, "t", "c", MB_YESNO | MB_ICONHAND | MB_TASKMODAL), IDYES);
}

TEST_F(RecordingPrompterTest, ScriptedAnswersAreGivenInOrder) {
    recorder.queueResult(IDNO);
    recorder.queueResult(IDCANCEL);
    EXPECT_EQ(recorder.messageBox(nullptr, "t", "c", MB_YESNO), IDNO);
    EXPECT_EQ(recorder.messageBox(nullptr, "t", "c", MB_OK), IDCANCEL);
    EXPECT_EQ(recorder.messageBox(nullptr, "t", "c", MB_YESNO), IDYES);
}

TEST_F(RecordingPrompterTest, InsideActionRunsWhileThePromptIsOpen) {
    std::vector<QString> seen;
    recorder.setInsidePrompt([&](const RecordingPrompter::Prompt& prompt) {
        seen.push_back(prompt.text);
        EXPECT_EQ(recorder.prompts.size(), seen.size());
    });
    recorder.messageBox(nullptr, "one", "c", MB_OK);
    recorder.messageBox(nullptr, "two", "c", MB_OK);
    EXPECT_EQ(seen, (std::vector<QString>{"one", "two"}));
}

TEST_F(RecordingPrompterTest, NestedPromptTakesTheNextScriptedAnswer) {
    recorder.queueResult(IDNO);
    recorder.queueResult(IDOK);
    int nestedResult = 0;
    recorder.setInsidePrompt([&](const RecordingPrompter::Prompt& prompt) {
        if (prompt.text == "outer")
            nestedResult = recorder.messageBox(nullptr, "inner", "c", MB_OK);
    });
    EXPECT_EQ(recorder.messageBox(nullptr, "outer", "c", MB_YESNO), IDNO);
    EXPECT_EQ(nestedResult, IDOK);
    ASSERT_EQ(recorder.prompts.size(), 2u);
    EXPECT_EQ(recorder.prompts[1].text, "inner");
}

TEST_F(RecordingPrompterTest, InsideActionMayReplaceItself) {
    auto seen = std::make_shared<std::vector<QString>>();
    recorder.setInsidePrompt([this, seen](const RecordingPrompter::Prompt& prompt) {
        recorder.setInsidePrompt(nullptr);
        seen->push_back(prompt.text);
    });
    recorder.messageBox(nullptr, "once", "c", MB_OK);
    recorder.messageBox(nullptr, "twice", "c", MB_OK);
    EXPECT_EQ(*seen, std::vector<QString>{"once"});
}

TEST_F(RecordingPrompterTest, AfxMessageBoxUsesTheApplicationNameAsCaption) {
    const QString previous = QCoreApplication::applicationName();
    QCoreApplication::setApplicationName("Tindrel");
    const int result = AfxMessageBox("Unable to start BLE client");
    QCoreApplication::setApplicationName(previous);

    EXPECT_EQ(result, IDOK);
    ASSERT_EQ(recorder.prompts.size(), 1u);
    EXPECT_EQ(recorder.prompts[0].text, "Unable to start BLE client");
    EXPECT_EQ(recorder.prompts[0].caption, "Tindrel");
    EXPECT_EQ(recorder.prompts[0].type, MB_OK);
    EXPECT_EQ(recorder.prompts[0].parent, QApplication::activeWindow());
}

TEST_F(RecordingPrompterTest, AfxMessageBoxPassesTheTypeThrough) {
    recorder.queueResult(IDNO);
    EXPECT_EQ(AfxMessageBox("Remove?", MB_YESNO | MB_ICONEXCLAMATION), IDNO);
    EXPECT_EQ(recorder.prompts.at(0).type, MB_YESNO | MB_ICONEXCLAMATION);
}

TEST(Prompter, ResettingRestoresTheDialogPrompter) {
    RecordingPrompter recorder;
    setPrompter(&recorder);
    EXPECT_EQ(&prompter(), &recorder);
    setPrompter(nullptr);
    EXPECT_NE(dynamic_cast<DialogPrompter*>(&prompter()), nullptr);
}

TEST(DialogPrompter, ConfiguresButtonsIconAndTextFromTheType) {
    struct Case {
        UINT type;
        QMessageBox::StandardButtons buttons;
        QMessageBox::Icon icon;
    };
    const Case cases[] = {
        {MB_OK, QMessageBox::Ok, QMessageBox::NoIcon},
        {MB_OK | MB_ICONHAND, QMessageBox::Ok, QMessageBox::Critical},
        {MB_OK | MB_ICONEXCLAMATION, QMessageBox::Ok, QMessageBox::Warning},
        {MB_YESNO, QMessageBox::Yes | QMessageBox::No, QMessageBox::NoIcon},
        {MB_YESNO | MB_ICONEXCLAMATION | MB_TASKMODAL | MB_SETFOREGROUND, QMessageBox::Yes | QMessageBox::No,
         QMessageBox::Warning},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.type);
        QMessageBox box;
        DialogPrompter::configure(box, "Text <b>with</b> markup\nand a line", "Caption", c.type);
        EXPECT_EQ(box.standardButtons(), c.buttons);
        EXPECT_EQ(box.icon(), c.icon);
        EXPECT_EQ(box.text(), "Text <b>with</b> markup\nand a line");
        EXPECT_EQ(box.textFormat(), Qt::PlainText);
        EXPECT_EQ(box.windowTitle(), "Caption");
    }
}

TEST(DialogPrompter, ResultFollowsTheButtonChosen) {
    struct Case {
        UINT type;
        QMessageBox::StandardButton button;
        int result;
    };
    const Case cases[] = {
        {MB_OK, QMessageBox::Ok, IDOK},
        {MB_YESNO, QMessageBox::Yes, IDYES},
        {MB_YESNO, QMessageBox::No, IDNO},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.result);
        QMessageBox box;
        DialogPrompter::configure(box, "t", "c", c.type);
        box.button(c.button)->click();
        EXPECT_EQ(DialogPrompter::resultFor(box), c.result);
    }
}

TEST(DialogPrompter, BoxClosedWithoutAButtonCountsAsCancel) {
    QMessageBox box;
    EXPECT_EQ(DialogPrompter::resultFor(box), IDCANCEL);
}

TEST(DialogPrompter, ShowsAModalBoxAndReturnsTheAnswer) {
    QString shownText;
    QTimer::singleShot(0, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        shownText = box->text();
        box->button(QMessageBox::No)->click();
    });
    DialogPrompter dialogs;
    EXPECT_EQ(dialogs.messageBox(nullptr, "Proceed?", "Tindrel", MB_YESNO), IDNO);
    EXPECT_EQ(shownText, "Proceed?");
}

} // namespace
} // namespace platform
