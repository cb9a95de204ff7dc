// A link opener for tests: while it lives, links are recorded instead of opened.
#pragma once

#include "platform/LinkOpener.h"

#include <QUrl>
#include <vector>

class RecordingLinkOpener {
public:
    RecordingLinkOpener() {
        platform::setLinkOpener([this](const QUrl& url) {
            opened.push_back(url);
            return result;
        });
    }
    ~RecordingLinkOpener() { platform::setLinkOpener(nullptr); }
    RecordingLinkOpener(const RecordingLinkOpener&) = delete;
    RecordingLinkOpener& operator=(const RecordingLinkOpener&) = delete;

    std::vector<QUrl> opened;
    // What opening a link answers.
    bool result = true;
};
