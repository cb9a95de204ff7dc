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
#include <QWidget>
#include <gtest/gtest.h>
#include <memory>
#include <vector>

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

    CommandTarget main;
    CommandTarget first;
    CommandTarget second;
    CommandTarget* active = nullptr;
    CommandRouter router;
    std::vector<QString> ran;
};

TEST_F(CommandRouterTest, CommandGoesToTheOwningTargetBeforeTheNext) {
    main.onCommand(1046, [&] { ran.push_back("main"); });
    first.onCommand(1046, [&] { ran.push_back("first"); });

    EXPECT_TRUE(router.execute(&first, 1046));
    EXPECT_TRUE(router.execute(&second, 1046));

    EXPECT_EQ(ran, (std::vector<QString>{"first", "main"}));
}

TEST_F(CommandRouterTest, MainWindowOffersItsCommandsToTheActiveChildFirst) {
    main.onCommand(1132, [&] { ran.push_back("main"); });
    second.onCommand(1132, [&] { ran.push_back("second"); });

    router.execute(&main, 1132);
    active = &second;
    router.execute(&main, 1132);

    EXPECT_EQ(ran, (std::vector<QString>{"main", "second"}));
}

TEST_F(CommandRouterTest, RouteListsActiveChildOwnerAndNextTargetsOnce) {
    active = &first;
    EXPECT_EQ(CommandRouter::route(&main), (std::vector<CommandTarget*>{&first, &main}));
    EXPECT_EQ(CommandRouter::route(&first), (std::vector<CommandTarget*>{&first, &main}));
    EXPECT_EQ(CommandRouter::route(&second), (std::vector<CommandTarget*>{&second, &main}));
    EXPECT_TRUE(CommandRouter::route(nullptr).empty());
}

TEST_F(CommandRouterTest, RouteStopsAtACycleOfNextTargets) {
    main.setNextTarget(&first);
    EXPECT_EQ(CommandRouter::route(&first), (std::vector<CommandTarget*>{&first, &main}));
}

TEST_F(CommandRouterTest, ReusedIdIsUpdatedSeparatelyForEachWindow) {
    bool firstSupports = true;
    bool secondSupports = false;
    first.onUpdate(1131, [&](CmdUI& ui) { ui.Enable(firstSupports); });
    second.onUpdate(1131, [&](CmdUI& ui) { ui.Enable(secondSupports); });
    main.onCommand(1131, [] {});
    auto inFirst = button(1131, &first);
    auto inSecond = button(1131, &second);

    router.runUpdatePass();
    EXPECT_TRUE(inFirst->isEnabled());
    EXPECT_FALSE(inSecond->isEnabled());

    firstSupports = false;
    secondSupports = true;
    router.runUpdatePass();
    EXPECT_FALSE(inFirst->isEnabled());
    EXPECT_TRUE(inSecond->isEnabled());
}

TEST_F(CommandRouterTest, ActiveChildNeverDecidesAnotherWindowsControl) {
    // The active window disables its own 1288; the other window's 1288 is the main window's business.
    second.onUpdate(1288, [](CmdUI& ui) { ui.Enable(false); });
    main.onCommand(1288, [] {});
    active = &second;
    auto inFirst = button(1288, &first);

    router.runUpdatePass();

    EXPECT_TRUE(inFirst->isEnabled());
}

TEST_F(CommandRouterTest, CommandWithHandlerButNoUpdateHandlerIsEnabled) {
    main.onCommand(1055, [] {});
    auto showLog = button(1055, &main);
    showLog->setEnabled(false);

    router.runUpdatePass();

    EXPECT_TRUE(showLog->isEnabled());
}

TEST_F(CommandRouterTest, ControlWithoutAnyHandlerOnItsRouteIsDisabled) {
    second.onCommand(32774, [] {});
    auto exit = button(32774, &first);
    QAction about(QStringLiteral("&About..."));
    router.bindAction(&about, 57664, &main);

    router.runUpdatePass();

    EXPECT_FALSE(exit->isEnabled());
    EXPECT_FALSE(about.isEnabled());
}

TEST_F(CommandRouterTest, UpdateHandlerThatLeavesEnabledAloneKeepsTheControlsState) {
    main.onUpdate(59137, [](CmdUI& ui) { ui.SetText(QString()); });
    auto indicator = button(59137, &main);
    indicator->setText(QStringLiteral("CAP"));
    indicator->setEnabled(false);

    router.runUpdatePass();

    EXPECT_FALSE(indicator->isEnabled());
    EXPECT_TRUE(indicator->text().isEmpty());
}

TEST_F(CommandRouterTest, UpdateSetsCheckMarksOnCheckBoxesAndMenuItems) {
    bool mitm = true;
    main.onCommand(32799, [&] { mitm = !mitm; });
    main.onUpdate(32799, [&](CmdUI& ui) {
        ui.Enable();
        ui.SetCheck(mitm);
    });
    QCheckBox box;
    router.bindButton(&box, 32799, &main);
    QAction item(QStringLiteral("Enable Mitm Protection"));
    router.bindAction(&item, 32799, &main);

    router.runUpdatePass();
    EXPECT_TRUE(box.isChecked());
    EXPECT_TRUE(item.isChecked());

    box.click();
    router.runUpdatePass();
    EXPECT_FALSE(mitm);
    EXPECT_FALSE(box.isChecked());
    EXPECT_FALSE(item.isChecked());
}

TEST_F(CommandRouterTest, UpdatePassRunsOnDemandOnly) {
    bool pending = false;
    main.onCommand(1057, [] {});
    main.onUpdate(1057, [&](CmdUI& ui) { ui.Enable(!pending); });
    auto update = button(1057, &main);
    router.runUpdatePass();

    pending = true;
    EXPECT_TRUE(update->isEnabled());
    router.runUpdatePass();
    EXPECT_FALSE(update->isEnabled());
}

TEST_F(CommandRouterTest, UpdatePassRunsWhenTheEventLoopGoesIdleAfterAnEvent) {
    bool pending = false;
    main.onCommand(1057, [] {});
    main.onUpdate(1057, [&](CmdUI& ui) { ui.Enable(!pending); });
    auto update = button(1057, &main);
    auto runLoopOnce = [] {
        QEventLoop loop;
        QTimer::singleShot(0, &loop, &QEventLoop::quit);
        loop.exec();
    };

    runLoopOnce();
    EXPECT_TRUE(update->isEnabled());

    pending = true;
    QCoreApplication::postEvent(&main, new QEvent(QEvent::User));
    runLoopOnce();
    EXPECT_FALSE(update->isEnabled());
}

TEST_F(CommandRouterTest, ButtonClickIsRefusedWhileTheCommandIsDisabled) {
    bool pending = false;
    int resets = 0;
    main.onCommand(1046, [&] { ++resets; });
    main.onUpdate(1046, [&](CmdUI& ui) { ui.Enable(!pending); });
    auto reset = button(1046, &first);
    router.runUpdatePass();

    pending = true; // the button still looks enabled: no update pass has run since
    reset->click();
    EXPECT_EQ(resets, 0);
    EXPECT_FALSE(reset->isEnabled());

    pending = false;
    router.runUpdatePass();
    reset->click();
    EXPECT_EQ(resets, 1);
}

TEST_F(CommandRouterTest, AcceleratorIsRefusedWhileTheCommandIsDisabled) {
    bool selected = false;
    int renames = 0;
    main.onCommand(353, [&] { ++renames; });
    main.onUpdate(353, [&](CmdUI& ui) { ui.Enable(selected); });
    QWidget window;
    const std::vector<QShortcut*> keys = router.addAccelerators(
        &window, {{QKeySequence(Qt::Key_F5), 310}, {QKeySequence(Qt::Key_F2), 353}}, &main);
    ASSERT_EQ(keys.size(), 2u);
    EXPECT_EQ(keys[1]->key(), QKeySequence(Qt::Key_F2));

    emit keys[1]->activated();
    EXPECT_EQ(renames, 0);

    selected = true;
    emit keys[1]->activated();
    EXPECT_EQ(renames, 1);
}

TEST_F(CommandRouterTest, MenuItemIsRefusedWhileTheCommandIsDisabled) {
    bool deviceSelected = true;
    int connects = 0;
    main.onCommand(311, [&] { ++connects; });
    main.onUpdate(311, [&](CmdUI& ui) { ui.Enable(deviceSelected); });
    std::unique_ptr<QMenu> menu(router.buildMenu({{311, QStringLiteral("&Connect...")}}, &main));
    QAction* connect = menu->actions().at(0);
    emit menu->aboutToShow();
    ASSERT_TRUE(connect->isEnabled());

    deviceSelected = false;
    connect->trigger();
    EXPECT_EQ(connects, 0);
    EXPECT_FALSE(connect->isEnabled());
}

TEST_F(CommandRouterTest, MenuIsBuiltWithSeparatorsAndSubmenusAndUpdatedWhenOpened) {
    main.onCommand(310, [] {});
    const std::vector<MenuItem> frameMenu = {
        {QStringLiteral("&Demo"),
         {{310, QStringLiteral("D&iscover BLE devices...")}, {}, {32774, QStringLiteral("E&xit")}}},
        {QStringLiteral("&Help"), {{57664, QStringLiteral("&About...")}}},
    };
    std::unique_ptr<QMenu> menu(router.buildMenu(frameMenu, &main));
    ASSERT_EQ(menu->actions().size(), 2);
    QMenu* demo = menu->actions().at(0)->menu();
    ASSERT_NE(demo, nullptr);
    ASSERT_EQ(demo->actions().size(), 3);
    EXPECT_TRUE(demo->actions().at(1)->isSeparator());

    emit demo->aboutToShow();

    EXPECT_EQ(demo->actions().at(0)->text(), QStringLiteral("D&iscover BLE devices..."));
    EXPECT_TRUE(demo->actions().at(0)->isEnabled());
    EXPECT_FALSE(demo->actions().at(2)->isEnabled());
}

TEST_F(CommandRouterTest, PopupMenuDeletesItselfAfterClosing) {
    QPointer<QMenu> menu = router.popupMenu({{311, QStringLiteral("&Connect...")}}, &main, QPoint(10, 10));
    ASSERT_TRUE(menu);
    menu->hide();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(menu.isNull());
}

TEST_F(CommandRouterTest, PopupMenuOutlivesItsCommandWhenThatRunsANestedLoop) {
    QPointer<QMenu> menu;
    bool menuAliveAfterPrompt = false;
    main.onCommand(333, [&] {
        // A modal prompt: its nested event loop carries out deferred deletions.
        QDialog prompt;
        QMetaObject::invokeMethod(&prompt, &QDialog::accept, Qt::QueuedConnection);
        prompt.exec();
        menuAliveAfterPrompt = !menu.isNull();
    });
    menu = router.popupMenu({{311, QStringLiteral("&Connect...")}, {333, QStringLiteral("&Remove pairing")}},
                            &main, QPoint(10, 10));
    menu->setActiveAction(menu->actions().at(1));

    // The user chooses the item: the menu hides (and schedules its deletion), then the item triggers.
    QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
    QCoreApplication::sendEvent(menu, &enter);

    EXPECT_TRUE(menuAliveAfterPrompt);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(menu.isNull());
}

TEST_F(CommandRouterTest, DisabledProbeRunsNothingForAnUnknownCommand) {
    EXPECT_FALSE(router.isCommandEnabled(&main, 4242));
    EXPECT_FALSE(router.execute(&main, 4242));
    EXPECT_FALSE(router.execute(nullptr, 4242));
}

TEST_F(CommandRouterTest, UpdateHandlerThatDoesNotDisableLeavesTheCommandRunnable) {
    int toggles = 0;
    main.onCommand(1117, [&] { ++toggles; });
    main.onUpdate(1117, [](CmdUI& ui) { ui.SetCheck(1); });

    EXPECT_TRUE(router.execute(&main, 1117));
    EXPECT_EQ(toggles, 1);
}

TEST_F(CommandRouterTest, UpdateHandlerWithoutCommandHandlerRunsNothing) {
    main.onUpdate(314, [](CmdUI& ui) { ui.Enable(true); });
    EXPECT_FALSE(router.execute(&main, 314));
}

TEST_F(CommandRouterTest, BindingEndsWhenTheControlIsDestroyed) {
    main.onCommand(1046, [] {});
    auto reset = button(1046, &main);
    const QPushButton* raw = reset.get();
    ASSERT_TRUE(router.isBound(raw));

    reset.reset();
    router.runUpdatePass();

    EXPECT_FALSE(router.isBound(raw));
}

TEST_F(CommandRouterTest, ControlOfADestroyedWindowIsLeftAlone) {
    auto window = std::make_unique<CommandTarget>();
    window->onUpdate(1008, [](CmdUI& ui) { ui.Enable(false); });
    auto control = button(1008, window.get());

    window.reset();
    router.runUpdatePass();
    control->click();

    EXPECT_TRUE(control->isEnabled());
}

TEST_F(CommandRouterTest, UpdateHandlerMayDestroyAWindowFurtherOnTheRoute) {
    auto* frame = new CommandTarget;
    CommandTarget pane;
    pane.setNextTarget(frame);
    int runs = 0;
    frame->onCommand(1036, [&] { ++runs; });
    pane.onUpdate(1036, [&](CmdUI& ui) {
        delete frame;
        ui.Enable();
    });

    EXPECT_FALSE(router.execute(&pane, 1036));
    EXPECT_EQ(runs, 0);
}

TEST_F(CommandRouterTest, CommandMayDestroyItsOwnControl) {
    auto* disconnect = new QPushButton;
    main.onCommand(311, [&] { delete disconnect; });
    router.bindButton(disconnect, 311, &main);

    disconnect->click();

    EXPECT_FALSE(router.isBound(disconnect));
}

TEST_F(CommandRouterTest, RebindingAControlReplacesItsCommand) {
    main.onCommand(310, [&] { ran.push_back("310"); });
    main.onCommand(311, [&] { ran.push_back("311"); });
    auto control = button(310, &main);
    router.bindButton(control.get(), 311, &main);

    control->click();

    EXPECT_EQ(ran, (std::vector<QString>{"311"}));
}

} // namespace
} // namespace platform
