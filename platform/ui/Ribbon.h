// The main window's ribbon: categories (tabs) of panels whose elements issue commands.
#pragma once

#include "platform/WinTypes.h"

#include <QPointer>
#include <QString>
#include <QWidget>
#include <vector>

class QTabWidget;

namespace platform {

class CommandRouter;
class CommandTarget;
class RibbonCategory;
class RibbonElement;

// Every element is bound to the router with the owner as the target its commands start from (the
// main window's, which offers them to the active child first). The router must outlive the ribbon.
class Ribbon : public QWidget {
    Q_OBJECT
public:
    Ribbon(CommandRouter& router, CommandTarget* owner, QWidget* parent = nullptr);

    RibbonCategory* addCategory(const QString& name);
    int categoryCount() const { return static_cast<int>(m_categories.size()); }
    // nullptr when index is out of range.
    RibbonCategory* categoryAt(int index) const;

    // The first element with this id, in category, panel and element order; nullptr when none.
    RibbonElement* findById(UINT id) const;

    void recalcLayout();

private:
    CommandRouter& m_router;
    QPointer<CommandTarget> m_owner;
    QTabWidget* m_tabs;
    std::vector<RibbonCategory*> m_categories;
};

} // namespace platform
