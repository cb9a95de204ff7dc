// Base of the ribbon's elements: a command id, a label, a tooltip and a description.
#pragma once

#include "platform/WinTypes.h"
#include "platform/ui/CmdUI.h"

#include <QString>
#include <QWidget>

namespace platform {

// The element's enabled state, check mark and label follow the command router's update pass once
// the element sits in a ribbon panel; activated() asks the router to issue the command.
class RibbonElement : public QWidget {
    Q_OBJECT
public:
    RibbonElement(UINT id, const QString& label, QWidget* parent = nullptr);

    UINT id() const { return m_id; }
    QString label() const { return m_label; }
    void setLabel(const QString& label);

    // The tooltip's title line; the description is its second part and the status tip.
    QString toolTipText() const { return m_toolTip; }
    void setToolTipText(const QString& text);
    QString description() const { return m_description; }
    void setDescription(const QString& text);

    virtual bool isChecked() const { return false; }
    // A large element takes the whole height of its panel; small ones stack three to a column.
    virtual bool isLarge() const { return false; }

    // How update results reach this element.
    CmdUISink updateSink();

signals:
    void activated();

protected:
    virtual void showLabel(const QString& label) = 0;
    virtual void showCheck(int check);

private:
    void refreshTips();

    UINT m_id;
    QString m_label;
    QString m_toolTip;
    QString m_description;
};

} // namespace platform
