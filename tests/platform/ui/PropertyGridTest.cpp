#include "platform/ui/PropertyGrid.h"

#include "platform/ui/Property.h"

#include <QCoreApplication>
#include <QFont>
#include <QHeaderView>
#include <QMouseEvent>
#include <QTreeWidget>
#include <gtest/gtest.h>
#include <vector>

namespace platform {
namespace {

// "General" with Address, Name and a Flags value list of two rows, as the properties pane builds it.
class PropertyGridTest : public ::testing::Test {
protected:
    PropertyGridTest() {
        general = new Property(Property::Group, QStringLiteral("General"));
        general->setDescription(QStringLiteral("General Bluetooth Smart device properties"));
        address = new Property(QStringLiteral("Address"), QString(),
                               QStringLiteral("Bluetooth Smart device address"));
        name =
            new Property(QStringLiteral("Name"), QString(), QStringLiteral("Bluetooth Smart device name"), 1);
        flags = new Property(Property::ValueList, QStringLiteral("Flags"));
        limited = new Property(QStringLiteral("Limited"), QStringLiteral("(Unknown)"));
        leOnly = new Property(QStringLiteral("LE only"), QStringLiteral("(Unknown)"));
        general->addSubItem(address);
        general->addSubItem(name);
        flags->addSubItem(limited);
        flags->addSubItem(leOnly);
        general->addSubItem(flags);
        grid.addProperty(general);
    }

    QTreeWidgetItem* generalItem() const { return grid.tree()->topLevelItem(0); }
    QTreeWidgetItem* flagsItem() const { return generalItem()->child(2); }
    QColor disabledText() const { return grid.tree()->palette().color(QPalette::Disabled, QPalette::Text); }
    QColor enabledText() const { return grid.tree()->palette().color(QPalette::Active, QPalette::Text); }

    PropertyGrid grid;
    Property* general;
    Property* address;
    Property* name;
    Property* flags;
    Property* limited;
    Property* leOnly;
};

TEST_F(PropertyGridTest, GroupShowsItsRowsInOrderWithNamesAndValues) {
    address->setValue(QStringLiteral("00:02:5B:00:15:10"));

    ASSERT_EQ(grid.propertyCount(), 1);
    EXPECT_EQ(grid.property(0), general);
    EXPECT_EQ(grid.property(1), nullptr);
    ASSERT_EQ(general->subItemCount(), 3);
    EXPECT_EQ(general->subItem(1), name);
    EXPECT_EQ(name->parent(), general);
    EXPECT_EQ(name->data(), 1);
    ASSERT_EQ(generalItem()->childCount(), 3);
    EXPECT_EQ(generalItem()->text(0), QStringLiteral("General"));
    EXPECT_TRUE(generalItem()->isFirstColumnSpanned());
    EXPECT_TRUE(generalItem()->font(0).bold());
    EXPECT_EQ(generalItem()->child(0)->text(0), QStringLiteral("Address"));
    EXPECT_EQ(generalItem()->child(0)->text(1), QStringLiteral("00:02:5B:00:15:10"));
    EXPECT_FALSE(generalItem()->child(0)->font(0).bold());
}

TEST_F(PropertyGridTest, ValueListShowsItsRowsValuesJoined) {
    EXPECT_EQ(flags->value(), QStringLiteral("(Unknown), (Unknown)"));

    limited->setValue(QStringLiteral("No"));
    leOnly->setValue(QStringLiteral("Yes"));

    EXPECT_EQ(flags->value(), QStringLiteral("No, Yes"));
    EXPECT_EQ(flagsItem()->text(1), QStringLiteral("No, Yes"));
    EXPECT_FALSE(flagsItem()->isFirstColumnSpanned());
}

TEST_F(PropertyGridTest, ValueListKeepsShowingItsRowsWhenGivenAValue) {
    limited->setValue(QStringLiteral("Yes"));
    flags->setValue(QStringLiteral("(Unknown)"));
    EXPECT_EQ(flags->value(), QStringLiteral("Yes, (Unknown)"));
}

TEST_F(PropertyGridTest, DisabledRowsAreDrawnGreyedAndEnabledAgainNormally) {
    address->enable(false);
    QTreeWidgetItem* row = generalItem()->child(0);
    EXPECT_FALSE(address->isEnabled());
    EXPECT_EQ(row->foreground(0).color(), disabledText());
    EXPECT_EQ(row->foreground(1).color(), disabledText());

    address->enable(true);
    EXPECT_EQ(row->foreground(0).color(), enabledText());
    EXPECT_EQ(row->foreground(1).color(), enabledText());
}

TEST_F(PropertyGridTest, EachPropertyKeepsItsOwnEnabledState) {
    flags->enable(false);
    limited->enable(true);

    EXPECT_EQ(flagsItem()->foreground(0).color(), disabledText());
    EXPECT_EQ(flagsItem()->child(0)->foreground(0).color(), enabledText());
    EXPECT_TRUE(flagsItem()->child(0)->flags() & Qt::ItemIsEnabled);
}

TEST_F(PropertyGridTest, PropertyDisabledBeforeItIsAddedIsShownDisabled) {
    auto* tx = new Property(QStringLiteral("TX Level"), QStringLiteral("(Unknown)"));
    tx->enable(false);
    general->addSubItem(tx);
    EXPECT_EQ(generalItem()->child(3)->foreground(1).color(), disabledText());
}

TEST_F(PropertyGridTest, GroupTextColourAppliesToGroupNamesOnly) {
    const QColor slate(49, 79, 79);
    grid.setGroupTextColor(slate);

    EXPECT_EQ(grid.groupTextColor(), slate);
    EXPECT_EQ(generalItem()->foreground(0).color(), slate);
    EXPECT_EQ(generalItem()->child(0)->foreground(0).color(), enabledText());
}

TEST_F(PropertyGridTest, FontAppliesToRowsAndGroupsStayBold) {
    QFont font(QStringLiteral("Sans"), 13);
    grid.setGridFont(font);

    EXPECT_EQ(grid.tree()->font().pointSize(), 13);
    EXPECT_EQ(generalItem()->font(0).pointSize(), 13);
    EXPECT_TRUE(generalItem()->font(0).bold());
    EXPECT_FALSE(generalItem()->child(1)->font(0).bold());
}

TEST_F(PropertyGridTest, SubItemAddedAfterTheGroupIsShownShowsAtOnce) {
    auto* services = new Property(Property::Group, QStringLiteral("Device services"));
    grid.addProperty(services);
    auto* service = new Property(Property::Group, QStringLiteral("Heart Rate Service"));
    service->addSubItem(new Property(QStringLiteral("UUID"), QStringLiteral("180D")));
    services->addSubItem(service);

    ASSERT_EQ(grid.tree()->topLevelItemCount(), 2);
    QTreeWidgetItem* serviceItem = grid.tree()->topLevelItem(1)->child(0);
    ASSERT_NE(serviceItem, nullptr);
    EXPECT_EQ(serviceItem->child(0)->text(1), QStringLiteral("180D"));
}

TEST_F(PropertyGridTest, CollapsedGroupStaysCollapsedWhenAdded) {
    auto* characteristics = new Property(Property::Group, QStringLiteral("Characteristics"));
    characteristics->addSubItem(new Property(QStringLiteral("Heart Rate Measurement"), QString()));
    characteristics->expand(false);
    general->addSubItem(characteristics);

    EXPECT_FALSE(characteristics->isExpanded());
    EXPECT_FALSE(generalItem()->child(3)->isExpanded());
    EXPECT_TRUE(generalItem()->isExpanded());
}

TEST_F(PropertyGridTest, SelectionShowsTheDescriptionAndNullClearsIt) {
    grid.setCurSel(name);
    EXPECT_EQ(grid.curSel(), name);
    EXPECT_EQ(grid.descriptionTitle(), QStringLiteral("Name"));
    EXPECT_EQ(grid.descriptionText(), QStringLiteral("Bluetooth Smart device name"));

    grid.setCurSel(nullptr);
    EXPECT_EQ(grid.curSel(), nullptr);
    EXPECT_TRUE(grid.tree()->selectedItems().isEmpty());
    EXPECT_TRUE(grid.descriptionTitle().isEmpty());
    EXPECT_TRUE(grid.descriptionText().isEmpty());
}

TEST_F(PropertyGridTest, DeletingAGroupWithTheSelectionInsideClearsTheSelection) {
    auto* services = new Property(Property::Group, QStringLiteral("Device services"));
    auto* uuid = new Property(QStringLiteral("UUID"), QStringLiteral("180F"));
    services->addSubItem(uuid);
    grid.addProperty(services);
    grid.setCurSel(uuid);

    EXPECT_TRUE(grid.deleteProperty(services));

    EXPECT_EQ(grid.propertyCount(), 1);
    EXPECT_EQ(grid.tree()->topLevelItemCount(), 1);
    EXPECT_EQ(grid.curSel(), nullptr);
    EXPECT_TRUE(grid.descriptionTitle().isEmpty());
}

TEST_F(PropertyGridTest, DeletingASubItemUpdatesItsValueList) {
    EXPECT_TRUE(grid.deleteProperty(limited));

    EXPECT_EQ(flags->subItemCount(), 1);
    EXPECT_EQ(flagsItem()->childCount(), 1);
    EXPECT_EQ(flagsItem()->text(1), QStringLiteral("(Unknown)"));
}

TEST_F(PropertyGridTest, DeletingAPropertyOfAnotherGridOrNoneIsRefused) {
    PropertyGrid other;
    auto* foreign = new Property(QStringLiteral("RSSI"), QStringLiteral("-60dBm"));
    other.addProperty(foreign);
    Property loose(QStringLiteral("Loose"), QString());

    EXPECT_FALSE(grid.deleteProperty(foreign));
    EXPECT_FALSE(grid.deleteProperty(&loose));
    EXPECT_FALSE(grid.deleteProperty(nullptr));
    EXPECT_EQ(other.propertyCount(), 1);
    EXPECT_EQ(grid.propertyCount(), 1);
}

TEST_F(PropertyGridTest, SelectingAPropertyOfAnotherGridIsIgnored) {
    grid.setCurSel(address);
    Property loose(QStringLiteral("Loose"), QString());

    grid.setCurSel(&loose);

    EXPECT_EQ(grid.curSel(), address);
}

TEST_F(PropertyGridTest, PropertyChangedFiresOnlyWhenAsked) {
    std::vector<Property*> changed;
    QObject::connect(&grid, &PropertyGrid::propertyChanged, [&](Property* p) { changed.push_back(p); });

    name->setValue(QStringLiteral("Heart Rate Sensor"));
    EXPECT_TRUE(changed.empty());

    grid.notifyPropertyChanged(name);
    EXPECT_EQ(changed, (std::vector<Property*>{name}));
}

TEST_F(PropertyGridTest, RowsCannotBeEditedByTheUser) {
    EXPECT_EQ(grid.tree()->editTriggers(), QAbstractItemView::NoEditTriggers);
    EXPECT_FALSE(generalItem()->child(1)->flags() & Qt::ItemIsEditable);
}

TEST_F(PropertyGridTest, DividerDraggedKeepsItsShareAsTheGridIsResized) {
    grid.resize(300, 300);
    grid.show();
    QWidget* rows = grid.tree()->viewport();
    const int width = rows->width();
    ASSERT_EQ(grid.tree()->columnWidth(0), width / 2);
    auto mouse = [rows](QEvent::Type type, int x, Qt::MouseButtons buttons) {
        QMouseEvent event(type, QPointF(x, 5), rows->mapToGlobal(QPointF(x, 5)),
                          type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton, buttons, Qt::NoModifier);
        QCoreApplication::sendEvent(rows, &event);
    };

    mouse(QEvent::MouseButtonPress, width / 2 + 1, Qt::LeftButton);
    mouse(QEvent::MouseMove, width / 4, Qt::LeftButton);
    mouse(QEvent::MouseButtonRelease, width / 4, Qt::NoButton);
    EXPECT_EQ(grid.tree()->columnWidth(0), width / 4);
    EXPECT_EQ(grid.tree()->columnWidth(0) + grid.tree()->columnWidth(1), width);

    grid.resize(600, 300);
    QCoreApplication::processEvents();
    EXPECT_NEAR(grid.tree()->columnWidth(0), rows->width() / 4, 1);

    mouse(QEvent::MouseButtonPress, rows->width() - 2, Qt::LeftButton); // far from the divider
    mouse(QEvent::MouseMove, 10, Qt::LeftButton);
    EXPECT_NEAR(grid.tree()->columnWidth(0), rows->width() / 4, 1);
}

TEST_F(PropertyGridTest, OnlyACutNameOrValueGivesItsFullTextAsToolTip) {
    address->setValue(QStringLiteral("00:02:5B:00:15:10 and a long, long tail"));
    grid.resize(240, 300);
    grid.show();
    QCoreApplication::processEvents();
    QTreeWidgetItem* row = generalItem()->child(0);
    const QRect name = grid.tree()->visualItemRect(row);
    const QPoint valuePos(grid.tree()->header()->sectionViewportPosition(1) + 4, name.center().y());

    EXPECT_EQ(grid.cutTextAt(valuePos), address->value());
    EXPECT_TRUE(grid.cutTextAt(QPoint(name.left() + 30, name.center().y())).isEmpty()); // "Address" fits
    EXPECT_TRUE(grid.cutTextAt(QPoint(5, grid.tree()->viewport()->height() - 2)).isEmpty());
}

} // namespace
} // namespace platform
