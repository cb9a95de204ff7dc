#include "panes/CDeviceView.h"

#include "panes/CViewTree.h"
#include "platform/StringTable.h"
#include "res/StringTable.h"
#include "res/resource.h"

#include <QAction>
#include <QApplication>
#include <QContextMenuEvent>
#include <QMenu>
#include <QMouseEvent>
#include <gtest/gtest.h>

namespace {

// The rows of the three groups as "text=data", in tree order, groups separated by "|".
using Rows = std::string;

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
        handlers.doubleClicked = [this] { m_commands.push_back(ID_CONNECT); };
        m_view->SetHandlers(handlers);
        m_view->resize(300, 400);
        m_view->show();
    }

    void TearDown() override {
        m_view.reset();
        QCoreApplication::processEvents();
    }

    Rows All() const {
        Rows rows;
        for (const QTreeWidgetItem* group : {Paired(), Connected(), Discovered()}) {
            rows += rows.empty() ? "" : "|";
            for (int i = 0; i < group->childCount(); ++i)
                rows += (i ? " " : "") + group->child(i)->text(0).toStdString() + "=" +
                        std::to_string(CDeviceView::ItemData(group->child(i)));
        }
        return rows;
    }

    QTreeWidgetItem* Paired() const { return m_view->PairedGroup(); }
    QTreeWidgetItem* Connected() const { return m_view->ConnectedGroup(); }
    QTreeWidgetItem* Discovered() const { return m_view->DiscoveredGroup(); }

    QPoint GlobalCentre(QTreeWidgetItem* item) const {
        CViewTree* tree = m_view->Tree();
        return tree->viewport()->mapToGlobal(item ? tree->visualItemRect(item).center()
                                                  : QPoint(5, tree->viewport()->height() - 2));
    }

    platform::CommandRouter m_router;
    platform::CommandTarget m_owner;
    std::unique_ptr<CDeviceView> m_view;
    std::vector<int> m_selections;
    std::vector<UINT> m_commands;
    bool m_allowEdit = true;
};

const Rows kEmpty = "No paired devices=-1|No connected devices=-1|No discovered devices=-1";

TEST_F(CDeviceViewTest, PlaceholdersGiveWayToDeviceRowsWhichAloneAreMovedOrEditedAsTheOwnerAllows) {
    for (QTreeWidgetItem* group : {Paired(), Connected(), Discovered()})
        EXPECT_TRUE(group->font(0).bold() && group->isExpanded() && CDeviceView::ItemData(group) == 0);
    EXPECT_EQ(All(), kEmpty);

    QTreeWidgetItem* alpha = m_view->InsertDevice(Discovered(), "Alpha", 1);
    m_view->InsertDevice(Discovered(), "Beta", 2);
    EXPECT_EQ(m_view->InsertDevice(Paired()->child(0), "Gamma", 3), nullptr);
    EXPECT_EQ(m_view->InsertDevice(nullptr, "Gamma", 3), nullptr);
    for (QTreeWidgetItem* item : {Discovered(), Paired()->child(0), static_cast<QTreeWidgetItem*>(nullptr)}) {
        EXPECT_FALSE(m_view->EditLabel(item));
        EXPECT_EQ(m_view->MoveToConnected(item), nullptr);
    }
    m_view->SetDeviceItemText(alpha, "Alpha (updating)");

    EXPECT_EQ(All(), "No paired devices=-1|No connected devices=-1|Alpha (updating)=1 Beta=2");
    EXPECT_TRUE(m_selections.empty());
    m_allowEdit = false;
    EXPECT_FALSE(m_view->EditLabel(alpha));
    m_allowEdit = true;
    EXPECT_TRUE(m_view->EditLabel(alpha));
}

// Start: "P" (3) paired, "C" (2) connected, "D1" (1) and "D4" (4) discovered; the first row of one group
// moves to the end of another, is selected and raises one selection change.
TEST_F(CDeviceViewTest, MovedRowGoesLastIntoItsGroupIsSelectedAndPlaceholdersFollow) {
    struct Case {
        QTreeWidgetItem* (CDeviceView::*group)() const;
        QTreeWidgetItem* (CDeviceView::*move)(QTreeWidgetItem*);
        Rows after;
    };
    const std::vector<Case> cases = {
        {&CDeviceView::DiscoveredGroup, &CDeviceView::MoveToConnected, "P=3|C=2 D1=1|D4=4"},
        {&CDeviceView::ConnectedGroup, &CDeviceView::MoveToDiscovered,
         "P=3|No connected devices=-1|D1=1 D4=4 C=2"},
        {&CDeviceView::ConnectedGroup, &CDeviceView::MoveToPaired,
         "P=3 C=2|No connected devices=-1|D1=1 D4=4"},
        {&CDeviceView::PairedGroup, &CDeviceView::MoveToDiscovered, "No paired devices=-1|C=2|D1=1 D4=4 P=3"},
        {&CDeviceView::PairedGroup, &CDeviceView::MoveToConnected, "No paired devices=-1|C=2 P=3|D1=1 D4=4"},
        {&CDeviceView::DiscoveredGroup, &CDeviceView::MoveToDiscovered, "P=3|C=2|D4=4 D1=1"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.after);
        m_view->ClearPaired();
        m_view->ClearConnected();
        m_view->ClearDiscovered();
        m_view->InsertDevice(Discovered(), "D1", 1);
        m_view->InsertDevice(Connected(), "C", 2);
        m_view->InsertDevice(Paired(), "P", 3);
        m_view->InsertDevice(Discovered(), "D4", 4);
        QTreeWidgetItem* item = ((*m_view).*c.group)()->child(0);
        const int data = CDeviceView::ItemData(item);
        m_view->Tree()->setCurrentItem(item);
        m_selections.clear();

        QTreeWidgetItem* moved = ((*m_view).*c.move)(item);

        EXPECT_EQ(All(), c.after);
        ASSERT_NE(moved, nullptr);
        EXPECT_EQ(moved->parent()->indexOfChild(moved), moved->parent()->childCount() - 1);
        EXPECT_EQ(m_view->Tree()->currentItem(), moved);
        EXPECT_EQ(m_selections, std::vector<int>{data});
    }
}

TEST_F(CDeviceViewTest, ClearedGroupsStayEmptyUntilPlaceholdersAreAddedAndLoseTheirSelectionQuietly) {
    m_view->InsertDevice(Paired(), "P", 1);
    m_view->Tree()->setCurrentItem(m_view->InsertDevice(Discovered(), "D", 2));
    m_selections.clear();

    m_view->ClearDiscovered();
    m_view->ClearConnected();
    EXPECT_EQ(All(), "P=1||");
    EXPECT_EQ(m_view->Tree()->currentItem(), nullptr);
    EXPECT_TRUE(m_selections.empty());

    m_view->AddEmptyPlaceholders(false); // during a search
    EXPECT_EQ(All(), "P=1|No connected devices=-1|");
    m_view->ClearPaired();
    m_view->AddEmptyPlaceholders(true);
    m_view->AddEmptyPlaceholders(true);
    EXPECT_EQ(All(), kEmpty);
}

TEST_F(CDeviceViewTest, RightClickSelectsTheRowAndOnlyADeviceRowOpensTheDeviceMenu) {
    QTreeWidgetItem* device = m_view->InsertDevice(Discovered(), "D", 5);
    struct Case {
        QTreeWidgetItem* row;
        bool fromKeyboard;
        std::vector<int> selected;
        bool menu;
    };
    const std::vector<Case> cases = {
        {Connected(), false, {0}, false}, {Paired()->child(0), false, {-1}, false},
        {nullptr, false, {}, false},      {device, true, {}, false},
        {device, false, {5}, true},
    };
    for (const Case& c : cases) {
        m_view->Tree()->setCurrentItem(nullptr);
        m_selections.clear();
        QPointer<QMenu> menu = m_view->OnContextMenu(GlobalCentre(c.row), c.fromKeyboard);
        EXPECT_EQ(m_selections, c.selected);
        ASSERT_EQ(!menu.isNull(), c.menu);
        if (menu)
            menu->close();
    }

    QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(), GlobalCentre(device)); // on the tree itself
    QApplication::sendEvent(m_view->Tree()->viewport(), &event);
    auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    ASSERT_NE(menu, nullptr);
    for (QAction* action : menu->actions())
        action->trigger();
    EXPECT_EQ(m_commands, (std::vector<UINT>{ID_CONNECT, ID_RENAME_DEVICE, ID_REMOVE_PAIRING}));
    EXPECT_TRUE(menu->actions().at(2)->isSeparator());
    menu->close();
}

TEST_F(CDeviceViewTest, DoubleClickAnywhereWithASelectedRowAsksToConnect) {
    QWidget* viewport = m_view->Tree()->viewport();
    const QPoint below(5, viewport->height() - 2);
    QMouseEvent event(QEvent::MouseButtonDblClick, below, viewport->mapToGlobal(below), Qt::LeftButton,
                      Qt::LeftButton, Qt::NoModifier);
    for (QTreeWidgetItem* current : {static_cast<QTreeWidgetItem*>(nullptr), Paired()->child(0)}) {
        m_view->Tree()->setCurrentItem(current);
        QApplication::sendEvent(viewport, &event);
    }
    EXPECT_EQ(m_commands, std::vector<UINT>{ID_CONNECT});
}

} // namespace
