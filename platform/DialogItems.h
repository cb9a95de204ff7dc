// Controls of dialog templates addressed by their numeric ids (the "ctrlId" property set in .ui files).
#pragma once

#include "platform/WinTypes.h"

#include <QString>

class QWidget;

namespace platform {

inline constexpr char kControlIdProperty[] = "ctrlId";

// The first descendant of root whose control id is id, or nullptr.
QWidget* GetDlgItem(const QWidget* root, UINT id);
// Text of a label, line edit, text edit or button; empty for other or missing controls.
QString GetDlgItemText(const QWidget* root, UINT id);
// Sets that text; returns false when the control is missing or holds no text.
bool SetDlgItemText(const QWidget* root, UINT id, const QString& text);

} // namespace platform
