// One tab of the ribbon: a row of panels.
#pragma once

#include <QPointer>
#include <QString>
#include <QWidget>
#include <vector>

class QHBoxLayout;

namespace platform {

class CommandRouter;
class CommandTarget;
class RibbonPanel;

class RibbonCategory : public QWidget {
    Q_OBJECT
public:
    RibbonCategory(const QString& name, CommandRouter* router, CommandTarget* owner,
                   QWidget* parent = nullptr);

    QString name() const { return m_name; }

    RibbonPanel* addPanel(const QString& name);
    int panelCount() const { return static_cast<int>(m_panels.size()); }
    // nullptr when index is out of range.
    RibbonPanel* panelAt(int index) const;

    void recalcLayout();

private:
    QString m_name;
    QPointer<CommandRouter> m_router;
    QPointer<CommandTarget> m_owner;
    QHBoxLayout* m_layout;
    std::vector<RibbonPanel*> m_panels;
};

} // namespace platform
