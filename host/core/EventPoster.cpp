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

int EventPoster::post(uint32_t code, intptr_t lParam) {
    ++m_posting;
    const int accepted = m_platform.postMessage(m_window, m_messageId, code, lParam);
    --m_posting;
    return accepted;
}

void EventPoster::postValue(uint32_t code, intptr_t value) {
    if (!attached() || !hasPlatform()) {
        return;
    }
    if (post(code, value) == 0) {
        hostLog() << "veyrahost: event " << code << " could not be posted; dropped\n";
    }
}

void EventPoster::postRecord(uint32_t code, void* record) {
    if (!attached() || !hasPlatform() || post(code, reinterpret_cast<intptr_t>(record)) == 0) {
        hostLog() << "veyrahost: event " << code << " could not be posted; record released\n";
        m_records.release(code, record);
    }
}

} // namespace orv::host
