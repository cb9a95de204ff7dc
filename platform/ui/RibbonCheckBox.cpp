#include "platform/ui/RibbonCheckBox.h"

#include <QCheckBox>
#include <QVBoxLayout>

namespace platform {

RibbonCheckBox::RibbonCheckBox(UINT id, const QString& label, QWidget* parent)
    : RibbonElement(id, label, parent), m_box(new QCheckBox(label, this)) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_box);
    connect(m_box, &QCheckBox::clicked, this, &RibbonCheckBox::onClicked);
}

void RibbonCheckBox::showLabel(const QString& label) {
    m_box->setText(label);
}

void RibbonCheckBox::showCheck(int check) {
    m_checked = check != 0;
    m_box->setChecked(m_checked);
}

void RibbonCheckBox::onClicked() {
    // The command decides; the next update shows its result.
    m_box->setChecked(m_checked);
    emit activated();
}

} // namespace platform
