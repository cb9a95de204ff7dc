// The user prompt dialog on its own: its controls, the first paint, and how it ends.
#include "panes/CUserPromptDlg.h"
#include "platform/DialogItems.h"
#include "platform/StringTable.h"
#include "platform/WinTypes.h"
#include "res/StringTable.h"
#include "res/resource.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>
#include <QTimer>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

class PairingPromptTest : public ::testing::Test {
protected:
    void SetUp() override { platform::installStringTable(applicationStrings()); }

    static QFont BigFont() {
        QFont font(QStringLiteral("Arial Black"));
        font.setPixelSize(48);
        font.setWeight(QFont::Bold);
        return font;
    }
    // A prompt whose owner hooks record their calls in order.
    std::unique_ptr<CUserPromptDlg> MakePrompt(bool readOnly, bool showOk, bool showCancel) {
        auto prompt = std::make_unique<CUserPromptDlg>(QStringLiteral("001234"), BigFont(), readOnly, showOk,
                                                       showCancel, nullptr);
        prompt->SetOwnerHooks({[this] { m_hookCalls.push_back("endModalState"); },
                               [this] { m_hookCalls.push_back("forgetPrompt"); }});
        return prompt;
    }
    // Runs the prompt modally; action runs inside its loop and must end it.
    static int RunModal(CUserPromptDlg& prompt, std::function<void()> action) {
        QTimer::singleShot(0, &prompt, [&prompt, action] {
            action();
            if (prompt.isVisible()) {
                ADD_FAILURE() << "the prompt is still open";
                prompt.done(-1);
            }
        });
        return prompt.exec();
    }

    std::vector<std::string> m_hookCalls;
};

TEST_F(PairingPromptTest, ControlsCarryTheTemplateIdsAndTheConstructorsChoices) {
    const auto prompt = MakePrompt(true, false, true);
    EXPECT_EQ(prompt->windowTitle(), QStringLiteral("Pass Key Prompt"));
    EXPECT_EQ(platform::GetDlgItemText(prompt.get(), IDC_PROMPT_TEXT),
              QStringLiteral("Enter this code on your ORV Veyra keyboard:"));
    EXPECT_EQ(platform::GetDlgItem(prompt.get(), IDC_PROMPT_EDIT), prompt->Edit());
    EXPECT_EQ(platform::GetDlgItem(prompt.get(), IDOK), prompt->OkButton());
    EXPECT_EQ(platform::GetDlgItem(prompt.get(), IDCANCEL), prompt->CancelButton());
    EXPECT_EQ(prompt->Edit()->text(), QStringLiteral("001234"));
    EXPECT_TRUE(prompt->Edit()->isReadOnly());
    EXPECT_EQ(prompt->Edit()->font().family(), QStringLiteral("Arial Black"));
    EXPECT_EQ(prompt->Edit()->font().pixelSize(), 48);
    EXPECT_TRUE(prompt->OkButton()->isHidden());
    EXPECT_FALSE(prompt->CancelButton()->isHidden());
}

TEST_F(PairingPromptTest, FlagsShowOrHideEachButtonAndSetTheEditsAccess) {
    struct Case {
        bool readOnly, showOk, showCancel;
    };
    for (const Case c : {Case{false, true, true}, Case{true, true, false}, Case{false, false, false}}) {
        SCOPED_TRACE(testing::Message() << c.readOnly << c.showOk << c.showCancel);
        const auto prompt = MakePrompt(c.readOnly, c.showOk, c.showCancel);
        EXPECT_EQ(prompt->Edit()->isReadOnly(), c.readOnly);
        EXPECT_EQ(prompt->OkButton()->isHidden(), !c.showOk);
        EXPECT_EQ(prompt->CancelButton()->isHidden(), !c.showCancel);
    }
}

TEST_F(PairingPromptTest, FirstPaintRemovesTheSelectionAndHidesTheCaretOnce) {
    const auto prompt = MakePrompt(false, true, true);
    prompt->Edit()->selectAll();
    ASSERT_TRUE(prompt->Edit()->hasSelectedText());
    ASSERT_TRUE(prompt->IsFirstPaintPending());
    ASSERT_GT(prompt->Edit()->style()->pixelMetric(QStyle::PM_TextCursorWidth, nullptr, prompt->Edit()), 0);

    prompt->grab();
    EXPECT_FALSE(prompt->IsFirstPaintPending());
    EXPECT_FALSE(prompt->Edit()->hasSelectedText());
    EXPECT_EQ(prompt->Edit()->style()->pixelMetric(QStyle::PM_TextCursorWidth, nullptr, prompt->Edit()), 0);

    prompt->Edit()->selectAll();
    prompt->grab();
    EXPECT_TRUE(prompt->Edit()->hasSelectedText());
}

TEST_F(PairingPromptTest, OkForgetsThePromptThenEndsTheModalStateAndReturnsIdOk) {
    const auto prompt = MakePrompt(true, true, true);
    EXPECT_EQ(RunModal(*prompt, [&] { prompt->OkButton()->click(); }), IDOK);
    EXPECT_EQ(m_hookCalls, (std::vector<std::string>{"forgetPrompt", "endModalState"}));
}

TEST_F(PairingPromptTest, EveryWayOfCancellingEndsTheModalStateThenForgetsAndReturnsIdCancel) {
    const std::vector<std::pair<std::string, std::function<void(CUserPromptDlg&)>>> ways = {
        {"button", [](CUserPromptDlg& p) { p.CancelButton()->click(); }},
        {"escape",
         [](CUserPromptDlg& p) {
             QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
             QApplication::sendEvent(&p, &escape);
         }},
        {"close", [](CUserPromptDlg& p) { p.close(); }},
        {"owner", [](CUserPromptDlg& p) { static_cast<QDialog&>(p).reject(); }},
    };
    for (const auto& [name, way] : ways) {
        SCOPED_TRACE(name);
        m_hookCalls.clear();
        const auto prompt = MakePrompt(true, false, true);
        EXPECT_EQ(RunModal(*prompt, [&] { way(*prompt); }), IDCANCEL);
        EXPECT_EQ(m_hookCalls, (std::vector<std::string>{"endModalState", "forgetPrompt"}));
    }
}

TEST_F(PairingPromptTest, WithoutHooksTheDialogStillEnds) {
    CUserPromptDlg prompt(QStringLiteral("1"), QFont(), true, true, true, nullptr);
    EXPECT_EQ(RunModal(prompt, [&] { prompt.OkButton()->click(); }), IDOK);
}

} // namespace
