// A ribbon button: large (32-pixel icon over its label) or small (16-pixel icon beside it).
#pragma once

#include "platform/ui/RibbonElement.h"

#include <QIcon>

class QToolButton;

namespace platform {

class RibbonButton : public RibbonElement {
    Q_OBJECT
public:
    RibbonButton(UINT id, const QString& label, const QIcon& icon = {}, bool large = true,
                 QWidget* parent = nullptr);

    bool isLarge() const override { return m_large; }
    QIcon icon() const;

protected:
    void showLabel(const QString& label) override;

private:
    bool m_large;
    QToolButton* m_button;
};

} // namespace platform
