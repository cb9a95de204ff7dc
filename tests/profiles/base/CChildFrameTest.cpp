// Scrolling of profile windows: metrics from the pane's font, the scroll requests, resizing, creation.
#include "profiles/base/CChildFrame.h"

#include <QApplication>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPointer>
#include <QScrollBar>
#include <QVBoxLayout>
#include <QWheelEvent>
#include <gtest/gtest.h>

namespace {

// A profile window whose pane has a fixed font and one control of 600 x 500 pixels; it records every
// request to move the contents.
class ScrollProbe : public CChildFrame {
public:
    void OnCreate() override {
        pane = new QWidget(PaneParent());
        QFont font(QStringLiteral("DejaVu Sans"));
        font.setPixelSize(13); // average character width 7, height and line spacing 15
        pane->setFont(font);
        auto* layout = new QVBoxLayout(pane);
        layout->setContentsMargins(0, 0, 0, 0);
        layout->addWidget(new QWidget(pane));
        layout->itemAt(0)->widget()->setFixedSize(600, 500);
        InitScrollMetrics(pane);
    }
    void ScrollContentVert(int lines) override {
        steps.push_back(lines);
        CChildFrame::ScrollContentVert(lines);
    }

    QWidget* pane = nullptr;
    std::vector<int> steps; // vertical
};

class ChildFrameTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_frame->setParent(&m_host); // a child window, so that its size is not bound by the screen
        m_frame->OnCreate();
        m_host.show();
        m_frame->resize(300, 200);
    }
    QWidget m_host;
    ScrollProbe* m_frame = new ScrollProbe; // owned by m_host
};

TEST_F(ChildFrameTest, ContentComesFromThePanesControlsStepsFromItsFontAndRangesFromTheClientArea) {
    EXPECT_EQ((std::vector<int>{m_frame->ContentWidth(), m_frame->ContentHeight(), m_frame->LineHeight(),
                                m_frame->ColumnWidth()}),
              (std::vector<int>{600, 530, 15, 7}));
    const auto& vert = m_frame->VertScrollInfo();
    const auto& horz = m_frame->HorzScrollInfo();
    EXPECT_EQ(std::vector<int>({vert.nMax, vert.nPage, horz.nMax, horz.nPage}),
              std::vector<int>({35, 12, 87, 40}));
    m_frame->resize(600, 530);
    EXPECT_EQ(m_frame->VertScrollInfo().nMax + m_frame->HorzScrollInfo().nMax, 0);
    EXPECT_FALSE(m_frame->VertScrollBar()->isVisible() || m_frame->HorzScrollBar()->isVisible());
}

TEST_F(ChildFrameTest, RequestsMoveByTheirStepWithinTheRange) {
    // The last position is 24 (35 - 12 + 1), a page 12 lines. {code, start, end, thumb}
    const int rows[][4] = {{CChildFrame::SB_LINEUP, 0, 0, 0},          {CChildFrame::SB_LINEDOWN, 24, 24, 0},
                           {CChildFrame::SB_PAGEUP, 20, 8, 0},         {CChildFrame::SB_PAGEUP, 1, 0, 0},
                           {CChildFrame::SB_PAGEDOWN, 20, 24, 0},      {CChildFrame::SB_TOP, 5, 0, 0},
                           {CChildFrame::SB_BOTTOM, 0, 24, 0},         {CChildFrame::SB_THUMBTRACK, 3, 7, 7},
                           {CChildFrame::SB_THUMBPOSITION, 1, 24, 40}, {CChildFrame::SB_ENDSCROLL, 3, 3, 0}};
    for (const auto& [code, start, end, thumb] : rows) {
        m_frame->OnVScroll(CChildFrame::SB_THUMBPOSITION, start);
        m_frame->steps.clear();
        m_frame->OnVScroll(static_cast<UINT>(code), thumb);
        EXPECT_EQ(m_frame->VertScrollBar()->value(), end) << code << " from " << start;
        EXPECT_EQ(m_frame->steps, end == start ? std::vector<int>{} : std::vector<int>{end - start}) << code;
        EXPECT_EQ(m_frame->pane->y(), -15 * end) << code;
    }
    m_frame->OnHScroll(CChildFrame::SB_BOTTOM, 0);
    EXPECT_EQ(m_frame->pane->x(), -7 * 48);
}

TEST_F(ChildFrameTest, TheBarsActionsAreRequestsTheWheelIsNoneAndResizingClampsThePosition) {
    QScrollBar* bar = m_frame->VertScrollBar();
    for (const auto action : {QAbstractSlider::SliderToMaximum, QAbstractSlider::SliderSingleStepAdd})
        bar->triggerAction(action);
    QWheelEvent wheel(QPointF(5, 5), bar->mapToGlobal(QPointF(5, 5)), QPoint(), QPoint(0, -120), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(bar, &wheel);
    EXPECT_EQ(m_frame->steps, std::vector<int>{24});
    m_frame->resize(300, 515); // a page of 33 lines: the last position is 3
    EXPECT_EQ(bar->value(), 3);
    m_frame->resize(600, 530);
    EXPECT_EQ(m_frame->steps, (std::vector<int>{24, -21, -3}));
    EXPECT_EQ(m_frame->pane->pos(), QPoint(0, 0));
}

TEST(ChildFrameCreateTest, AWindowOpensAtTheContentSizeInAFramelessSubWindowAndLeavesAtOnceWhenDestroyed) {
    QMdiArea area;
    area.show();
    QPointer<ScrollProbe> frame = new ScrollProbe;
    QPointer<QMdiSubWindow> subWindow = frame->Create(&area, nullptr, nullptr);
    EXPECT_EQ(frame->size(), QSize(600, 530));
    EXPECT_TRUE(subWindow->windowFlags().testFlag(Qt::FramelessWindowHint));
    frame->DestroyWindow();
    EXPECT_TRUE(area.subWindowList().isEmpty());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(frame.isNull() && subWindow.isNull());
}

} // namespace
