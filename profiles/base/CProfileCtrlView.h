// Base of every profile pane: a form built from a dialog template, drawn over the pane's background.
#pragma once

#include "platform/WinTypes.h"

#include <QFont>
#include <QIcon>
#include <QPixmap>
#include <QSize>
#include <QWidget>
#include <functional>
#include <optional>

class CProfileCtrlView : public QWidget {
    Q_OBJECT
public:
    // Builds the form of one dialog template (a uic setupUi) into the pane it is given.
    using TemplateSetup = std::function<void(QWidget* pane)>;

    // Makes templateId buildable by Create; a second registration of an id replaces the first.
    // Returns true, so that a source file can register its template while it is initialised.
    static bool RegisterTemplate(UINT templateId, TemplateSetup setup);

    explicit CProfileCtrlView(QWidget* parent = nullptr);

    // Builds the form of templateId into this pane as a child of parent, gives the pane and its direct
    // children the smoothed copy of the form's font (made on the first call and kept) and lets the
    // pane's background show through labels and buttons. False, with a log line, when no form is
    // registered for templateId.
    virtual bool Create(UINT templateId, QWidget* parent);

    // The icon drawn at cx x cy pixels; at the icon's own size (GetIconSize) when cx or cy is 0. A
    // null pixmap when that size is unknown; a transparent one of the size asked for a null icon.
    static QPixmap IconToBitmap(const QIcon& icon, int cx = 0, int cy = 0);
    // The icon's own size: its largest pixmap, or for a scalable icon the platform's large icon size
    // with the icon's aspect ratio. False, and out untouched, for a null icon.
    static bool GetIconSize(const QIcon& icon, QSize* out);

    // The pane's font copy; empty before the first Create.
    const std::optional<QFont>& PaneFont() const { return m_font; }

protected:
    // Called for every control of the pane during Create: labels and buttons let the pane's
    // background show through, group boxes keep their own. Panes with own colours override this and
    // call it first.
    virtual void OnCtlColor(QWidget* control);

private:
    std::optional<QFont> m_font;
};
