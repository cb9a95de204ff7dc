// One tab of the ribbon: a row of panels.
#pragma once

#include <QPointer>
#include <QString>
#include <QWidget>
#include <vector>

class QHBoxLayout;
class QScrollArea;

namespace platform {

class CommandRouter;
class CommandTarget;
class RibbonPanel;

// Panels sit side by side at their natural widths from the left. When the category is narrower than
// its panels, a scroll bar below them reaches the rest; no control is ever cut.
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

    // The panels' own size, plus the scroll bar while it shows; any width down to nothing.
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

private:
    QString m_name;
    QPointer<CommandRouter> m_router;
    QPointer<CommandTarget> m_owner;
    QScrollArea* m_scroll;
    QWidget* m_row;
    QHBoxLayout* m_layout;
    std::vector<RibbonPanel*> m_panels;
};

} // namespace platform
