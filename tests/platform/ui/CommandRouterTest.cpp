#include "platform/ui/CommandRouter.h"

#include <QAction>
#include <QCheckBox>
#include <QCoreApplication>
#include <QDialog>
#include <QEventLoop>
#include <QKeyEvent>
#include <QMenu>
#include <QPushButton>
#include <QShortcut>
#include <QTimer>
#include <gtest/gtest.h>

namespace platform {
namespace {

// A main window's target with two profile windows' targets below it; the test picks the active one.
class CommandRouterTest : public ::testing::Test {
protected:
    CommandRouterTest() {
        first.setNextTarget(&main);
        second.setNextTarget(&main);
        main.setActiveChildProvider([this] { return active; });
    }

    std::unique_ptr<QPushButton> button(UINT id, CommandTarget* owner) {
        auto b = std::make_unique<QPushButton>();
        router.bindButton(b.get(), id, owner);
        return b;
    }

    CommandTarget main, first, second;
    CommandTarget* active = nullptr;
    CommandRouter router;
};

TEST_F(CommandRouterTest, EachControlIsDecidedAlongItsOwnWindowsRouteOnly) {
    active = &second;
    EXPECT_EQ(CommandRouter::route(&main), (std::vector<CommandTarget*>{&second, &main}));
    EXPECT_EQ(CommandRouter::route(&first), (std::vector<CommandTarget*>{&first, &main}));
    EXPECT_TRUE(CommandRouter::route(nullptr).empty());
    std::vector<QString> ran;
    main.onCommand(1131, [&] { ran.push_back("main"); });
    // The active window disables its own 1131; the other window's 1131 is the main window's business.
    second.onUpdate(1131, [](CmdUI& ui) { ui.Enable(false); });
    auto inFirst = button(1131, &first);
    auto inSecond = button(1131, &second);

    router.runUpdatePass();

    EXPECT_TRUE(inFirst->isEnabled());
    EXPECT_FALSE(inSecond->isEnabled());
    EXPECT_TRUE(router.execute(&first, 1131));
    EXPECT_FALSE(router.execute(&main, 1131)); // offered to the active child first, which refuses
    EXPECT_EQ(ran, std::vector<QString>{"main"});
    main.setNextTarget(&second); // a cycle ends the route
    EXPECT_EQ(CommandRouter::route(&second), (std::vector<CommandTarget*>{&second, &main}));
}

TEST_F(CommandRouterTest, UpdatesSetEnabledCheckAndTextWhenTheLoopGoesIdleAfterAnEvent) {
    bool mitm = true;
    main.onCommand(1055, [] {});                                    // a handler, no update handler
    main.onUpdate(59137, [](CmdUI& ui) { ui.SetText(QString()); }); // leaves enabled alone
    main.onCommand(32799, [] {});
    main.onUpdate(32799, [&](CmdUI& ui) { ui.SetCheck(mitm); });
    auto showLog = button(1055, &main);
    showLog->setEnabled(false);
    auto caps = button(59137, &main);
    caps->setEnabled(false);
    auto exit = button(32774, &first); // nothing handles it
    QCheckBox box;
    router.bindButton(&box, 32799, &main);
    QAction item("Enable Mitm Protection");
    router.bindAction(&item, 32799, &main);

    router.runUpdatePass();
    EXPECT_TRUE(showLog->isEnabled());
    EXPECT_FALSE(caps->isEnabled());
    EXPECT_FALSE(exit->isEnabled());
    EXPECT_TRUE(box.isChecked() && item.isChecked());

    mitm = false;
    EXPECT_TRUE(box.isChecked());
    QEventLoop loop;
    QTimer::singleShot(0, &loop, [&] {
        QCoreApplication::postEvent(&main, new QEvent(QEvent::User));
        QTimer::singleShot(0, &loop, &QEventLoop::quit);
    });
    loop.exec();
    EXPECT_FALSE(box.isChecked() || item.isChecked());
}

TEST_F(CommandRouterTest, DisabledCommandIsRefusedFromButtonAcceleratorAndMenuAlike) {
    bool enabled = true;
    int runs = 0;
    main.onCommand(353, [&] { ++runs; });
    main.onUpdate(353, [&](CmdUI& ui) { ui.Enable(enabled); });
    auto rename = button(353, &first);
    QWidget window;
    QShortcut* f2 = router.addAccelerators(&window, {{QKeySequence(Qt::Key_F2), 353}}, &main).at(0);
    std::unique_ptr<QMenu> menu(router.buildMenu({{353, "&Rename"}}, &main));
    const std::vector<std::function<void()>> issues = {
        [&] { rename->click(); }, [&] { emit f2->activated(); }, [&] { menu->actions().at(0)->trigger(); }};
    for (size_t i = 0; i < issues.size(); ++i) {
        for (const bool allowed : {false, true}) {
            enabled = true;
            router.runUpdatePass();
            enabled = allowed; // the control still looks enabled: no update pass has run since
            const int before = runs;
            issues[i]();
            EXPECT_EQ(runs, before + (allowed ? 1 : 0)) << i;
        }
    }
    main.onUpdate(314, [](CmdUI& ui) { ui.Enable(true); }); // enabled, but nothing handles it
    EXPECT_FALSE(router.execute(&main, 314));
    EXPECT_FALSE(router.execute(nullptr, 353));
}

TEST_F(CommandRouterTest, PopupMenuOutlivesItsCommandAndIsDeletedOnceClosed) {
    QPointer<QMenu> menu;
    bool aliveAfterPrompt = false;
    main.onCommand(333, [&] {
        QDialog prompt; // a modal prompt: its nested event loop carries out deferred deletions
        QMetaObject::invokeMethod(&prompt, &QDialog::accept, Qt::QueuedConnection);
        prompt.exec();
        aliveAfterPrompt = !menu.isNull();
    });
    menu = router.popupMenu({{311, "&Connect..."}, {}, {333, "&Remove pairing"}}, &main, QPoint(10, 10));
    EXPECT_TRUE(menu->actions().at(1)->isSeparator());
    EXPECT_FALSE(menu->actions().at(0)->isEnabled()); // updated as it opened: nothing handles 311
    menu->setActiveAction(menu->actions().at(2));

    // The user chooses the item: the menu hides (and schedules its deletion), then the item triggers.
    QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
    QCoreApplication::sendEvent(menu, &enter);

    EXPECT_TRUE(aliveAfterPrompt);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(menu.isNull());
}

TEST_F(CommandRouterTest, ControlsAndWindowsMayGoAwayAtAnyTime) {
    auto window = std::make_unique<CommandTarget>();
    window->onUpdate(1008, [](CmdUI& ui) { ui.Enable(false); });
    auto orphan = button(1008, window.get());
    window.reset();
    router.runUpdatePass();
    EXPECT_TRUE(orphan->isEnabled()); // left alone
    const QPushButton* gone = orphan.get();
    orphan.reset();
    EXPECT_FALSE(router.isBound(gone));

    auto* frame = new CommandTarget;
    first.setNextTarget(frame);
    frame->onCommand(1036, [] {});
    first.onUpdate(1036, [&](CmdUI& ui) {
        delete frame;
        ui.Enable();
    });
    EXPECT_FALSE(router.execute(&first, 1036));

    auto* self = new QPushButton;
    main.onCommand(318, [&] { delete self; });
    router.bindButton(self, 310, &main);
    router.bindButton(self, 318, &main); // binding again replaces the command
    self->click();
    EXPECT_FALSE(router.isBound(self));
}

} // namespace
} // namespace platform
