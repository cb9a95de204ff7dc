#include "platform/ui/DialogBoxFrame.h"

#include <QDialog>
#include <QEvent>

namespace platform {
namespace {

class DialogBoxFrame : public QObject {
public:
    explicit DialogBoxFrame(QDialog& dialog) : QObject(&dialog), m_dialog(dialog) {
        dialog.installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Show && !m_sized) {
            // Shown means laid out and sized, and not yet mapped: the window manager sees a fixed size.
            m_sized = true;
            m_dialog.setFixedSize(m_dialog.size());
        } else if (event->type() == QEvent::WindowStateChange && m_dialog.isModal() &&
                   m_dialog.isMinimized()) {
            QMetaObject::invokeMethod(
                &m_dialog, [this] { m_dialog.setWindowState(m_dialog.windowState() & ~Qt::WindowMinimized); },
                Qt::QueuedConnection);
        }
        return QObject::eventFilter(watched, event);
    }

private:
    QDialog& m_dialog;
    bool m_sized = false;
};

} // namespace

void setDialogBoxFrame(QDialog& dialog) {
    dialog.setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowCloseButtonHint);
    new DialogBoxFrame(dialog);
}

} // namespace platform
