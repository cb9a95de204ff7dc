// Opening links in the user's browser, behind a replaceable function.
#pragma once

#include <QUrl>
#include <functional>

namespace platform {

using LinkOpenFunction = std::function<bool(const QUrl& url)>;

// Opens the link with the function installed, by default the desktop's handler. Returns false for an
// invalid link (nothing is opened) or when the handler failed.
bool openLink(const QString& link);
// Installs the function that opens links; an empty one restores the desktop's handler.
void setLinkOpener(LinkOpenFunction opener);

} // namespace platform
