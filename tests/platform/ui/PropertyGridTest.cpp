#include "platform/ui/PropertyGrid.h"

#include "platform/ui/Property.h"

#include <QTreeWidget>
#include <gtest/gtest.h>

namespace platform {
namespace {

// "General" with Address, Name and a Flags value list of two rows, as the properties pane builds it.
class PropertyGridTest : public ::testing::Test {
protected:
    PropertyGridTest() {
        for (Property* row : {address, name, flags})
            general->addSubItem(row);
        flags->addSubItem(limited);
        flags->addSubItem(leOnly);
        grid.addProperty(general);
    }

    QTreeWidgetItem* item(int row) const { return grid.tree()->topLevelItem(0)->child(row); }
    QColor text(QPalette::ColorGroup group) const {
        return grid.tree()->palette().color(group, QPalette::Text);
    }

    PropertyGrid grid;
    Property* general = new Property(Property::Group, "General");
    Property* address = new Property("Address", QString());
    Property* name = new Property("Name", QString(), "Bluetooth Smart device name", 1);
    Property* flags = new Property(Property::ValueList, "Flags");
    Property* limited = new Property("Limited", "(Unknown)");
    Property* leOnly = new Property("LE only", "(Unknown)");
};

TEST_F(PropertyGridTest, RowsShowTheirValuesGreyedByTheirOwnStateAndGroupsSpanInBold) {
    address->setValue("00:02:5B:00:15:10");
    limited->setValue("No");
    flags->setValue("(Unknown)"); // a value list keeps showing its rows' values
    leOnly->setValue("Yes");
    flags->enable(false);
    auto* services = new Property(Property::Group, "Device services");
    grid.addProperty(services);
    auto* tx = new Property("TX Level", "(Unknown)");
    tx->enable(false);
    services->addSubItem(tx); // added to a group already shown, disabled before

    EXPECT_TRUE(grid.tree()->topLevelItem(0)->isFirstColumnSpanned());
    EXPECT_TRUE(grid.tree()->topLevelItem(0)->font(0).bold());
    EXPECT_EQ(item(0)->text(1), "00:02:5B:00:15:10");
    EXPECT_EQ(item(2)->text(1), "No, Yes");
    EXPECT_EQ(item(2)->foreground(0).color(), text(QPalette::Disabled));
    EXPECT_EQ(item(2)->child(0)->foreground(1).color(), text(QPalette::Active));
    EXPECT_EQ(grid.tree()->topLevelItem(1)->child(0)->foreground(1).color(), text(QPalette::Disabled));
    EXPECT_FALSE(item(1)->flags() & Qt::ItemIsEditable);
}

TEST_F(PropertyGridTest, SelectionShowsTheDescriptionAndDeletingAroundItClearsIt) {
    Property loose("Loose", QString());
    grid.setCurSel(name);
    grid.setCurSel(&loose); // not in this grid: ignored
    EXPECT_EQ(grid.descriptionTitle(), "Name");
    EXPECT_EQ(grid.descriptionText(), "Bluetooth Smart device name");

    grid.setCurSel(limited);
    EXPECT_FALSE(grid.deleteProperty(&loose));
    EXPECT_FALSE(grid.deleteProperty(nullptr));
    EXPECT_TRUE(grid.deleteProperty(limited));
    EXPECT_EQ(grid.curSel(), nullptr);
    EXPECT_TRUE(grid.descriptionTitle().isEmpty());
    EXPECT_EQ(item(2)->text(1), "(Unknown)");
    EXPECT_TRUE(grid.deleteProperty(general));
    EXPECT_EQ(grid.tree()->topLevelItemCount(), 0);
}

} // namespace
} // namespace platform
