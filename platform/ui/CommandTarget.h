// A window's command map: command and update handlers by id or id range, and where to route next.
#pragma once

#include "platform/WinTypes.h"
#include "platform/ui/CmdUI.h"

#include <QObject>
#include <QPointer>
#include <functional>
#include <vector>

namespace platform {

// Entries are looked up in the order they were added and the first match wins, so a window adds its
// specific ids before the ranges that contain them. A QObject so that routes and bindings can hold
// guarded pointers: a window that goes away simply drops out of every route.
class CommandTarget : public QObject {
public:
    using Handler = std::function<void()>;
    using RangeHandler = std::function<void(UINT)>;
    using UpdateHandler = std::function<void(CmdUI&)>;
    using ChildProvider = std::function<CommandTarget*()>;

    explicit CommandTarget(QObject* parent = nullptr);

    void onCommand(UINT id, Handler handler);
    void onCommandRange(UINT first, UINT last, RangeHandler handler);
    void onUpdate(UINT id, UpdateHandler handler);
    void onUpdateRange(UINT first, UINT last, UpdateHandler handler);

    // The target asked next when this one has no handler (a profile window names the main window).
    void setNextTarget(CommandTarget* next);
    CommandTarget* nextTarget() const { return m_next; }

    // The main window's MDI rule: commands that start at this target are offered to the active
    // child first. The provider may return nullptr when no child is active.
    void setActiveChildProvider(ChildProvider provider);
    CommandTarget* activeChild() const;

    // Lookups in this target only; the router walks the route.
    bool hasCommandHandler(UINT id) const;
    bool runCommand(UINT id) const;
    bool runUpdate(CmdUI& cmdUI) const;

private:
    struct CommandEntry {
        UINT first;
        UINT last;
        RangeHandler handler;
    };
    struct UpdateEntry {
        UINT first;
        UINT last;
        UpdateHandler handler;
    };

    const CommandEntry* findCommand(UINT id) const;
    const UpdateEntry* findUpdate(UINT id) const;

    std::vector<CommandEntry> m_commands;
    std::vector<UpdateEntry> m_updates;
    QPointer<CommandTarget> m_next;
    ChildProvider m_activeChild;
};

} // namespace platform
