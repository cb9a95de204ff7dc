// The frame of every dialog box: a caption with a system menu and a close button, nothing more.
#pragma once

class QDialog;

namespace platform {

// Gives dialog a caption with a close button and no minimise or maximise button, fixes its size at
// the size it first opens with, and undoes a minimise of it while it is modal (a window manager
// that offers the button anyway would otherwise hide the whole program with the box). Call before
// the dialog is first shown.
void setDialogBoxFrame(QDialog& dialog);

} // namespace platform
