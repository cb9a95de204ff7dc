// A labelled ribbon edit with spin buttons; its text is read and set as text.
#pragma once

#include "platform/ui/RibbonElement.h"

#include <functional>

class QKeyEvent;
class QLabel;

namespace platform {

class RibbonSpinEdit;

class RibbonEdit : public RibbonElement {
    Q_OBJECT
public:
    using KeyFilter = std::function<bool(QKeyEvent*)>;

    // width: of the edit field in pixels; minimum..maximum: the spin buttons' range.
    RibbonEdit(UINT id, const QString& label, int width, int minimum, int maximum, QWidget* parent = nullptr);

    QString editText() const;
    void setEditText(const QString& text);

    // Keys typed into the edit reach it only when acceptKey returns true; the others are swallowed,
    // window shortcuts included. Pasted text and the spin buttons are not filtered. An empty function
    // lets every key through.
    void setKeyFilter(KeyFilter acceptKey);

    RibbonSpinEdit* spinEdit() const { return m_spin; }

protected:
    void showLabel(const QString& label) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QLabel* m_label;
    RibbonSpinEdit* m_spin;
    KeyFilter m_acceptKey;
};

} // namespace platform
