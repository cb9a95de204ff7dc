#include "platform/Prompter.h"

#include "platform/ui/DialogBoxFrame.h"

#include <QApplication>
#include <QCoreApplication>
#include <QMessageBox>

namespace platform {
namespace {

constexpr UINT kButtonMask = 0x0F;
constexpr UINT kIconMask = 0xF0;
constexpr UINT kIconQuestion = 0x20;
constexpr UINT kIconInformation = 0x40;

Prompter* g_replacement = nullptr;

QMessageBox::Icon iconFor(UINT type) {
    switch (type & kIconMask) {
    case MB_ICONHAND:
        return QMessageBox::Critical;
    case kIconQuestion:
        return QMessageBox::Question;
    case MB_ICONEXCLAMATION:
        return QMessageBox::Warning;
    case kIconInformation:
        return QMessageBox::Information;
    default:
        return QMessageBox::NoIcon;
    }
}

bool isYesNo(UINT type) {
    return (type & kButtonMask) == MB_YESNO;
}

} // namespace

Prompter::~Prompter() = default;

Prompter& prompter() {
    static DialogPrompter dialogs;
    return g_replacement != nullptr ? *g_replacement : dialogs;
}

void setPrompter(Prompter* replacement) {
    g_replacement = replacement;
}

int DialogPrompter::messageBox(QWidget* parent, const QString& text, const QString& caption, UINT type) {
    QMessageBox box(parent);
    configure(box, text, caption, type);
    if (type & MB_SETFOREGROUND) {
        box.show();
        box.raise();
        box.activateWindow();
    }
    box.exec();
    return resultFor(box);
}

void DialogPrompter::configure(QMessageBox& box, const QString& text, const QString& caption, UINT type) {
    setDialogBoxFrame(box);
    box.setWindowTitle(caption);
    box.setText(text);
    box.setTextFormat(Qt::PlainText);
    box.setIcon(iconFor(type));
    box.setStandardButtons(isYesNo(type) ? QMessageBox::Yes | QMessageBox::No : QMessageBox::Ok);
    box.setWindowModality(box.parentWidget() == nullptr || (type & MB_TASKMODAL) ? Qt::ApplicationModal
                                                                                 : Qt::WindowModal);
}

int DialogPrompter::resultFor(const QMessageBox& box) {
    switch (box.standardButton(box.clickedButton())) {
    case QMessageBox::Ok:
        return IDOK;
    case QMessageBox::Yes:
        return IDYES;
    case QMessageBox::No:
        return IDNO;
    default:
        return IDCANCEL;
    }
}

int AfxMessageBox(const QString& text, UINT type) {
    return prompter().messageBox(QApplication::activeWindow(), text, QCoreApplication::applicationName(),
                                 type);
}

} // namespace platform
