// Message boxes through one replaceable prompter: Qt dialogs in the application, another in tests.
#pragma once

#include "platform/WinTypes.h"

#include <QString>

class QMessageBox;
class QWidget;

namespace platform {

// Shows a message box and returns the button chosen: IDOK, IDYES, IDNO or IDCANCEL.
class Prompter {
public:
    virtual ~Prompter();
    virtual int messageBox(QWidget* parent, const QString& text, const QString& caption, UINT type) = 0;
};

// The prompter in use; the dialog prompter unless a test installed another.
Prompter& prompter();
// Installs a prompter (not owned); nullptr restores the dialog prompter.
void setPrompter(Prompter* replacement);

// Shows a modal QMessageBox in a nested event loop: OK, or Yes and No for MB_YESNO; a stop icon for
// MB_ICONHAND, a warning icon for MB_ICONEXCLAMATION.
class DialogPrompter : public Prompter {
public:
    int messageBox(QWidget* parent, const QString& text, const QString& caption, UINT type) override;

    // Sets up the box's frame (a dialog box's), caption, text, buttons, icon and modality from the type.
    static void configure(QMessageBox& box, const QString& text, const QString& caption, UINT type);
    // The result for the button the box ended with.
    static int resultFor(const QMessageBox& box);
};

// The application's message box: caption = the application name, parent = the active window.
int AfxMessageBox(const QString& text, UINT type = MB_OK);

} // namespace platform
