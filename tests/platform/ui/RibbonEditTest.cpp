#include "platform/ui/RibbonEdit.h"

#include "platform/ui/RibbonSpinEdit.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <gtest/gtest.h>
#include <vector>

namespace platform {
namespace {

// The keys the application lets into its connection-parameter edits.
bool parameterKey(QKeyEvent* event) {
    if (event->modifiers() & Qt::KeypadModifier)
        return false;
    const int key = event->key();
    return (key >= Qt::Key_0 && key <= Qt::Key_9) || key == Qt::Key_Backspace || key == Qt::Key_Delete ||
           key == Qt::Key_Tab || key == Qt::Key_Left || key == Qt::Key_Right;
}

void press(QWidget* target, int key, const QString& text, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QKeyEvent event(QEvent::KeyPress, key, modifiers, text);
    QCoreApplication::sendEvent(target, &event);
}

class RibbonEditTest : public ::testing::Test {
protected:
    RibbonEditTest() {
        edit.setEditText(QStringLiteral("40"));
        edit.setKeyFilter(parameterKey);
    }

    RibbonEdit edit{314, QStringLiteral("Minimum"), 50, 6, 3200};
};

TEST(RibbonEditTextTest, TextRoundTripsUnchangedWhateverItHolds) {
    RibbonEdit edit(317, QStringLiteral("Timeout"), 50, 0, 65535);
    for (const QString& text : {QStringLiteral("1000"), QStringLiteral("abc"), QStringLiteral("-5"),
                                QStringLiteral("12x"), QStringLiteral("99999"), QString()}) {
        edit.setEditText(text);
        EXPECT_EQ(edit.editText(), text);
    }
}

TEST_F(RibbonEditTest, DigitsAndEditingKeysPass) {
    press(edit.spinEdit(), Qt::Key_0, QStringLiteral("0"));
    EXPECT_EQ(edit.editText(), QStringLiteral("400"));
    press(edit.spinEdit(), Qt::Key_Backspace, QString());
    press(edit.spinEdit(), Qt::Key_Backspace, QString());
    EXPECT_EQ(edit.editText(), QStringLiteral("4"));
    press(edit.spinEdit(), Qt::Key_Left, QString());
    press(edit.spinEdit(), Qt::Key_Delete, QString());
    EXPECT_EQ(edit.editText(), QString());
}

TEST_F(RibbonEditTest, OtherKeysAreSwallowed) {
    struct Key {
        int key;
        const char* text;
        Qt::KeyboardModifiers modifiers;
    };
    const std::vector<Key> swallowed = {
        {Qt::Key_A, "a", Qt::NoModifier},     {Qt::Key_Minus, "-", Qt::NoModifier},
        {Qt::Key_5, "5", Qt::KeypadModifier}, {Qt::Key_Space, " ", Qt::NoModifier},
        {Qt::Key_Up, "", Qt::NoModifier},     {Qt::Key_PageDown, "", Qt::NoModifier},
        {Qt::Key_Home, "", Qt::NoModifier},
    };
    for (const Key& k : swallowed) {
        press(edit.spinEdit(), k.key, QString::fromLatin1(k.text), k.modifiers);
        EXPECT_EQ(edit.editText(), QStringLiteral("40")) << k.key;
    }
}

TEST_F(RibbonEditTest, SwallowedKeyIsClaimedBeforeWindowShortcutsSeeIt) {
    QKeyEvent f5(QEvent::ShortcutOverride, Qt::Key_F5, Qt::NoModifier);
    f5.ignore();
    EXPECT_TRUE(QCoreApplication::sendEvent(edit.spinEdit(), &f5));
    EXPECT_TRUE(f5.isAccepted());
}

TEST_F(RibbonEditTest, PassingKeyIsNotClaimedFromShortcuts) {
    edit.setKeyFilter([](QKeyEvent* event) { return event->key() == Qt::Key_F5 || parameterKey(event); });
    QKeyEvent f5(QEvent::ShortcutOverride, Qt::Key_F5, Qt::NoModifier);
    f5.ignore();
    QCoreApplication::sendEvent(edit.spinEdit(), &f5);
    EXPECT_FALSE(f5.isAccepted());
}

TEST_F(RibbonEditTest, SpinButtonsAndSetTextAreNotFiltered) {
    edit.setKeyFilter([](QKeyEvent*) { return false; });

    edit.spinEdit()->stepBy(2);
    EXPECT_EQ(edit.editText(), QStringLiteral("42"));
    edit.setEditText(QStringLiteral("x-y"));
    EXPECT_EQ(edit.editText(), QStringLiteral("x-y"));
}

TEST_F(RibbonEditTest, WithoutAFilterEveryKeyPasses) {
    edit.setKeyFilter({});
    press(edit.spinEdit(), Qt::Key_A, QStringLiteral("a"));
    EXPECT_EQ(edit.editText(), QStringLiteral("40a"));
}

} // namespace
} // namespace platform
