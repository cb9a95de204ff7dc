// Base of every profile window: an MDI child that holds one pane and scrolls it by lines and columns.
#pragma once

#include "platform/WinTypes.h"
#include "platform/ui/CommandTarget.h"

#include <QPointer>
#include <QRect>
#include <QSize>
#include <QWidget>

class QFont;
class QMdiArea;
class QMdiSubWindow;
class QScrollBar;

namespace platform {
class CommandRouter;
}

// The window's scroll bars follow the contents (the pane's controls, with a margin below them): when
// the window is smaller, the pane moves by whole text lines vertically and by whole average-character
// columns horizontally. A window at least as large as its contents has no range. The wheel does not
// scroll.
class CChildFrame : public QWidget {
    Q_OBJECT
public:
    // Scroll-bar request codes.
    enum ScrollCode : UINT {
        SB_LINEUP = 0,
        SB_LINEDOWN = 1,
        SB_PAGEUP = 2,
        SB_PAGEDOWN = 3,
        SB_THUMBPOSITION = 4,
        SB_THUMBTRACK = 5,
        SB_TOP = 6,
        SB_BOTTOM = 7,
        SB_ENDSCROLL = 8,
    };

    // State of one scroll bar: range nMin..nMax, page size and position (in lines or columns).
    struct ScrollInfo {
        int nMin = 0;
        int nMax = 0;
        int nPage = 0;
        int nPos = 0;

        // The largest position: nMax - (nPage - 1), never below 0.
        int Last() const;
    };

    // Pixels below the pane's controls that belong to the contents.
    static constexpr int kContentMargin = 30;

    explicit CChildFrame(QWidget* parent = nullptr);
    ~CChildFrame() override;

    // Puts the window into a new frameless sub-window of area, appends it to the main window's
    // open-window list (when there is a main window), runs OnCreate and shows it at the content size.
    // Controls bound with BindCommandButton issue their commands through router, from this window's command
    // target and then from next (the main window's). The sub-window owns this window and deletes it on close.
    QMdiSubWindow* Create(QMdiArea* area, platform::CommandRouter* router, platform::CommandTarget* next);

    // Takes the window out of its MDI area at once and deletes it (with its sub-window) once control
    // is back in the event loop, so that a window may be closed from one of its own handlers. A window
    // with timers of its own stops them first.
    virtual void DestroyWindow();

    // Dialog units to pixels for font: x * average character width / 4, y * height / 8.
    static QRect MapDialogRect(const QFont& font, const QRect& dialogUnits);

    // This window's command handlers; the main window offers commands to the active child's target.
    platform::CommandTarget* GetCommandTarget() { return &m_commandTarget; }

    // A new window opens at the content size.
    QSize sizeHint() const override { return {m_contentWidth, m_contentHeight}; }

    void OnVScroll(UINT code, int pos);
    void OnHScroll(UINT code, int pos);

    const ScrollInfo& VertScrollInfo() const { return m_vert; }
    const ScrollInfo& HorzScrollInfo() const { return m_horz; }
    int ContentHeight() const { return m_contentHeight; }
    int ContentWidth() const { return m_contentWidth; }
    int LineHeight() const { return m_lineHeight; }
    int ColumnWidth() const { return m_columnWidth; }
    QScrollBar* VertScrollBar() const { return m_vbar; }
    QScrollBar* HorzScrollBar() const { return m_hbar; }

protected:
    // The window's own set-up: create the pane with PaneParent() as parent, set the title, set up the
    // controls, and finish with InitScrollMetrics.
    virtual void OnCreate() = 0;
    // The client area is now cx x cy pixels: returns to the top (left) when the contents fit, moves
    // the pane over the client area and recomputes both scroll bars.
    virtual void OnSize(int cx, int cy);
    // Moves the pane's contents by columns (positive: contents move left) or lines (positive: up).
    virtual void ScrollContentHorz(int columns);
    virtual void ScrollContentVert(int lines);

    // Parent of the pane: the client area, which clips it.
    QWidget* PaneParent() const { return m_client; }
    // The router the window's controls and menus issue their commands through (null before Create).
    platform::CommandRouter* Router() const;
    // Content size from the pane's controls and scroll steps from its font; then the first scroll ranges.
    void InitScrollMetrics(QWidget* pane);
    void UpdateScrollRanges(int cx, int cy);
    // Binds the push button with control id id in this window to command id id.
    void BindCommandButton(UINT id);
    // Binds another control (a list, an edit, a picture) to command id id: its enabled state follows
    // the update. When the control notifies (a selection made, a date picked), the window calls
    // IssueCommand(id), which runs the command as a click runs a button's; false when nothing ran.
    void BindCommandControl(UINT id);
    bool IssueCommand(UINT id);

    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void OnScroll(ScrollInfo& info, QScrollBar* bar, UINT code, int pos, bool vertical);
    void OnBarAction(QScrollBar* bar, int action);
    void ClampPosition(ScrollInfo& info, bool vertical);
    void ApplyScrollInfo(QScrollBar* bar, const ScrollInfo& info);
    void ScrollContent(int steps, bool vertical);
    void LayoutClient();
    void PlacePane();

    int m_contentHeight = 0;
    int m_contentWidth = 0;
    int m_lineHeight = 0;
    int m_columnWidth = 0;
    ScrollInfo m_vert;
    ScrollInfo m_horz;

    QWidget* m_client = nullptr;
    QScrollBar* m_vbar = nullptr;
    QScrollBar* m_hbar = nullptr;
    QPointer<QWidget> m_pane;
    QPoint m_scrolled;  // pixels the contents have moved up and left
    QSize m_clientSize; // as last given to OnSize
    platform::CommandTarget m_commandTarget;
    QPointer<platform::CommandRouter> m_router;
};
