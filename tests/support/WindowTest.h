// A profile window opened in a shown MDI area of its own once Base is set up, with a command router and
// a command target that stands in for the main window.
#pragma once

#include "platform/DialogItems.h"
#include "platform/ui/CommandRouter.h"

#include <QMdiArea>
#include <QTreeWidget>
#include <gtest/gtest.h>

// The texts of every column of a list's row or header.
inline QStringList ItemTexts(const QTreeWidgetItem* item) {
    QStringList texts;
    for (int column = 0; column < item->treeWidget()->columnCount(); ++column)
        texts << item->text(column);
    return texts;
}

// The width that column of list needs for its header and its longest value.
inline int ContentWidth(QTreeWidget& list, int column) {
    const int width = list.columnWidth(column);
    list.resizeColumnToContents(column);
    const int needed = list.columnWidth(column);
    list.setColumnWidth(column, width);
    return needed;
}

// Every column of list is wide enough for its header and its longest value.
inline void ExpectColumnsFit(QTreeWidget* list) {
    for (int column = 0; column < list->columnCount(); ++column)
        EXPECT_GE(list->columnWidth(column), ContentWidth(*list, column))
            << list->headerItem()->text(column).toStdString();
}

template <class Window, class Base = ::testing::Test> class WindowTest : public Base {
protected:
    void SetUp() override {
        Base::SetUp();
        m_area.show();
        Open();
    }
    // Opens the window; again, a new one in place of the test's.
    void Open() {
        delete m_window;
        m_window = new Window;
        m_window->Create(&m_area, &m_router, &m_mainTarget);
    }
    QString Text(UINT id) const { return platform::GetDlgItemText(m_window, id); }
    // The control with that id, null when it is not a Control.
    template <class Control = QWidget> Control* Item(UINT id) const {
        return qobject_cast<Control*>(platform::GetDlgItem(m_window, id));
    }

    QMdiArea m_area;
    platform::CommandRouter m_router;
    platform::CommandTarget m_mainTarget;
    Window* m_window = nullptr; // owned by its sub-window
};
