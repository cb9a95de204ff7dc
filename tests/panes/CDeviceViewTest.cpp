#include "panes/CDeviceView.h"

#include "panes/CViewTree.h"
#include "platform/DialogItems.h"
#include "platform/StringTable.h"
#include "platform/ui/CommandRouter.h"
#include "platform/ui/CommandTarget.h"
#include "res/StringTable.h"
#include "res/resource.h"

#include <QAction>
#include <QApplication>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPointer>
#include <QTreeWidgetItem>
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace {

// One group's rows as "text=data", in tree order.
using Rows = std::vector<std::string>;

class CDeviceViewTest : public ::testing::Test {
protected:
    void SetUp() override {
        platform::installStringTable(applicationStrings());
        for (UINT id : {ID_CONNECT, ID_RENAME_DEVICE, ID_REMOVE_PAIRING})
            m_owner.onCommand(id, [this, id] { m_commands.push_back(id); });
        m_view = std::make_unique<CDeviceView>(m_router, m_owner);
        CDeviceView::Handlers handlers;
        handlers.selectionChanged = [this](int data) { m_selections.push_back(data); };
        handlers.beginLabelEdit = [this](QTreeWidgetItem*) { return m_allowEdit; };
        handlers.endLabelEdit = [this](QTreeWidgetItem* item, const QString& text, bool cancelled) {
            m_endEdits.push_back({item, text, cancelled});
        };
        handlers.doubleClicked = [this] { ++m_connects; };
        m_view->SetHandlers(handlers);
    }

    void TearDown() override {
        m_view.reset();
        QCoreApplication::processEvents();
    }

    static Rows RowsOf(const QTreeWidgetItem* group) {
        Rows rows;
        for (int i = 0; i < group->childCount(); ++i)
            rows.push_back(group->child(i)->text(0).toStdString() + "=" +
                           std::to_string(CDeviceView::ItemData(group->child(i))));
        return rows;
    }

    Rows Paired() const { return RowsOf(m_view->PairedGroup()); }
    Rows Connected() const { return RowsOf(m_view->ConnectedGroup()); }
    Rows Discovered() const { return RowsOf(m_view->DiscoveredGroup()); }

    // Every group holds device rows only, or exactly one placeholder.
    void ExpectRowsOrOnePlaceholder() const {
        for (const QTreeWidgetItem* group :
             {m_view->PairedGroup(), m_view->ConnectedGroup(), m_view->DiscoveredGroup()}) {
            int placeholders = 0;
            for (int i = 0; i < group->childCount(); ++i)
                placeholders += CDeviceView::ItemData(group->child(i)) == CDeviceView::kPlaceholderData;
            if (placeholders > 0) {
                EXPECT_EQ(placeholders, 1) << group->text(0).toStdString();
                EXPECT_EQ(group->childCount(), 1) << group->text(0).toStdString();
            } else {
                EXPECT_GT(group->childCount(), 0) << group->text(0).toStdString();
            }
        }
    }

    QTreeWidgetItem* Row(QTreeWidgetItem* group, const QString& text) const {
        for (int i = 0; i < group->childCount(); ++i) {
            if (group->child(i)->text(0) == text)
                return group->child(i);
        }
        return nullptr;
    }

    // Shows the pane so that rows have positions, and returns the global centre of item's row.
    QPoint GlobalCentre(QTreeWidgetItem* item) {
        ShowPane();
        CViewTree* tree = m_view->Tree();
        return tree->viewport()->mapToGlobal(tree->visualItemRect(item).center());
    }

    void ShowPane() {
        m_view->resize(300, 400);
        m_view->show();
        QCoreApplication::processEvents();
    }

    struct EndEdit {
        QTreeWidgetItem* item;
        QString text;
        bool cancelled;
    };

    platform::CommandRouter m_router;
    platform::CommandTarget m_owner;
    std::unique_ptr<CDeviceView> m_view;
    std::vector<int> m_selections;
    std::vector<UINT> m_commands;
    std::vector<EndEdit> m_endEdits;
    bool m_allowEdit = true;
    int m_connects = 0;
};

TEST_F(CDeviceViewTest, FreshPaneShowsThreeBoldExpandedGroupsEachWithItsPlaceholder) {
    CViewTree* tree = m_view->Tree();
    ASSERT_EQ(tree->topLevelItemCount(), 3);
    const std::vector<std::string> groups = {"Paired devices", "Connected devices", "Discovered devices"};
    for (int i = 0; i < 3; ++i) {
        const QTreeWidgetItem* group = tree->topLevelItem(i);
        EXPECT_EQ(group->text(0).toStdString(), groups[static_cast<size_t>(i)]);
        EXPECT_EQ(CDeviceView::ItemData(group), CDeviceView::kGroupData);
        EXPECT_TRUE(group->font(0).bold());
        EXPECT_TRUE(group->isExpanded());
    }
    EXPECT_EQ(Paired(), Rows{"No paired devices=-1"});
    EXPECT_EQ(Connected(), Rows{"No connected devices=-1"});
    EXPECT_EQ(Discovered(), Rows{"No discovered devices=-1"});
}

TEST_F(CDeviceViewTest, PaneAndTreeCarryTheirIdsAndTitle) {
    EXPECT_EQ(m_view->windowTitle(), platform::LoadString(IDS_DEVICES_PANE));
    EXPECT_EQ(m_view->property(platform::kControlIdProperty).toUInt(), IDC_DEVICE_PANE);
    EXPECT_EQ(platform::GetDlgItem(m_view.get(), IDC_DEVICE_TREE), m_view->Tree());
}

TEST_F(CDeviceViewTest, InsertDeviceReplacesThePlaceholderAndAppends) {
    m_view->InsertDevice(m_view->DiscoveredGroup(), QStringLiteral("Alpha"), 1);
    m_view->InsertDevice(m_view->DiscoveredGroup(), QStringLiteral("Beta"), 2);
    EXPECT_EQ(Discovered(), (Rows{"Alpha=1", "Beta=2"}));
    EXPECT_EQ(Connected(), Rows{"No connected devices=-1"});
    EXPECT_TRUE(m_selections.empty());
}

TEST_F(CDeviceViewTest, InsertDeviceRefusesARowThatIsNotAGroup) {
    QTreeWidgetItem* placeholder = m_view->PairedGroup()->child(0);
    EXPECT_EQ(m_view->InsertDevice(placeholder, QStringLiteral("Alpha"), 1), nullptr);
    EXPECT_EQ(m_view->InsertDevice(nullptr, QStringLiteral("Alpha"), 1), nullptr);
    EXPECT_EQ(Paired(), Rows{"No paired devices=-1"});
}

TEST_F(CDeviceViewTest, MovingTheOnlyDiscoveredDeviceToConnectedSwapsThePlaceholdersAndSelectsIt) {
    QTreeWidgetItem* item = m_view->InsertDevice(m_view->DiscoveredGroup(), QStringLiteral("Alpha"), 1);
    QTreeWidgetItem* moved = m_view->MoveToConnected(item);
    ASSERT_NE(moved, nullptr);
    EXPECT_EQ(Connected(), Rows{"Alpha=1"});
    EXPECT_EQ(Discovered(), Rows{"No discovered devices=-1"});
    EXPECT_EQ(m_view->Tree()->currentItem(), moved);
    EXPECT_TRUE(moved->isSelected());
    EXPECT_EQ(m_selections, std::vector<int>{1});
}

enum class Target { Paired, Connected, Discovered };

struct MoveCase {
    const char* name;
    Target from;
    Target to;
    Rows paired, connected, discovered;
};

class CDeviceViewMoveTest : public CDeviceViewTest, public ::testing::WithParamInterface<MoveCase> {
protected:
    QTreeWidgetItem* Group(Target target) const {
        switch (target) {
        case Target::Paired:
            return m_view->PairedGroup();
        case Target::Connected:
            return m_view->ConnectedGroup();
        case Target::Discovered:
            break;
        }
        return m_view->DiscoveredGroup();
    }

    QTreeWidgetItem* Move(QTreeWidgetItem* item, Target to) const {
        switch (to) {
        case Target::Paired:
            return m_view->MoveToPaired(item);
        case Target::Connected:
            return m_view->MoveToConnected(item);
        case Target::Discovered:
            break;
        }
        return m_view->MoveToDiscovered(item);
    }
};

// Start: "P" (3) paired, "C" (2) connected, "D1" (1) and "D4" (4) discovered; move the first row of
// the source group to the target group.
TEST_P(CDeviceViewMoveTest, MoveKeepsEachGroupWithRowsOrOnePlaceholder) {
    const MoveCase& c = GetParam();
    m_view->InsertDevice(m_view->DiscoveredGroup(), QStringLiteral("D1"), 1);
    m_view->InsertDevice(m_view->ConnectedGroup(), QStringLiteral("C"), 2);
    m_view->InsertDevice(m_view->PairedGroup(), QStringLiteral("P"), 3);
    m_view->InsertDevice(m_view->DiscoveredGroup(), QStringLiteral("D4"), 4);
    QTreeWidgetItem* item = Group(c.from)->child(0);
    const int data = CDeviceView::ItemData(item);

    QTreeWidgetItem* moved = Move(item, c.to);

    ASSERT_NE(moved, nullptr);
    EXPECT_EQ(moved->parent(), Group(c.to));
    EXPECT_EQ(Group(c.to)->indexOfChild(moved), Group(c.to)->childCount() - 1);
    EXPECT_EQ(Paired(), c.paired);
    EXPECT_EQ(Connected(), c.connected);
    EXPECT_EQ(Discovered(), c.discovered);
    ExpectRowsOrOnePlaceholder();
    EXPECT_EQ(m_view->Tree()->currentItem(), moved);
    EXPECT_EQ(m_selections, std::vector<int>{data});
}

INSTANTIATE_TEST_SUITE_P(Moves, CDeviceViewMoveTest,
                         ::testing::Values(MoveCase{"DiscoveredToConnected",
                                                    Target::Discovered,
                                                    Target::Connected,
                                                    {"P=3"},
                                                    {"C=2", "D1=1"},
                                                    {"D4=4"}},
                                           MoveCase{"ConnectedToDiscovered",
                                                    Target::Connected,
                                                    Target::Discovered,
                                                    {"P=3"},
                                                    {"No connected devices=-1"},
                                                    {"D1=1", "D4=4", "C=2"}},
                                           MoveCase{"ConnectedToPaired",
                                                    Target::Connected,
                                                    Target::Paired,
                                                    {"P=3", "C=2"},
                                                    {"No connected devices=-1"},
                                                    {"D1=1", "D4=4"}},
                                           MoveCase{"PairedToDiscovered",
                                                    Target::Paired,
                                                    Target::Discovered,
                                                    {"No paired devices=-1"},
                                                    {"C=2"},
                                                    {"D1=1", "D4=4", "P=3"}},
                                           MoveCase{"PairedToConnected",
                                                    Target::Paired,
                                                    Target::Connected,
                                                    {"No paired devices=-1"},
                                                    {"C=2", "P=3"},
                                                    {"D1=1", "D4=4"}},
                                           MoveCase{"DiscoveredToItsOwnGroupGoesToTheEnd",
                                                    Target::Discovered,
                                                    Target::Discovered,
                                                    {"P=3"},
                                                    {"C=2"},
                                                    {"D4=4", "D1=1"}}),
                         [](const ::testing::TestParamInfo<MoveCase>& info) {
                             return std::string(info.param.name);
                         });

TEST_F(CDeviceViewTest, MoveRefusesGroupsPlaceholdersAndNull) {
    QTreeWidgetItem* placeholder = m_view->ConnectedGroup()->child(0);
    for (QTreeWidgetItem* item : {m_view->PairedGroup(), placeholder, static_cast<QTreeWidgetItem*>(nullptr)})
        EXPECT_EQ(m_view->MoveToDiscovered(item), nullptr);
    EXPECT_EQ(Paired(), Rows{"No paired devices=-1"});
    EXPECT_EQ(Connected(), Rows{"No connected devices=-1"});
    EXPECT_EQ(Discovered(), Rows{"No discovered devices=-1"});
    EXPECT_TRUE(m_selections.empty());
}

TEST_F(CDeviceViewTest, MovingTheSelectedRowNotifiesOnlyTheNewRow) {
    QTreeWidgetItem* first = m_view->InsertDevice(m_view->DiscoveredGroup(), QStringLiteral("A"), 1);
    m_view->InsertDevice(m_view->DiscoveredGroup(), QStringLiteral("B"), 2);
    m_view->Tree()->setCurrentItem(first);
    m_selections.clear();

    m_view->MoveToConnected(first);

    EXPECT_EQ(m_selections, std::vector<int>{1});
}

struct ClearCase {
    const char* name;
    std::function<void(CDeviceView&)> clear;
    bool pairedEmpty, connectedEmpty, discoveredEmpty;
};

class CDeviceViewClearTest : public CDeviceViewTest, public ::testing::WithParamInterface<ClearCase> {};

TEST_P(CDeviceViewClearTest, ClearLeavesTheGroupEmptyUntilPlaceholdersAreAdded) {
    const ClearCase& c = GetParam();
    m_view->InsertDevice(m_view->DiscoveredGroup(), QStringLiteral("D"), 1);
    c.clear(*m_view);
    EXPECT_EQ(m_view->PairedGroup()->childCount() == 0, c.pairedEmpty);
    EXPECT_EQ(m_view->ConnectedGroup()->childCount() == 0, c.connectedEmpty);
    EXPECT_EQ(m_view->DiscoveredGroup()->childCount() == 0, c.discoveredEmpty);

    m_view->AddEmptyPlaceholders(true);

    ExpectRowsOrOnePlaceholder();
    EXPECT_EQ(Paired(), Rows{"No paired devices=-1"});
    EXPECT_EQ(Connected(), Rows{"No connected devices=-1"});
    EXPECT_EQ(Discovered(), c.discoveredEmpty ? Rows{"No discovered devices=-1"} : Rows{"D=1"});
}

INSTANTIATE_TEST_SUITE_P(
    Clears, CDeviceViewClearTest,
    ::testing::Values(ClearCase{"Discovered", &CDeviceView::ClearDiscovered, false, false, true},
                      ClearCase{"Paired", &CDeviceView::ClearPaired, true, false, false},
                      ClearCase{"Connected", &CDeviceView::ClearConnected, false, true, false}),
    [](const ::testing::TestParamInfo<ClearCase>& info) { return std::string(info.param.name); });

TEST_F(CDeviceViewTest, AddEmptyPlaceholdersWithoutDiscoveredLeavesDiscoveredEmpty) {
    m_view->ClearDiscovered();
    m_view->ClearPaired();
    m_view->ClearConnected();
    m_view->AddEmptyPlaceholders(false);
    EXPECT_EQ(Paired(), Rows{"No paired devices=-1"});
    EXPECT_EQ(Connected(), Rows{"No connected devices=-1"});
    EXPECT_TRUE(Discovered().empty());
}

TEST_F(CDeviceViewTest, AddEmptyPlaceholdersLeavesGroupsWithRowsAlone) {
    m_view->InsertDevice(m_view->PairedGroup(), QStringLiteral("P"), 1);
    m_view->AddEmptyPlaceholders(true);
    m_view->AddEmptyPlaceholders(true);
    EXPECT_EQ(Paired(), Rows{"P=1"});
    EXPECT_EQ(Connected(), Rows{"No connected devices=-1"});
}

TEST_F(CDeviceViewTest, ClearingTheSelectedRowLeavesNoSelectionAndRaisesNoChange) {
    QTreeWidgetItem* item = m_view->InsertDevice(m_view->DiscoveredGroup(), QStringLiteral("D"), 1);
    m_view->Tree()->setCurrentItem(item);
    m_selections.clear();

    m_view->ClearDiscovered();

    EXPECT_EQ(m_view->Tree()->currentItem(), nullptr);
    EXPECT_TRUE(m_selections.empty());
}

// The main window's rebuild: the connected device first, then a paired and a discovered one.
TEST_F(CDeviceViewTest, RebuildWithConnectedDeviceFirstLeavesNoPlaceholders) {
    m_view->ClearDiscovered();
    m_view->ClearPaired();
    m_view->ClearConnected();
    QTreeWidgetItem* connected = m_view->InsertDevice(m_view->DiscoveredGroup(), QStringLiteral("C"), 1);
    connected = m_view->MoveToConnected(connected);
    m_view->InsertDevice(m_view->PairedGroup(), QStringLiteral("P"), 2);
    m_view->InsertDevice(m_view->DiscoveredGroup(), QStringLiteral("D"), 3);
    m_view->AddEmptyPlaceholders(true);

    EXPECT_EQ(Paired(), Rows{"P=2"});
    EXPECT_EQ(Connected(), Rows{"C=1"});
    EXPECT_EQ(Discovered(), Rows{"D=3"});
    EXPECT_EQ(m_view->Tree()->currentItem(), connected);
}

TEST_F(CDeviceViewTest, SetDeviceItemTextChangesOnlyThatRow) {
    QTreeWidgetItem* item = m_view->InsertDevice(m_view->DiscoveredGroup(), QStringLiteral("Old"), 1);
    m_view->InsertDevice(m_view->DiscoveredGroup(), QStringLiteral("Other"), 2);
    m_view->SetDeviceItemText(item, QStringLiteral("New (updating)"));
    EXPECT_EQ(Discovered(), (Rows{"New (updating)=1", "Other=2"}));
}

TEST_F(CDeviceViewTest, UserSelectionReportsTheRowsItemData) {
    QTreeWidgetItem* device = m_view->InsertDevice(m_view->PairedGroup(), QStringLiteral("P"), 7);
    m_view->Tree()->setCurrentItem(device);
    m_view->Tree()->setCurrentItem(m_view->ConnectedGroup());
    m_view->Tree()->setCurrentItem(m_view->ConnectedGroup()->child(0));
    EXPECT_EQ(m_selections, (std::vector<int>{7, 0, -1}));
}

// ---- Context menu ----

enum class Hit { Group, Placeholder, Device };

struct ContextCase {
    const char* name;
    Hit hit;
    int selectedData;
    bool opensMenu;
};

class CDeviceViewContextTest : public CDeviceViewTest, public ::testing::WithParamInterface<ContextCase> {};

TEST_P(CDeviceViewContextTest, RightClickSelectsTheRowAndOpensTheMenuOnDeviceRowsOnly) {
    const ContextCase& c = GetParam();
    QTreeWidgetItem* device = m_view->InsertDevice(m_view->DiscoveredGroup(), QStringLiteral("D"), 5);
    QTreeWidgetItem* target = c.hit == Hit::Group         ? m_view->ConnectedGroup()
                              : c.hit == Hit::Placeholder ? m_view->PairedGroup()->child(0)
                                                          : device;

    QPointer<QMenu> menu = m_view->OnContextMenu(GlobalCentre(target), false);

    EXPECT_EQ(m_view->Tree()->currentItem(), target);
    EXPECT_EQ(m_selections, std::vector<int>{c.selectedData});
    EXPECT_EQ(!menu.isNull(), c.opensMenu);
    if (menu)
        menu->close();
}

INSTANTIATE_TEST_SUITE_P(Rows, CDeviceViewContextTest,
                         ::testing::Values(ContextCase{"Group", Hit::Group, 0, false},
                                           ContextCase{"Placeholder", Hit::Placeholder, -1, false},
                                           ContextCase{"Device", Hit::Device, 5, true}),
                         [](const ::testing::TestParamInfo<ContextCase>& info) {
                             return std::string(info.param.name);
                         });

TEST_F(CDeviceViewTest, MenuKeyOpensNothingAndSelectsNothing) {
    QTreeWidgetItem* device = m_view->InsertDevice(m_view->DiscoveredGroup(), QStringLiteral("D"), 5);
    EXPECT_EQ(m_view->OnContextMenu(GlobalCentre(device), true), nullptr);
    EXPECT_TRUE(m_selections.empty());
}

TEST_F(CDeviceViewTest, RightClickOnEmptySpaceOpensNothing) {
    ShowPane();
    CViewTree* tree = m_view->Tree();
    const QPoint below = tree->viewport()->mapToGlobal(QPoint(5, tree->viewport()->height() - 2));
    ASSERT_EQ(tree->itemAt(tree->viewport()->mapFromGlobal(below)), nullptr);
    EXPECT_EQ(m_view->OnContextMenu(below, false), nullptr);
    EXPECT_TRUE(m_selections.empty());
}

TEST_F(CDeviceViewTest, DeviceMenuListsConnectRenameSeparatorRemovePairing) {
    QTreeWidgetItem* device = m_view->InsertDevice(m_view->DiscoveredGroup(), QStringLiteral("D"), 5);
    QPointer<QMenu> menu = m_view->OnContextMenu(GlobalCentre(device), false);
    ASSERT_FALSE(menu.isNull());
    const QList<QAction*> actions = menu->actions();
    ASSERT_EQ(actions.size(), 4);
    EXPECT_EQ(actions[0]->text(), QStringLiteral("&Connect..."));
    EXPECT_EQ(actions[1]->text(), QStringLiteral("&Rename"));
    EXPECT_TRUE(actions[2]->isSeparator());
    EXPECT_EQ(actions[3]->text(), QStringLiteral("&Remove pairing"));
    menu->close();
}

TEST_F(CDeviceViewTest, DeviceMenuCommandsReachTheOwnerThroughTheRouter) {
    QTreeWidgetItem* device = m_view->InsertDevice(m_view->DiscoveredGroup(), QStringLiteral("D"), 5);
    QPointer<QMenu> menu = m_view->OnContextMenu(GlobalCentre(device), false);
    ASSERT_FALSE(menu.isNull());
    const QList<QAction*> actions = menu->actions();
    actions[1]->trigger();
    actions[3]->trigger();
    EXPECT_EQ(m_commands, (std::vector<UINT>{ID_RENAME_DEVICE, ID_REMOVE_PAIRING}));
    menu->close();
}

TEST_F(CDeviceViewTest, ContextMenuEventOnTheTreeReachesThePane) {
    QTreeWidgetItem* device = m_view->InsertDevice(m_view->DiscoveredGroup(), QStringLiteral("D"), 5);
    const QPoint global = GlobalCentre(device);
    CViewTree* tree = m_view->Tree();
    QContextMenuEvent event(QContextMenuEvent::Mouse, tree->viewport()->mapFromGlobal(global), global);
    QApplication::sendEvent(tree->viewport(), &event);
    EXPECT_EQ(m_selections, std::vector<int>{5});
    QMenu* popup = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    ASSERT_NE(popup, nullptr);
    popup->close();
}

// ---- Label editing ----

TEST_F(CDeviceViewTest, EditLabelOpensOnlyOnDeviceRows) {
    QTreeWidgetItem* device = m_view->InsertDevice(m_view->DiscoveredGroup(), QStringLiteral("D"), 5);
    EXPECT_FALSE(m_view->EditLabel(m_view->DiscoveredGroup()));
    EXPECT_FALSE(m_view->EditLabel(m_view->PairedGroup()->child(0)));
    EXPECT_FALSE(m_view->EditLabel(nullptr));
    EXPECT_EQ(m_view->Tree()->EditedItem(), nullptr);
    EXPECT_TRUE(m_view->EditLabel(device));
    EXPECT_EQ(m_view->Tree()->EditedItem(), device);
}

TEST_F(CDeviceViewTest, EditLabelRefusedByTheOwnerOpensNoEditor) {
    QTreeWidgetItem* device = m_view->InsertDevice(m_view->DiscoveredGroup(), QStringLiteral("D"), 5);
    m_allowEdit = false;
    EXPECT_FALSE(m_view->EditLabel(device));
    EXPECT_EQ(m_view->Tree()->LabelEditor(), nullptr);
}

TEST_F(CDeviceViewTest, EndOfLabelEditReachesTheOwnerAndTheRowKeepsItsText) {
    QTreeWidgetItem* device = m_view->InsertDevice(m_view->DiscoveredGroup(), QStringLiteral("Old"), 5);
    ASSERT_TRUE(m_view->EditLabel(device));
    QWidget* editor = m_view->Tree()->LabelEditor();
    ASSERT_NE(editor, nullptr);
    editor->setProperty("text", QStringLiteral("New"));
    QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
    QApplication::sendEvent(editor, &enter);
    QCoreApplication::processEvents();

    ASSERT_EQ(m_endEdits.size(), 1u);
    EXPECT_EQ(m_endEdits[0].item, device);
    EXPECT_EQ(m_endEdits[0].text, QStringLiteral("New"));
    EXPECT_FALSE(m_endEdits[0].cancelled);
    EXPECT_EQ(device->text(0), QStringLiteral("Old"));
}

// ---- Double-click ----

TEST_F(CDeviceViewTest, DoubleClickWithASelectedRowAsksToConnectWhateverTheRow) {
    ShowPane();
    m_view->Tree()->setCurrentItem(m_view->PairedGroup()->child(0));
    QWidget* viewport = m_view->Tree()->viewport();
    const QPoint pos(5, viewport->height() - 2);
    QMouseEvent event(QEvent::MouseButtonDblClick, pos, viewport->mapToGlobal(pos), Qt::LeftButton,
                      Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(viewport, &event);
    EXPECT_EQ(m_connects, 1);
}

} // namespace
