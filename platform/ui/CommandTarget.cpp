#include "platform/ui/CommandTarget.h"

#include <utility>

namespace platform {

CommandTarget::CommandTarget(QObject* parent) : QObject(parent) {}

void CommandTarget::onCommand(UINT id, Handler handler) {
    m_commands.push_back({id, id, [handler = std::move(handler)](UINT) { handler(); }});
}

void CommandTarget::onCommandRange(UINT first, UINT last, RangeHandler handler) {
    m_commands.push_back({first, last, std::move(handler)});
}

void CommandTarget::onUpdate(UINT id, UpdateHandler handler) {
    m_updates.push_back({id, id, std::move(handler)});
}

void CommandTarget::onUpdateRange(UINT first, UINT last, UpdateHandler handler) {
    m_updates.push_back({first, last, std::move(handler)});
}

void CommandTarget::setNextTarget(CommandTarget* next) {
    m_next = next;
}

void CommandTarget::setActiveChildProvider(ChildProvider provider) {
    m_activeChild = std::move(provider);
}

CommandTarget* CommandTarget::activeChild() const {
    return m_activeChild ? m_activeChild() : nullptr;
}

bool CommandTarget::hasCommandHandler(UINT id) const {
    return findCommand(id) != nullptr;
}

bool CommandTarget::runCommand(UINT id) const {
    const CommandEntry* entry = findCommand(id);
    if (!entry)
        return false;
    // A copy, because the handler may add entries or destroy this target.
    RangeHandler handler = entry->handler;
    handler(id);
    return true;
}

bool CommandTarget::runUpdate(CmdUI& cmdUI) const {
    const UpdateEntry* entry = findUpdate(cmdUI.id());
    if (!entry)
        return false;
    UpdateHandler handler = entry->handler;
    handler(cmdUI);
    return true;
}

const CommandTarget::CommandEntry* CommandTarget::findCommand(UINT id) const {
    for (const CommandEntry& entry : m_commands) {
        if (id >= entry.first && id <= entry.last)
            return &entry;
    }
    return nullptr;
}

const CommandTarget::UpdateEntry* CommandTarget::findUpdate(UINT id) const {
    for (const UpdateEntry& entry : m_updates) {
        if (id >= entry.first && id <= entry.last)
            return &entry;
    }
    return nullptr;
}

} // namespace platform
