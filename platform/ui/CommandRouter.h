// Routes commands and update requests from bound controls to the command targets of the windows.
#pragma once

#include "platform/WinTypes.h"
#include "platform/ui/CmdUI.h"
#include "platform/ui/CommandTarget.h"

#include <QKeySequence>
#include <QObject>
#include <QPoint>
#include <QPointer>
#include <QString>
#include <utility>
#include <vector>

class QAbstractButton;
class QAction;
class QMenu;
class QShortcut;
class QWidget;

namespace platform {

// One entry of a menu: a command item, a submenu or a separator.
struct MenuItem {
    MenuItem() = default; // a separator
    MenuItem(UINT commandId, const QString& itemText) : id(commandId), text(itemText) {}
    MenuItem(const QString& menuText, std::vector<MenuItem> items)
        : text(menuText), subItems(std::move(items)) {}

    UINT id = 0;
    QString text;
    std::vector<MenuItem> subItems;
};

// One accelerator: a key that issues a command, no matter which control has the focus.
struct Accelerator {
    QKeySequence key;
    UINT id = 0;
};

// One router per main window, owned by it; every control of that window and of its child windows is
// bound here to its command id and to the target of the window that owns it.
//
// Route of a request that starts at target T: the active child of T (when T names one), then T, then
// T's next targets. The active child is asked only for requests that start at T itself, so a control
// in one profile window is never decided by another window's handlers for an id both reuse.
//
// Update of one control: the first update handler on its route decides; when there is none, the
// control is enabled exactly when some command handler on the route takes its id. Bind command
// controls only: a bound control without any handler is disabled.
//
// The update pass over all bound controls runs when the event loop is about to wait after it has
// delivered something that may change state (input, posted events, timers), and on demand.
//
// A control is never destroyed by a deferred deletion while its own command runs: a handler may open
// a modal prompt whose nested event loop carries out deletions posted before or during the command
// (a popup menu deletes itself once hidden; a window closed by the command deletes itself later).
// Such a deletion of the control or of any object that contains it is held back and posted again
// once the command has returned, so the control's own code after the command finds it alive.
class CommandRouter : public QObject {
public:
    explicit CommandRouter(QObject* parent = nullptr);
    ~CommandRouter() override;

    // Generic binding: the sink applies update results to the control. The binding ends when the
    // control is destroyed or unbound.
    void bind(QObject* control, UINT id, CommandTarget* owner, CmdUISink sink);
    void unbind(QObject* control);
    bool isBound(const QObject* control) const;

    // A push button, check box or radio button: a click issues the command; enabled state, check
    // mark and text follow the update.
    void bindButton(QAbstractButton* button, UINT id, CommandTarget* owner);
    // A menu item: triggering issues the command; enabled state, check mark and text follow.
    void bindAction(QAction* action, UINT id, CommandTarget* owner);

    // Issues the command of a bound control for that control (a click), then refreshes the control
    // at once. Returns whether a handler ran. Deferred deletions of the control and of its ancestors
    // wait until this returns.
    bool invoke(QObject* control);

    // Runs the update of the command along the route from origin first; refuses (runs nothing,
    // returns false) when the command is disabled or nothing handles it.
    bool execute(CommandTarget* origin, UINT id);
    bool isCommandEnabled(CommandTarget* origin, UINT id);

    void runUpdatePass();
    void updateControl(QObject* control);

    // A menu whose items issue commands from owner; each opening runs the items' updates first.
    // The caller owns the menu.
    QMenu* buildMenu(const std::vector<MenuItem>& items, CommandTarget* owner, QWidget* parent = nullptr);
    // Builds the menu, opens it at the global position without blocking and deletes it once closed.
    QMenu* popupMenu(const std::vector<MenuItem>& items, CommandTarget* owner, const QPoint& globalPos,
                     QWidget* parent = nullptr);

    // Binds each key to window (window-wide shortcuts) issuing its command from owner.
    std::vector<QShortcut*> addAccelerators(QWidget* window, const std::vector<Accelerator>& table,
                                            CommandTarget* owner);

    static std::vector<CommandTarget*> route(CommandTarget* origin);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct Binding {
        QPointer<QObject> control;
        UINT id;
        QPointer<CommandTarget> owner;
        CmdUISink sink;
    };

    const Binding* findBinding(const QObject* control) const;
    void update(const Binding& binding);
    void updateMenu(QMenu* menu);
    void fillMenu(QMenu* menu, const std::vector<MenuItem>& items, CommandTarget* owner);
    void onAboutToBlock();
    bool containsRunningControl(const QObject* object) const;
    void releaseHeldDeletions();

    std::vector<Binding> m_bindings;
    // Controls whose command is running, innermost last.
    std::vector<QPointer<QObject>> m_running;
    // Objects whose deferred deletion waits for a running command to return.
    std::vector<QPointer<QObject>> m_heldDeletions;
    bool m_dirty = true;
};

} // namespace platform
