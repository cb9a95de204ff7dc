// What the weight-scale and body-composition window tests share: an MDI area to open the window in,
// a peer with one service, and the texts of the measurement table and the feature list.
#pragma once

#include "gatt/BleDeviceRecord.h"
#include "platform/DialogItems.h"
#include "platform/ui/CommandRouter.h"
#include "support/DatabaseBuilder.h"

#include <QListWidget>
#include <QMdiArea>
#include <QTreeWidget>
#include <gtest/gtest.h>

// Window is a table window with InitProfile(peer) and Records().
template <class Window> class TableWindowTest : public ::testing::Test {
protected:
    using Bytes = std::vector<uint8_t>;

    // Opens the window for a peer whose only service is the one database describes.
    void Open(DatabaseBuilder& database) {
        m_window->Create(&m_area, &m_router, &m_mainTarget);
        const BleHostDatabaseEvent& event = database.Event(1);
        m_peer.BuildServiceMap(event.serviceCount, event.services);
        m_window->InitProfile(m_peer);
    }
    QTreeWidget* Table() const { return m_window->Records(); }
    int Rows() const { return Table()->topLevelItemCount(); }
    QStringList Headers() const { return Texts(Table()->headerItem()); }
    QStringList Row(int index) const { return Texts(Table()->topLevelItem(index)); }
    QStringList Lines(UINT listId) const {
        QStringList lines;
        const auto* list = qobject_cast<QListWidget*>(platform::GetDlgItem(m_window, listId));
        for (int i = 0; i < list->count(); ++i)
            lines << list->item(i)->text();
        return lines;
    }
    QString Text(UINT id) const { return platform::GetDlgItemText(m_window, id); }

    QMdiArea m_area;
    platform::CommandRouter m_router;
    platform::CommandTarget m_mainTarget;
    BleDeviceRecord m_peer{{}, 0, QStringLiteral("Scale"), 0, false};
    Window* m_window = new Window; // owned by its sub-window once created

private:
    QStringList Texts(const QTreeWidgetItem* item) const {
        QStringList texts;
        for (int i = 0; i < Table()->columnCount(); ++i)
            texts << item->text(i);
        return texts;
    }
};
