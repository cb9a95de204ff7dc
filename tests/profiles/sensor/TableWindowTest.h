// What the weight-scale and body-composition window tests share beyond WindowTest: a peer with one
// service, and the texts of the measurement table and the feature list.
#pragma once

#include "gatt/BleDeviceRecord.h"
#include "support/DatabaseBuilder.h"
#include "support/WindowTest.h"

#include <QListWidget>
#include <QTreeWidget>

// Window is a table window with InitProfile(peer) and Records().
template <class Window> class TableWindowTest : public WindowTest<Window> {
protected:
    using Bytes = std::vector<uint8_t>;
    using WindowTest<Window>::m_window;

    // Opens the window for a peer whose only service is the one database describes.
    void Open(DatabaseBuilder& database) {
        WindowTest<Window>::SetUp();
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
        const auto* list = this->template Item<QListWidget>(listId);
        for (int i = 0; i < list->count(); ++i)
            lines << list->item(i)->text();
        return lines;
    }

    BleDeviceRecord m_peer{{}, 0, QStringLiteral("Scale"), 0, false};

private:
    QStringList Texts(const QTreeWidgetItem* item) const {
        QStringList texts;
        for (int i = 0; i < Table()->columnCount(); ++i)
            texts << item->text(i);
        return texts;
    }
};
