#include "profiles/base/CChildFrame.h"

#include "app/COrvBleDemoApp.h"
#include "mainframe/CMainFrame.h"
#include "platform/DialogItems.h"
#include "platform/ui/CommandRouter.h"

#include <QAbstractButton>
#include <QEvent>
#include <QFontMetrics>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QScrollBar>
#include <QtDebug>
#include <algorithm>

namespace {

// The scroll-bar request of a user action on a bar; SB_ENDSCROLL for actions that request nothing.
UINT CodeForAction(int action) {
    switch (action) {
    case QAbstractSlider::SliderSingleStepSub:
        return CChildFrame::SB_LINEUP;
    case QAbstractSlider::SliderSingleStepAdd:
        return CChildFrame::SB_LINEDOWN;
    case QAbstractSlider::SliderPageStepSub:
        return CChildFrame::SB_PAGEUP;
    case QAbstractSlider::SliderPageStepAdd:
        return CChildFrame::SB_PAGEDOWN;
    case QAbstractSlider::SliderMove:
        return CChildFrame::SB_THUMBTRACK;
    case QAbstractSlider::SliderToMinimum:
        return CChildFrame::SB_TOP;
    case QAbstractSlider::SliderToMaximum:
        return CChildFrame::SB_BOTTOM;
    default:
        return CChildFrame::SB_ENDSCROLL;
    }
}

} // namespace

int CChildFrame::ScrollInfo::Last() const {
    return std::max(0, nMax - (nPage - 1));
}

CChildFrame::CChildFrame(QWidget* parent)
    : QWidget(parent), m_client(new QWidget(this)), m_vbar(new QScrollBar(Qt::Vertical, this)),
      m_hbar(new QScrollBar(Qt::Horizontal, this)) {
    for (QScrollBar* bar : {m_vbar, m_hbar}) {
        bar->hide();
        bar->installEventFilter(this);
        connect(bar, &QAbstractSlider::actionTriggered, this,
                [this, bar](int action) { OnBarAction(bar, action); });
    }
}

CChildFrame::~CChildFrame() = default;

QMdiSubWindow* CChildFrame::Create(QMdiArea* area, platform::CommandRouter* router,
                                   platform::CommandTarget* next) {
    m_router = router;
    m_commandTarget.setNextTarget(next);
    QMdiSubWindow* subWindow = area->addSubWindow(this, Qt::SubWindow | Qt::FramelessWindowHint);
    subWindow->setAttribute(Qt::WA_DeleteOnClose);
    if (CMainFrame* mainFrame = AfxGetMainWnd())
        mainFrame->AddOpenWindow(this);
    OnCreate();
    subWindow->adjustSize();
    subWindow->show();
    return subWindow;
}

void CChildFrame::DestroyWindow() {
    QWidget* window = this;
    if (auto* subWindow = qobject_cast<QMdiSubWindow*>(parentWidget())) {
        if (QMdiArea* area = subWindow->mdiArea())
            area->removeSubWindow(subWindow);
        window = subWindow;
    }
    window->hide();
    window->deleteLater();
}

QRect CChildFrame::MapDialogRect(const QFont& font, const QRect& dialogUnits) {
    const QFontMetrics metrics(font);
    const int baseX = metrics.averageCharWidth();
    const int baseY = metrics.height();
    return {dialogUnits.x() * baseX / 4, dialogUnits.y() * baseY / 8, dialogUnits.width() * baseX / 4,
            dialogUnits.height() * baseY / 8};
}

void CChildFrame::InitScrollMetrics(QWidget* pane) {
    m_pane = pane;
    // The pane's controls at their natural size: its layout's, or where a pane without a layout put them.
    QSize content = pane->sizeHint();
    if (!content.isValid()) {
        const QRect children = pane->childrenRect();
        content = QSize(std::max(0, children.x() + children.width()),
                        std::max(0, children.y() + children.height()));
    }
    m_contentHeight = content.height() + kContentMargin;
    m_contentWidth = content.width();
    const QFontMetrics metrics(pane->font());
    m_lineHeight = metrics.lineSpacing();
    m_columnWidth = metrics.averageCharWidth();
    PlacePane();
    UpdateScrollRanges(width(), height());
    // The content size decides which bars the window needs, so the client area may change.
    LayoutClient();
}

void CChildFrame::UpdateScrollRanges(int cx, int cy) {
    const bool lines = m_lineHeight > 0;
    m_vert.nMax = lines && cy < m_contentHeight ? m_contentHeight / m_lineHeight : 0;
    m_vert.nPage = lines ? std::max(1, cy / m_lineHeight) : 1;
    const bool columns = m_columnWidth > 0;
    m_horz.nMax = columns && cx < m_contentWidth ? m_contentWidth / m_columnWidth + 2 : 0;
    m_horz.nPage = columns ? std::max(1, cx / m_columnWidth) : 1;
    ClampPosition(m_vert, true);
    ClampPosition(m_horz, false);
    ApplyScrollInfo(m_vbar, m_vert);
    ApplyScrollInfo(m_hbar, m_horz);
}

// A smaller range can leave the position past the last one; the contents then move with it.
void CChildFrame::ClampPosition(ScrollInfo& info, bool vertical) {
    const int last = info.Last();
    if (info.nPos <= last)
        return;
    const int step = last - info.nPos;
    info.nPos = last;
    ScrollContent(step, vertical);
}

void CChildFrame::ApplyScrollInfo(QScrollBar* bar, const ScrollInfo& info) {
    bar->setRange(info.nMin, info.Last());
    bar->setPageStep(std::max(1, info.nPage));
    bar->setSingleStep(1);
    bar->setValue(info.nPos);
}

void CChildFrame::OnVScroll(UINT code, int pos) {
    OnScroll(m_vert, m_vbar, code, pos, true);
}

void CChildFrame::OnHScroll(UINT code, int pos) {
    OnScroll(m_horz, m_hbar, code, pos, false);
}

void CChildFrame::OnScroll(ScrollInfo& info, QScrollBar* bar, UINT code, int pos, bool vertical) {
    const int last = info.Last();
    int step = 0;
    switch (code) {
    case SB_LINEUP:
        if (info.nPos <= 0)
            return;
        step = -1;
        break;
    case SB_LINEDOWN:
        if (info.nPos >= last)
            return;
        step = 1;
        break;
    case SB_PAGEUP:
        if (info.nPos <= 0)
            return;
        step = -std::min(info.nPos, info.nPage);
        break;
    case SB_PAGEDOWN:
        if (info.nPos >= last)
            return;
        step = std::min(last - info.nPos, info.nPage);
        break;
    case SB_THUMBPOSITION:
    case SB_THUMBTRACK:
        // The thumb cannot stand outside the bar's range.
        step = std::clamp(pos, 0, last) - info.nPos;
        break;
    case SB_TOP:
        if (info.nPos <= 0)
            return;
        step = -info.nPos;
        break;
    case SB_BOTTOM:
        if (info.nPos >= last)
            return;
        step = last - info.nPos;
        break;
    default:
        return;
    }
    info.nPos += step;
    ApplyScrollInfo(bar, info);
    if (step != 0)
        ScrollContent(step, vertical);
}

void CChildFrame::OnBarAction(QScrollBar* bar, int action) {
    const UINT code = CodeForAction(action);
    if (code == SB_ENDSCROLL)
        return;
    const bool vertical = bar == m_vbar;
    if (vertical)
        OnVScroll(code, bar->sliderPosition());
    else
        OnHScroll(code, bar->sliderPosition());
    // The bar shows the position this window decided, not the one the bar would have taken.
    bar->setSliderPosition(vertical ? m_vert.nPos : m_horz.nPos);
}

void CChildFrame::ScrollContent(int steps, bool vertical) {
    if (vertical)
        ScrollContentVert(steps);
    else
        ScrollContentHorz(steps);
}

void CChildFrame::ScrollContentHorz(int columns) {
    m_scrolled.rx() += columns * m_columnWidth;
    PlacePane();
}

void CChildFrame::ScrollContentVert(int lines) {
    m_scrolled.ry() += lines * m_lineHeight;
    PlacePane();
}

void CChildFrame::OnSize(int cx, int cy) {
    m_clientSize = QSize(cx, cy);
    if (cy >= m_contentHeight && m_vert.nPos > 0) {
        const int old = m_vert.nPos;
        m_vert.nPos = 0;
        ApplyScrollInfo(m_vbar, m_vert);
        ScrollContentVert(-old);
    }
    if (cx >= m_contentWidth && m_horz.nPos > 0) {
        const int old = m_horz.nPos;
        m_horz.nPos = 0;
        ApplyScrollInfo(m_hbar, m_horz);
        ScrollContentHorz(-old);
    }
    PlacePane();
    UpdateScrollRanges(cx, cy);
}

// The pane covers the client area and at least the content size, shifted by what has been scrolled.
void CChildFrame::PlacePane() {
    if (!m_pane)
        return;
    const int paneWidth = std::max(m_clientSize.width() + m_scrolled.x(), m_contentWidth);
    const int paneHeight = std::max(m_clientSize.height() + m_scrolled.y(), m_contentHeight);
    m_pane->setGeometry(-m_scrolled.x(), -m_scrolled.y(), paneWidth, paneHeight);
    m_pane->update();
}

// A bar is shown only where the contents do not fit; one bar can make the other necessary.
void CChildFrame::LayoutClient() {
    const int barWidth = m_vbar->sizeHint().width();
    const int barHeight = m_hbar->sizeHint().height();
    bool vert = false;
    bool horz = false;
    for (int pass = 0; pass < 2; ++pass) {
        vert = height() - (horz ? barHeight : 0) < m_contentHeight;
        horz = width() - (vert ? barWidth : 0) < m_contentWidth;
    }
    const QSize client(std::max(0, width() - (vert ? barWidth : 0)),
                       std::max(0, height() - (horz ? barHeight : 0)));
    m_client->setGeometry(0, 0, client.width(), client.height());
    m_vbar->setGeometry(client.width(), 0, barWidth, client.height());
    m_hbar->setGeometry(0, client.height(), client.width(), barHeight);
    m_vbar->setVisible(vert);
    m_hbar->setVisible(horz);
    if (client == m_clientSize)
        return;
    OnSize(client.width(), client.height());
}

void CChildFrame::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    LayoutClient();
}

// The wheel does not scroll a profile window, not even over its scroll bars.
bool CChildFrame::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Wheel && (watched == m_vbar || watched == m_hbar))
        return true;
    return QWidget::eventFilter(watched, event);
}

void CChildFrame::BindCommandButton(UINT id) {
    auto* button = qobject_cast<QAbstractButton*>(platform::GetDlgItem(this, id));
    if (!button) {
        qWarning("Profile window \"%s\" has no button %u", qPrintable(windowTitle()), id);
        return;
    }
    if (m_router)
        m_router->bindButton(button, id, &m_commandTarget);
}

platform::CommandRouter* CChildFrame::Router() const {
    return m_router;
}

void CChildFrame::BindCommandControl(UINT id) {
    QPointer<QWidget> control = platform::GetDlgItem(this, id);
    if (!control) {
        qWarning("Profile window \"%s\" has no control %u", qPrintable(windowTitle()), id);
        return;
    }
    if (m_router)
        m_router->bind(control, id, &m_commandTarget,
                       {[control](bool on) {
                            if (control)
                                control->setEnabled(on);
                        },
                        {},
                        {}});
}

bool CChildFrame::IssueCommand(UINT id) {
    QWidget* control = platform::GetDlgItem(this, id);
    return m_router && control && m_router->invoke(control);
}
