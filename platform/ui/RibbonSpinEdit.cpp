#include "platform/ui/RibbonSpinEdit.h"

#include <QLineEdit>
#include <algorithm>
#include <optional>

namespace platform {

namespace {

std::optional<qint64> number(const QString& text) {
    bool ok = false;
    const qint64 value = text.trimmed().toLongLong(&ok);
    return ok ? std::optional<qint64>(value) : std::nullopt;
}

} // namespace

RibbonSpinEdit::RibbonSpinEdit(QWidget* parent) : QAbstractSpinBox(parent) {
    setCorrectionMode(QAbstractSpinBox::CorrectToPreviousValue);
    setKeyboardTracking(true);
}

void RibbonSpinEdit::setRange(int minimum, int maximum) {
    m_minimum = std::min(minimum, maximum);
    m_maximum = std::max(minimum, maximum);
}

QString RibbonSpinEdit::editText() const {
    return lineEdit()->text();
}

void RibbonSpinEdit::setEditText(const QString& text) {
    lineEdit()->setText(text);
}

void RibbonSpinEdit::stepBy(int steps) {
    const qint64 start = number(editText()).value_or(m_minimum);
    const qint64 next = std::clamp<qint64>(start + steps, m_minimum, m_maximum);
    setEditText(QString::number(next));
}

QValidator::State RibbonSpinEdit::validate(QString&, int&) const {
    return QValidator::Acceptable;
}

void RibbonSpinEdit::fixup(QString&) const {}

QAbstractSpinBox::StepEnabled RibbonSpinEdit::stepEnabled() const {
    if (isReadOnly())
        return StepNone;
    const std::optional<qint64> value = number(editText());
    if (!value)
        return StepUpEnabled | StepDownEnabled;
    StepEnabled enabled = StepNone;
    if (*value < m_maximum)
        enabled |= StepUpEnabled;
    if (*value > m_minimum)
        enabled |= StepDownEnabled;
    return enabled;
}

} // namespace platform
