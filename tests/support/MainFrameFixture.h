// A main window on a recording host, with helpers that act as the user and as the host library.
#pragma once

#include "mainframe/CMainFrame.h"
#include "support/AppFixture.h"
#include "support/DatabaseBuilder.h"

#include <QTreeWidgetItem>

class MainFrameFixture : public AppFixture {
protected:
    void SetUp() override;
    void TearDown() override;

    // Host start-up with these paired devices.
    void StartUp(std::vector<BleHostPairedDevice> paired = {});
    // A search that reports devices (address byte, name), then ends.
    void Discover(std::vector<std::pair<uint8_t, const char*>> devices, uint16_t appearance = 0);
    // One advertising report during a running search.
    void Found(uint8_t last, const char* name, uint16_t appearance = 0);
    // Selects the row of device index (0-based) in the tree.
    void Select(size_t index);
    void SelectRow(QTreeWidgetItem* row);
    // Connects the selected device: the command, then connect result and database from the host.
    void Connect(uint32_t cid, DatabaseBuilder& database);
    void Deliver(UINT code, LPARAM lParam) { m_frame->OnBleHostMessage(code, lParam); }
    template <typename Record> void DeliverRecord(UINT code, const Record& record) {
        Deliver(code, reinterpret_cast<LPARAM>(&record));
    }
    void ReadResult(uint32_t cid, uint16_t handle, std::vector<uint8_t> value, uint16_t status = 0);
    void WriteResult(uint16_t handle, uint16_t status = 0);
    void Notify(uint32_t cid, uint16_t handle, std::vector<uint8_t> value);
    void Disconnected(uint16_t reason);
    bool LogContains(const QString& text) const;

    std::unique_ptr<CMainFrame> m_frame;
};

BleTypedAddress TestAddress(uint8_t last);
BleHostPairedDevice PairedDevice(uint8_t last, const char* name);
