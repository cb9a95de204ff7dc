// The main window's part of the over-the-air update services: each window opened by the walk over
// the peer's services, and the read results offered to it. Nothing is written or subscribed.
#include "mainframe/CMainFrame.h"

#include "gatt/Uuids.h"
#include "profiles/control/COTAAppServiceCtrl.h"
#include "profiles/control/COTABootLoaderServiceCtrl.h"

namespace {
bool IsVendorService(const BleServiceEntry& service, uint16_t number) {
    return IsVendorUuid(service.uuid, VendorUuidHigh(number));
}
} // namespace

// The window is created once; its handles are looked up and its reads queued on every walk.
bool CMainFrame::FindOTAAppServiceHandles(BleDeviceRecord& peer, const BleServiceEntry& service) {
    if (!IsVendorService(service, VendorUuid::OtaApplicationService))
        return false;
    if (!m_pOTAAppService) {
        m_pOTAAppService = new COTAAppServiceCtrl();
        m_pOTAAppService->Create(m_mdiArea, &m_router, &m_commands);
    }
    m_pOTAAppService->InitHandles(&peer);
    return true;
}

bool CMainFrame::FindOTABootLoaderServiceHandles(BleDeviceRecord& peer, const BleServiceEntry& service) {
    if (!IsVendorService(service, VendorUuid::OtaBootloaderService))
        return false;
    if (!m_pOTABootLoaderService) {
        m_pOTABootLoaderService = new COTABootLoaderServiceCtrl();
        m_pOTABootLoaderService->Create(m_mdiArea, &m_router, &m_commands);
    }
    m_pOTABootLoaderService->InitHandles(&peer);
    return true;
}

void CMainFrame::OnOTAAppServiceRead(uint16_t handle, std::span<const uint8_t> value) {
    if (m_pOTAAppService)
        m_pOTAAppService->OnCharacteristicRead(handle, static_cast<uint16_t>(value.size()), value.data());
}

void CMainFrame::OnOTABootLoaderServiceRead(uint16_t handle, std::span<const uint8_t> value) {
    if (m_pOTABootLoaderService)
        m_pOTABootLoaderService->OnCharacteristicRead(handle, static_cast<uint16_t>(value.size()),
                                                      value.data());
}
