// A spin edit that holds any text: the spin buttons step the number it shows within a range.
#pragma once

#include <QAbstractSpinBox>
#include <QString>

namespace platform {

// Unlike QSpinBox this never rejects or corrects what is typed or set: the application reads the
// text itself (text that is not a number reads as 0). Stepping from text that is not a number starts
// at the minimum.
class RibbonSpinEdit : public QAbstractSpinBox {
    Q_OBJECT
public:
    explicit RibbonSpinEdit(QWidget* parent = nullptr);

    void setRange(int minimum, int maximum);
    int minimum() const { return m_minimum; }
    int maximum() const { return m_maximum; }

    QString editText() const;
    void setEditText(const QString& text);

    void stepBy(int steps) override;
    QValidator::State validate(QString& input, int& pos) const override;
    void fixup(QString& input) const override;

protected:
    StepEnabled stepEnabled() const override;

private:
    int m_minimum = 0;
    int m_maximum = 99;
};

} // namespace platform
