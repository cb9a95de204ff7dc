#include "platform/ui/CommandRouter.h"

#include <QAbstractButton>
#include <QAbstractEventDispatcher>
#include <QAction>
#include <QCheckBox>
#include <QCoreApplication>
#include <QEvent>
#include <QMenu>
#include <QShortcut>
#include <QWidget>
#include <algorithm>

namespace platform {

namespace {

bool contains(const std::vector<CommandTarget*>& targets, const CommandTarget* target) {
    return std::find(targets.begin(), targets.end(), target) != targets.end();
}

// Handlers may destroy windows, so a route is walked through guarded pointers.
using GuardedRoute = std::vector<QPointer<CommandTarget>>;

GuardedRoute guarded(const std::vector<CommandTarget*>& targets) {
    return {targets.begin(), targets.end()};
}

bool anyCommandHandler(const GuardedRoute& route, UINT id) {
    return std::any_of(route.begin(), route.end(), [id](const QPointer<CommandTarget>& target) {
        return target && target->hasCommandHandler(id);
    });
}

// Events that only repaint or re-lay out widgets cannot change what an update handler decides.
bool mayChangeState(QEvent::Type type) {
    switch (type) {
    case QEvent::Paint:
    case QEvent::UpdateRequest:
    case QEvent::UpdateLater:
    case QEvent::LayoutRequest:
    case QEvent::Move:
    case QEvent::Resize:
    case QEvent::HoverMove:
    case QEvent::MouseMove:
    case QEvent::Polish:
    case QEvent::PolishRequest:
    case QEvent::ChildPolished:
    case QEvent::ToolTip:
    case QEvent::StatusTip:
        return false;
    default:
        return true;
    }
}

void applyCheck(QAbstractButton* button, int check) {
    if (auto* box = qobject_cast<QCheckBox*>(button)) {
        if (check == 2)
            box->setTristate(true);
        box->setCheckState(check == 0 ? Qt::Unchecked : check == 1 ? Qt::Checked : Qt::PartiallyChecked);
        return;
    }
    if (button->isCheckable())
        button->setChecked(check != 0);
}

} // namespace

CommandRouter::CommandRouter(QObject* parent) : QObject(parent) {
    QCoreApplication::instance()->installEventFilter(this);
    if (auto* dispatcher = QAbstractEventDispatcher::instance(thread()))
        connect(dispatcher, &QAbstractEventDispatcher::aboutToBlock, this, [this] { onAboutToBlock(); });
}

CommandRouter::~CommandRouter() {
    m_running.clear();
    releaseHeldDeletions();
}

std::vector<CommandTarget*> CommandRouter::route(CommandTarget* origin) {
    std::vector<CommandTarget*> targets;
    if (!origin)
        return targets;
    CommandTarget* child = origin->activeChild();
    if (child && child != origin)
        targets.push_back(child);
    for (CommandTarget* target = origin; target && !contains(targets, target); target = target->nextTarget())
        targets.push_back(target);
    return targets;
}

void CommandRouter::bind(QObject* control, UINT id, CommandTarget* owner, CmdUISink sink) {
    unbind(control);
    m_bindings.push_back({control, id, owner, std::move(sink)});
    connect(control, &QObject::destroyed, this, [this, control] { unbind(control); });
    m_dirty = true;
}

void CommandRouter::unbind(QObject* control) {
    std::erase_if(m_bindings, [control](const Binding& binding) {
        return binding.control == control || binding.control.isNull();
    });
    disconnect(control, nullptr, this, nullptr);
}

bool CommandRouter::isBound(const QObject* control) const {
    return findBinding(control) != nullptr;
}

void CommandRouter::bindButton(QAbstractButton* button, UINT id, CommandTarget* owner) {
    QPointer<QAbstractButton> guard(button);
    CmdUISink sink{
        [guard](bool on) {
            if (guard)
                guard->setEnabled(on);
        },
        [guard](int check) {
            if (guard)
                applyCheck(guard, check);
        },
        [guard](const QString& text) {
            if (guard)
                guard->setText(text);
        },
    };
    bind(button, id, owner, std::move(sink));
    connect(button, &QAbstractButton::clicked, this, [this, button] { invoke(button); });
}

void CommandRouter::bindAction(QAction* action, UINT id, CommandTarget* owner) {
    QPointer<QAction> guard(action);
    CmdUISink sink{
        [guard](bool on) {
            if (guard)
                guard->setEnabled(on);
        },
        [guard](int check) {
            if (!guard)
                return;
            guard->setCheckable(true);
            guard->setChecked(check != 0);
        },
        [guard](const QString& text) {
            if (guard)
                guard->setText(text);
        },
    };
    bind(action, id, owner, std::move(sink));
    connect(action, &QAction::triggered, this, [this, action] { invoke(action); });
}

bool CommandRouter::invoke(QObject* control) {
    const Binding* binding = findBinding(control);
    if (!binding)
        return false;
    QPointer<QObject> guard(control);
    CommandTarget* owner = binding->owner;
    const UINT id = binding->id;
    m_running.emplace_back(control);
    const bool ran = execute(owner, id);
    m_running.pop_back();
    releaseHeldDeletions();
    if (guard)
        updateControl(guard);
    return ran;
}

bool CommandRouter::execute(CommandTarget* origin, UINT id) {
    if (!isCommandEnabled(origin, id))
        return false;
    m_dirty = true;
    for (const QPointer<CommandTarget>& target : guarded(route(origin))) {
        if (target && target->runCommand(id))
            return true;
    }
    return false;
}

bool CommandRouter::isCommandEnabled(CommandTarget* origin, UINT id) {
    const GuardedRoute targets = guarded(route(origin));
    CmdUI probe(id);
    for (const QPointer<CommandTarget>& target : targets) {
        // An update handler that leaves the state alone leaves the command enabled.
        if (target && target->runUpdate(probe))
            return probe.enabled().value_or(true) && anyCommandHandler(targets, id);
    }
    return anyCommandHandler(targets, id);
}

void CommandRouter::runUpdatePass() {
    std::vector<QPointer<QObject>> controls;
    controls.reserve(m_bindings.size());
    for (const Binding& binding : m_bindings)
        controls.emplace_back(binding.control);
    for (const QPointer<QObject>& control : controls) {
        if (control)
            updateControl(control);
    }
    // Cleared last: what the pass itself changes needs no second pass.
    m_dirty = false;
}

void CommandRouter::updateControl(QObject* control) {
    const Binding* binding = findBinding(control);
    if (!binding || !binding->owner)
        return;
    // A copy: an update handler may bind or unbind controls.
    const Binding current = *binding;
    update(current);
}

void CommandRouter::update(const Binding& binding) {
    const GuardedRoute targets = guarded(route(binding.owner));
    CmdUI cmdUI(binding.id, binding.sink);
    for (const QPointer<CommandTarget>& target : targets) {
        if (target && target->runUpdate(cmdUI))
            return;
    }
    cmdUI.Enable(anyCommandHandler(targets, binding.id));
}

QMenu* CommandRouter::buildMenu(const std::vector<MenuItem>& items, CommandTarget* owner, QWidget* parent) {
    auto* menu = new QMenu(parent);
    fillMenu(menu, items, owner);
    return menu;
}

QMenu* CommandRouter::popupMenu(const std::vector<MenuItem>& items, CommandTarget* owner,
                                const QPoint& globalPos, QWidget* parent) {
    QMenu* menu = buildMenu(items, owner, parent);
    // Deleted later: the triggered action is delivered after the menu has hidden.
    connect(menu, &QMenu::aboutToHide, menu, &QObject::deleteLater);
    menu->popup(globalPos);
    return menu;
}

void CommandRouter::fillMenu(QMenu* menu, const std::vector<MenuItem>& items, CommandTarget* owner) {
    for (const MenuItem& item : items) {
        if (!item.subItems.empty()) {
            fillMenu(menu->addMenu(item.text), item.subItems, owner);
            continue;
        }
        if (item.id == 0) {
            menu->addSeparator();
            continue;
        }
        bindAction(menu->addAction(item.text), item.id, owner);
    }
    connect(menu, &QMenu::aboutToShow, this, [this, menu] { updateMenu(menu); });
}

void CommandRouter::updateMenu(QMenu* menu) {
    for (QAction* action : menu->actions()) {
        if (!action->menu())
            updateControl(action);
    }
}

std::vector<QShortcut*> CommandRouter::addAccelerators(QWidget* window, const std::vector<Accelerator>& table,
                                                       CommandTarget* owner) {
    std::vector<QShortcut*> shortcuts;
    QPointer<CommandTarget> guard(owner);
    for (const Accelerator& accelerator : table) {
        auto* shortcut = new QShortcut(accelerator.key, window);
        shortcut->setContext(Qt::WindowShortcut);
        const UINT id = accelerator.id;
        connect(shortcut, &QShortcut::activated, this, [this, guard, id] {
            if (guard)
                execute(guard, id);
        });
        shortcuts.push_back(shortcut);
    }
    return shortcuts;
}

bool CommandRouter::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::DeferredDelete && containsRunningControl(watched)) {
        m_heldDeletions.emplace_back(watched);
        return true;
    }
    if (mayChangeState(event->type()))
        m_dirty = true;
    return QObject::eventFilter(watched, event);
}

bool CommandRouter::containsRunningControl(const QObject* object) const {
    for (const QPointer<QObject>& control : m_running) {
        for (const QObject* inner = control; inner; inner = inner->parent()) {
            if (inner == object)
                return true;
        }
    }
    return false;
}

void CommandRouter::releaseHeldDeletions() {
    std::vector<QPointer<QObject>> held;
    held.swap(m_heldDeletions);
    for (const QPointer<QObject>& object : held) {
        if (!object)
            continue;
        if (containsRunningControl(object))
            m_heldDeletions.push_back(object);
        else
            QCoreApplication::postEvent(object, new QDeferredDeleteEvent);
    }
}

const CommandRouter::Binding* CommandRouter::findBinding(const QObject* control) const {
    auto found = std::find_if(m_bindings.begin(), m_bindings.end(),
                              [control](const Binding& binding) { return binding.control == control; });
    return found == m_bindings.end() ? nullptr : &*found;
}

void CommandRouter::onAboutToBlock() {
    if (m_dirty)
        runUpdatePass();
}

} // namespace platform
