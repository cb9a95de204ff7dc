#include "platform/ui/RibbonEdit.h"

#include "platform/ui/RibbonSpinEdit.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <gtest/gtest.h>

namespace platform {
namespace {

// Lets digits (not the keypad's) and Backspace through.
bool someKeys(QKeyEvent* event) {
    return !(event->modifiers() & Qt::KeypadModifier) &&
           ((event->key() >= Qt::Key_0 && event->key() <= Qt::Key_9) || event->key() == Qt::Key_Backspace);
}

TEST(RibbonEditTest, TypedKeysTheFilterRefusesAreSwallowedAndClaimedFromShortcuts) {
    RibbonEdit edit(314, "Minimum", 50, 6, 3200);
    edit.setKeyFilter(someKeys);
    const std::vector<std::tuple<int, Qt::KeyboardModifiers, const char*>> keys = {
        {Qt::Key_0, Qt::NoModifier, "400"}, {Qt::Key_Backspace, Qt::NoModifier, "4"},
        {Qt::Key_A, Qt::NoModifier, "40"},  {Qt::Key_5, Qt::KeypadModifier, "40"},
        {Qt::Key_Up, Qt::NoModifier, "40"}, {Qt::Key_F5, Qt::NoModifier, "40"}};
    for (const auto& [key, modifiers, after] : keys) {
        edit.setEditText("40");
        const QString text = key == Qt::Key_A ? "a" : key <= Qt::Key_9 ? QString(QChar(key)) : QString();
        QKeyEvent override(QEvent::ShortcutOverride, key, modifiers, text);
        override.ignore();
        QCoreApplication::sendEvent(edit.spinEdit(), &override);
        QKeyEvent press(QEvent::KeyPress, key, modifiers, text);
        QCoreApplication::sendEvent(edit.spinEdit(), &press);
        EXPECT_EQ(edit.editText(), after) << key;
        EXPECT_TRUE(someKeys(&press) || override.isAccepted()) << key;
    }
    edit.spinEdit()->stepBy(2); // the spin buttons and set text are not filtered
    EXPECT_EQ(edit.editText(), "42");
    edit.setKeyFilter({});
    QKeyEvent letter(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier, "a");
    QCoreApplication::sendEvent(edit.spinEdit(), &letter);
    EXPECT_EQ(edit.editText(), "42a");
}

TEST(RibbonSpinEditTest, AnyTextIsKeptAndStepsStayWithinTheRange) {
    const std::vector<std::tuple<const char*, int, const char*>> cases = {
        {"3199", 5, "3200"}, {"7", -3, "6"}, {"5000", 1, "3200"}, {"abc", 1, "7"}, {" 12 ", 1, "13"}};
    RibbonSpinEdit spin;
    spin.setRange(3200, 6); // bounds in either order
    for (const auto& [start, steps, expected] : cases) {
        QString text = start;
        int pos = 0;
        EXPECT_EQ(spin.validate(text, pos), QValidator::Acceptable) << start;
        spin.setEditText(start);
        EXPECT_EQ(spin.editText(), start);
        spin.stepBy(steps);
        EXPECT_EQ(spin.editText(), expected) << start << " " << steps;
    }
}

} // namespace
} // namespace platform
