// Base of every profile pane: a form built from a dialog template, drawn over the pane's background.
#pragma once

#include "platform/TimerClock.h"
#include "platform/WinTypes.h"

#include <QFont>
#include <QIcon>
#include <QPixmap>
#include <QPointer>
#include <QSize>
#include <QWidget>
#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

class QLabel;

class CProfileCtrlView : public QWidget {
    Q_OBJECT
public:
    // Builds the form of one dialog template (a uic setupUi) into the pane it is given.
    using TemplateSetup = std::function<void(QWidget* pane)>;

    // Makes templateId buildable by Create; a second registration of an id replaces the first.
    // Returns true, so that a source file can register its template while it is initialised.
    static bool RegisterTemplate(UINT templateId, TemplateSetup setup);

    // A screen frame: values that come faster than this are drawn together.
    static constexpr uint64_t kFrameMs = 16;

    explicit CProfileCtrlView(QWidget* parent = nullptr);
    ~CProfileCtrlView() override;

    // Builds the form of templateId into this pane as a child of parent, gives the pane and its direct
    // children the smoothed copy of the form's font (made on the first call and kept) and lets the
    // pane's background show through labels and buttons (see OnCtlColor). False, with a log line, when
    // no form is registered for templateId.
    virtual bool Create(UINT templateId, QWidget* parent);

    // The icon drawn at cx x cy pixels; at the icon's own size (GetIconSize) when cx or cy is 0. A
    // null pixmap when that size is unknown; a transparent one of the size asked for a null icon.
    static QPixmap IconToBitmap(const QIcon& icon, int cx = 0, int cy = 0);
    // The icon's own size: its largest pixmap, or for a scalable icon the platform's large icon size
    // with the icon's aspect ratio. False, and out untouched, for a null icon.
    static bool GetIconSize(const QIcon& icon, QSize* out);

    // Puts text into label, a control of this pane, at once. The label is repainted at once when the
    // pane showed no new value during the last frame, otherwise when that frame ends, together with
    // every value shown until then: a stream of notifications costs a repaint per screen frame, not
    // one per value. Nothing happens for a null label or an unchanged text.
    void ShowText(QLabel* label, const QString& text);

    // The pane's font copy; empty before the first Create.
    const std::optional<QFont>& PaneFont() const { return m_font; }

protected:
    // Called for every control of the pane during Create: labels and buttons let the pane's
    // background show through, group boxes keep their own. A label with a control id (one that code
    // writes to) on a parent that fills its background is drawn opaque over a copy of that parent's
    // pixels (or over its own background, when it fills one), so that its new values repaint nothing
    // behind it. Panes with own colours override this and call it first.
    virtual void OnCtlColor(QWidget* control);

private:
    class LabelBackdrops;

    void EndFrame();

    std::optional<QFont> m_font;
    LabelBackdrops* m_backdrops = nullptr;        // a child of the pane
    std::optional<uint64_t> m_frameStart;         // when the last frame that showed new values began
    platform::TimerClock::TimerId m_frameEnd = 0; // runs while labels wait for the frame to end
    std::vector<QPointer<QLabel>> m_waiting;      // their repaints held until then
};
