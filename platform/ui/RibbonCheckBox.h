// A ribbon check box: its check mark shows what the update handler says, never the click itself.
#pragma once

#include "platform/ui/RibbonElement.h"

class QCheckBox;

namespace platform {

class RibbonCheckBox : public RibbonElement {
    Q_OBJECT
public:
    RibbonCheckBox(UINT id, const QString& label, QWidget* parent = nullptr);

    bool isChecked() const override { return m_checked; }

protected:
    void showLabel(const QString& label) override;
    void showCheck(int check) override;

private:
    void onClicked();

    bool m_checked = false;
    QCheckBox* m_box;
};

} // namespace platform
