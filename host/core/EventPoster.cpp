// Host events: building event records and posting them to the attached window.
#include "EventPoster.h"

#include "HostLog.h"

namespace orv::host {

uint32_t EventPoster::registerMessage(const char* name) const {
    return hasPlatform() ? m_platform.registerMessage(name) : 0;
}

void EventPoster::attach(OrvHwnd window, uint32_t messageId) {
    m_window = window;
    m_messageId = messageId;
}

void EventPoster::detach() {
    m_window = nullptr;
}

void EventPoster::postValue(uint32_t code, intptr_t value) {
    if (!attached() || !hasPlatform()) {
        return;
    }
    if (m_platform.postMessage(m_window, m_messageId, code, value) == 0) {
        hostLog() << "veyrahost: event " << code << " could not be posted; dropped\n";
    }
}

void EventPoster::postRecord(uint32_t code, void* record) {
    if (!attached() || !hasPlatform() ||
        m_platform.postMessage(m_window, m_messageId, code, reinterpret_cast<intptr_t>(record)) == 0) {
        hostLog() << "veyrahost: event " << code << " could not be posted; record released\n";
        m_records.release(code, record);
    }
}

} // namespace orv::host
