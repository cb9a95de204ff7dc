// A ribbon button: large (32-pixel icon over its label) or small (16-pixel icon beside it).
#pragma once

#include "platform/ui/RibbonElement.h"

#include <QIcon>
#include <QStringList>

class QToolButton;

namespace platform {

// Its check mark (a pressed face) shows what the update handler says, never the click itself.
class RibbonButton : public RibbonElement {
    Q_OBJECT
public:
    RibbonButton(UINT id, const QString& label, const QIcon& icon = {}, bool large = true,
                 QWidget* parent = nullptr);

    bool isLarge() const override { return m_large; }
    bool isChecked() const override { return m_checked; }
    QIcon icon() const;

    // Makes the button at least as wide as it would be with each of these labels, so that buttons
    // that replace one another (two faces of one command) take the same room in their panel.
    void reserveWidthFor(const QStringList& labels);

protected:
    void showLabel(const QString& label) override;
    void showCheck(int check) override;

private:
    void onClicked();

    bool m_large;
    bool m_checked = false;
    QToolButton* m_button;
};

} // namespace platform
