#include "platform/ui/RibbonEdit.h"

#include "platform/ui/RibbonSpinEdit.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QStyle>
#include <QStyleOptionSpinBox>

namespace platform {

namespace {

// The width is the text field's; the spin buttons come on top of it.
int spinButtonsWidth(const QAbstractSpinBox* spin) {
    QStyleOptionSpinBox option;
    option.initFrom(spin);
    option.rect = QRect(QPoint(0, 0), spin->sizeHint());
    option.subControls = QStyle::SC_SpinBoxUp;
    return spin->style()->subControlRect(QStyle::CC_SpinBox, &option, QStyle::SC_SpinBoxUp, spin).width();
}

} // namespace

RibbonEdit::RibbonEdit(UINT id, const QString& label, int width, int minimum, int maximum, QWidget* parent)
    : RibbonElement(id, label, parent), m_label(new QLabel(label, this)), m_spin(new RibbonSpinEdit(this)) {
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_label);
    layout->addStretch();
    layout->addWidget(m_spin);
    m_spin->setRange(minimum, maximum);
    m_spin->setFixedWidth(width + spinButtonsWidth(m_spin));
    m_label->setBuddy(m_spin);
    // Keys reach the spin box first and its line edit only through it.
    m_spin->installEventFilter(this);
    m_spin->findChild<QLineEdit*>()->installEventFilter(this);
}

QString RibbonEdit::editText() const {
    return m_spin->editText();
}

void RibbonEdit::setEditText(const QString& text) {
    m_spin->setEditText(text);
}

void RibbonEdit::setKeyFilter(KeyFilter acceptKey) {
    m_acceptKey = std::move(acceptKey);
}

void RibbonEdit::showLabel(const QString& label) {
    m_label->setText(label);
}

bool RibbonEdit::eventFilter(QObject* watched, QEvent* event) {
    const bool isKey = event->type() == QEvent::KeyPress || event->type() == QEvent::ShortcutOverride;
    if (!isKey || !m_acceptKey || m_acceptKey(static_cast<QKeyEvent*>(event)))
        return RibbonElement::eventFilter(watched, event);
    // Accepting a shortcut override claims the key for the edit, so no window shortcut fires; the
    // key press that follows is then dropped.
    event->accept();
    return true;
}

} // namespace platform
