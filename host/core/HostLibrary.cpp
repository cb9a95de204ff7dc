// Host: the library's state, its requests to the controller and the events it posts for the answers.
#include "HostLibrary.h"

#include "HostLog.h"
#include "SeamTrace.h"
#include "Utf8.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <string>
#include <vector>

namespace orv::host {
namespace {

constexpr size_t kNameField = sizeof(BleHostPairedDevice::name);

} // namespace

HostLibrary& HostLibrary::instance() {
    // Never destroyed: a controller still open at exit must not outlive what it drives.
    static auto* library = new HostLibrary();
    return *library;
}

OrvBleResult HostLibrary::readiness() const {
    switch (m_state) {
    case State::Closed:
        return ORV_BLE_E_NOT_INITIALISED;
    case State::Up:
        return ORV_BLE_OK;
    default:
        return ORV_BLE_E_NOT_STARTED;
    }
}

bool HostLibrary::isPlainValueCode(uint32_t code) {
    return code == BLE_EVT_HOST_STARTED || code == BLE_EVT_HOST_ERROR || code == BLE_EVT_CONN_PARAMS_SET ||
           code == BLE_EVT_SERVER_DB_ADDED;
}

uint32_t HostLibrary::init(bool debug) {
    if (initialised()) {
        hostLog() << "veyrahost: already initialised\n";
        return m_messageId;
    }
    if (!m_poster.hasPlatform()) {
        hostLog() << "veyrahost: no platform hooks installed; call OrvBleHostSetPlatform first\n";
        return 0;
    }
    const uint32_t messageId = m_poster.registerMessage("VeyraHostEvent");
    if (messageId == 0) {
        hostLog() << "veyrahost: the platform could not register the host event message\n";
        return 0;
    }
    if (debug) {
        openDebugOutput();
    }
    std::string error;
    m_controller = debug ? SeamTrace::open(*this, m_snoop, &error) : openController(*this, &error);
    if (!m_controller) {
        hostLog() << "veyrahost: cannot open the dongle: " << error << '\n';
        closeDebugOutput();
        return 0;
    }
    m_links.attach(m_controller.get());
    m_state = State::Initialised;
    m_messageId = messageId;
    return messageId;
}

void HostLibrary::openDebugOutput() {
    const std::string log = m_debugDirectory + "/veyrahost.log";
    const std::string capture = m_debugDirectory + "/veyrahost.btsnoop";
    if (!openLogFile(log)) {
        hostLog() << "veyrahost: cannot write the debug log " << log << '\n';
    }
    if (!m_snoop.open(capture)) {
        hostLog() << "veyrahost: cannot write the capture " << capture << '\n';
    }
}

void HostLibrary::closeDebugOutput() {
    closeLogFile();
    m_snoop.close();
}

bool HostLibrary::startWindow(OrvHwnd window) {
    if (m_state != State::Initialised || window == nullptr) {
        return false;
    }
    if (!m_controller->start()) {
        hostLog() << "veyrahost: the dongle refused to start\n";
        return false;
    }
    m_poster.attach(window, m_messageId);
    m_state = State::Starting;
    return true;
}

void HostLibrary::deinit() {
    if (!initialised()) {
        return;
    }
    if (m_poster.posting()) {
        // The caller's stack still runs through the links and the controller this would free.
        hostLog() << "veyrahost: OrvBleHostDeinit called from inside postMessage; refused, call it after "
                     "the hook returns\n";
        return;
    }
    m_links.attach(nullptr);
    m_controller.reset();
    m_poster.detach();
    m_records.releaseAll();
    closeDebugOutput();
    m_state = State::Closed;
    m_search = Search::Idle;
    m_databaseAddPending = false;
}

void HostLibrary::freeMessage(uint32_t code, intptr_t lParam) {
    if (isPlainValueCode(code) || lParam == 0) {
        return;
    }
    m_records.release(code, reinterpret_cast<const void*>(lParam));
}

void HostLibrary::onStarted(const StartResult& result) {
    if (result.errorCode != 0) {
        m_state = State::Down;
        m_poster.postValue(BLE_EVT_HOST_ERROR, static_cast<intptr_t>(result.errorCode));
        return;
    }
    m_state = result.up ? State::Up : State::Down;
    if (result.up && m_database.added()) {
        m_controller->addDatabase(m_database.services()); // republished quietly after a re-initialisation
    }
    m_poster.postValue(BLE_EVT_HOST_STARTED, result.up ? 1 : 0);
}

void HostLibrary::onHardwareError(uint32_t code) {
    if (code != 0) {
        m_state = State::Down;
        m_search = Search::Idle;
        m_links.attach(m_controller.get()); // the links went down with the dongle
    }
    m_poster.postValue(BLE_EVT_HOST_ERROR, static_cast<intptr_t>(code));
}

OrvBleResult HostLibrary::startSearch() {
    if (const OrvBleResult ready = readiness(); ready != ORV_BLE_OK) {
        return ready;
    }
    if (m_search != Search::Idle) {
        return ORV_BLE_E_BUSY;
    }
    m_search = Search::Running;
    m_controller->startScan();
    return ORV_BLE_OK;
}

OrvBleResult HostLibrary::stopSearch() {
    if (const OrvBleResult ready = readiness(); ready != ORV_BLE_OK) {
        return ready;
    }
    if (m_search != Search::Running) {
        return ORV_BLE_E_WRONG_STATE;
    }
    m_search = Search::Stopping;
    m_controller->stopScan();
    return ORV_BLE_OK;
}

void HostLibrary::onAdvertisingReport(const AdvertisingReport& report) {
    if (m_search != Search::Running) {
        return;
    }
    const size_t nameBytes = report.name ? report.name->size() + 1 : 0;
    auto* event = m_poster.create<BleHostDeviceFoundEvent>(BLE_EVT_DEVICE_FOUND, nameBytes);
    event->address = report.address;
    event->rssi = report.rssi;
    event->adFlags = report.adFlags;
    if (report.name) {
        char* name = reinterpret_cast<char*>(EventPoster::trailing(event));
        std::memcpy(name, report.name->data(), report.name->size());
        event->name = name;
    }
    if (report.txPower) {
        event->presentMask |= BLE_PRESENT_TX_POWER;
        event->txPower = *report.txPower;
    }
    if (report.appearance) {
        event->presentMask |= BLE_PRESENT_APPEARANCE;
        event->appearance = *report.appearance;
    }
    if (report.slaveInterval) {
        event->presentMask |= BLE_PRESENT_SLAVE_INTERVAL;
        event->slaveIntervalMin = report.slaveInterval->first;
        event->slaveIntervalMax = report.slaveInterval->second;
    }
    m_poster.postRecord(BLE_EVT_DEVICE_FOUND, event);
}

void HostLibrary::onScanEnded(uint16_t status) {
    if (m_search == Search::Idle) {
        return;
    }
    m_search = Search::Idle;
    auto* event = m_poster.create<BleHostSearchEndedEvent>(BLE_EVT_SEARCH_ENDED);
    event->status = status;
    m_poster.postRecord(BLE_EVT_SEARCH_ENDED, event);
}

bool HostLibrary::pairedDevices(uint16_t* count, BleHostPairedDevice** array) {
    std::vector<BondEntry> bonds;
    if (!m_controller->readBonds(bonds)) {
        hostLog() << "veyrahost: the paired-device list cannot be read\n";
        return false;
    }
    const size_t n = std::min<size_t>(bonds.size(), std::numeric_limits<uint16_t>::max());
    *count = static_cast<uint16_t>(n);
    *array = nullptr;
    if (n == 0) {
        return true;
    }
    auto* entries = new BleHostPairedDevice[n]{};
    for (size_t i = 0; i < n; ++i) {
        entries[i].address = bonds[i].address;
        const std::string name = truncateUtf8(bonds[i].name, kNameField - 1);
        std::memcpy(entries[i].name, name.data(), name.size());
        entries[i].appearance = bonds[i].appearance;
    }
    m_pairedArrays.insert(entries);
    *array = entries;
    return true;
}

void HostLibrary::freePairedDevices(BleHostPairedDevice* array) {
    if (array == nullptr) {
        return;
    }
    if (m_pairedArrays.erase(array) == 0) {
        hostLog() << "veyrahost: paired-device list " << static_cast<void*>(array)
                  << " was not handed out or was already freed; ignored\n";
        return;
    }
    delete[] array;
}

OrvBleResult HostLibrary::updatePairedDevice(const BleHostPairedDevice& device) {
    BondEntry entry;
    entry.address = device.address;
    entry.name = truncateUtf8(fieldText(device.name, kNameField), kNameField - 1);
    entry.appearance = device.appearance;
    if (!m_controller->updateBond(entry)) {
        hostLog() << "veyrahost: no stored bond could be updated for that address\n";
        return ORV_BLE_E_INVALID_ARGUMENT;
    }
    return ORV_BLE_OK;
}

OrvBleResult HostLibrary::removeBond(const BleTypedAddress& address) {
    if (const OrvBleResult ready = readiness(); ready != ORV_BLE_OK) {
        return ready;
    }
    m_controller->removeBond(address);
    return ORV_BLE_OK;
}

void HostLibrary::onBondRemoved(uint16_t status, const BleTypedAddress& address) {
    auto* event = m_poster.create<BleHostDebondEvent>(BLE_EVT_DEBOND_RESULT);
    event->status = status;
    event->address = address;
    m_poster.postRecord(BLE_EVT_DEBOND_RESULT, event);
}

OrvBleResult HostLibrary::allocateServerDatabase(uint16_t attributeCount) {
    if (const OrvBleResult ready = readiness(); ready != ORV_BLE_OK) {
        return ready;
    }
    m_databaseAddPending = false;
    m_database.requestAllocation(attributeCount);
    m_controller->allocateDatabase(attributeCount);
    return ORV_BLE_OK;
}

void HostLibrary::onDatabaseAllocated(uint16_t status, uint16_t databaseId) {
    m_database.allocationAnswered(status, databaseId);
    auto* event = m_poster.create<BleHostServerAllocEvent>(BLE_EVT_SERVER_DB_ALLOCATED);
    event->status = status;
    event->databaseId = databaseId;
    m_poster.postRecord(BLE_EVT_SERVER_DB_ALLOCATED, event);
}

OrvBleResult HostLibrary::addServerDatabase(uint16_t databaseId, uint16_t serviceCount,
                                            BleServerServiceRecord* services) {
    if (const OrvBleResult ready = readiness(); ready != ORV_BLE_OK) {
        return ready;
    }
    if (const OrvBleResult result = m_database.add(databaseId, serviceCount, services);
        result != ORV_BLE_OK) {
        return result;
    }
    m_databaseAddPending = true;
    m_controller->addDatabase(m_database.services());
    return ORV_BLE_OK;
}

void HostLibrary::onDatabaseAdded(uint16_t status) {
    if (!m_databaseAddPending) {
        return;
    }
    m_databaseAddPending = false;
    m_poster.postValue(BLE_EVT_SERVER_DB_ADDED, status);
}

} // namespace orv::host
