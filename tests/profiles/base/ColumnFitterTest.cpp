// Columns kept at least their width and wide enough for their headers and values.
#include "profiles/base/ColumnFitter.h"

#include "support/WindowTest.h"

#include <QTreeWidget>

namespace {

TEST(ColumnFitterTest, AColumnIsItsMinimumWidenedToItsHeaderAndItsLongestValue) {
    QTreeWidget list;
    list.setHeaderLabels({QStringLiteral("A"), QStringLiteral("A header longer than forty pixels")});
    ColumnFitter::Fit(&list, {60, 40});
    EXPECT_EQ(list.columnWidth(0), 60);
    EXPECT_EQ(list.columnWidth(1), ContentWidth(list, 1));
    auto* row = new QTreeWidgetItem(&list, {QStringLiteral("x"), QStringLiteral("y")});
    const int headerWidth = list.columnWidth(1);
    row->setText(1, QStringLiteral("a value longer than the header of its column"));
    EXPECT_GT(list.columnWidth(1), headerWidth);
    EXPECT_EQ(list.columnWidth(1), ContentWidth(list, 1));
    list.setColumnWidth(0, 300); // by the user: kept while values change, not when the columns are new
    row->setText(0, QStringLiteral("z"));
    EXPECT_EQ(list.columnWidth(0), 300);
    ColumnFitter::Fit(&list, {50});
    EXPECT_EQ(list.columnWidth(0), 50);
}

} // namespace
