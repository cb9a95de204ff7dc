// A titled group of ribbon elements inside a category.
#pragma once

#include "platform/WinTypes.h"

#include <QIcon>
#include <QPointer>
#include <QString>
#include <QWidget>
#include <vector>

class QHBoxLayout;
class QLabel;

namespace platform {

class CommandRouter;
class CommandTarget;
class RibbonButton;
class RibbonCheckBox;
class RibbonEdit;
class RibbonElement;

// Owns its elements. Every element added here is bound to the router with owner as the target its
// commands start from.
class RibbonPanel : public QWidget {
    Q_OBJECT
public:
    RibbonPanel(const QString& name, CommandRouter* router, CommandTarget* owner, QWidget* parent = nullptr);

    QString name() const;

    RibbonButton* addButton(UINT id, const QString& label, const QIcon& icon = {}, bool large = true);
    RibbonEdit* addEdit(UINT id, const QString& label, int width, int minimum, int maximum);
    RibbonCheckBox* addCheckBox(UINT id, const QString& label);
    // Adds an element at the end and takes ownership of it.
    void append(RibbonElement* element);

    int elementCount() const { return static_cast<int>(m_elements.size()); }
    // nullptr when index is out of range.
    RibbonElement* elementAt(int index) const;
    // Removes the element at index and destroys it; false when index is out of range. The element
    // is unbound and hidden at once and deleted when control returns to the event loop, so an
    // element may remove itself from inside its own command.
    bool removeAt(int index);

    void recalcLayout();

private:
    QPointer<CommandRouter> m_router;
    QPointer<CommandTarget> m_owner;
    QLabel* m_title;
    QWidget* m_content;
    QHBoxLayout* m_columns = nullptr;
    std::vector<RibbonElement*> m_elements;
};

} // namespace platform
