// Scrolling of profile windows: ranges from the window size, the request table, resizing.
#include "profiles/base/CChildFrame.h"

#include <QApplication>
#include <QCoreApplication>
#include <QFontMetrics>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPointer>
#include <QScrollBar>
#include <QWheelEvent>
#include <gtest/gtest.h>
#include <vector>

namespace {

// A profile window with a plain pane that records every request to move the contents.
class ScrollProbe : public CChildFrame {
public:
    void Init() {
        pane = new QWidget(PaneParent());
        InitScrollMetrics(pane);
    }

    QWidget* pane = nullptr;
    std::vector<int> vertSteps;
    std::vector<int> horzSteps;

protected:
    void OnCreate() override { Init(); }
    void ScrollContentVert(int lines) override {
        vertSteps.push_back(lines);
        CChildFrame::ScrollContentVert(lines);
    }
    void ScrollContentHorz(int columns) override {
        horzSteps.push_back(columns);
        CChildFrame::ScrollContentHorz(columns);
    }
};

class ChildFrameTest : public ::testing::Test {
protected:
    void SetUp() override {
        // A child window, so that its size is not bound by the screen.
        m_frame = new ScrollProbe;
        m_frame->setParent(&m_host);
        m_frame->Init();
        m_host.show();
        // A third of the content in each direction: both bars have a range of several pages.
        m_frame->resize(m_frame->ContentWidth() / 3, m_frame->ContentHeight() / 3);
    }

    void ClearSteps() {
        m_frame->vertSteps.clear();
        m_frame->horzSteps.clear();
    }
    QPoint PaneOffset() const {
        return {m_frame->HorzScrollInfo().nPos * m_frame->ColumnWidth(),
                m_frame->VertScrollInfo().nPos * m_frame->LineHeight()};
    }

    QWidget m_host;
    ScrollProbe* m_frame = nullptr; // owned by m_host
};

TEST_F(ChildFrameTest, MapDialogRectScalesByQuarterCharacterWidthAndEighthHeight) {
    const QFont font = QApplication::font();
    const QFontMetrics metrics(font);
    const QRect mapped = CChildFrame::MapDialogRect(font, QRect(4, 8, 8, 16));
    EXPECT_EQ(mapped, QRect(metrics.averageCharWidth(), metrics.height(), 2 * metrics.averageCharWidth(),
                            2 * metrics.height()));
}

TEST_F(ChildFrameTest, ContentIsTheDialogAreaWithAMarginBelowAndStepsComeFromThePaneFont) {
    const QFontMetrics metrics(m_frame->pane->font());
    const QRect area = CChildFrame::MapDialogRect(m_frame->pane->font(), QRect(0, 0, 422, 366));
    EXPECT_EQ(m_frame->ContentHeight(), area.height() + 30);
    EXPECT_EQ(m_frame->ContentWidth(), area.width());
    EXPECT_EQ(m_frame->LineHeight(), metrics.lineSpacing());
    EXPECT_EQ(m_frame->ColumnWidth(), metrics.averageCharWidth());
}

TEST_F(ChildFrameTest, RangesFollowTheClientArea) {
    const QSize client =
        m_frame->size() - QSize(m_frame->VertScrollBar()->width(), m_frame->HorzScrollBar()->height());
    const auto& vert = m_frame->VertScrollInfo();
    const auto& horz = m_frame->HorzScrollInfo();
    EXPECT_EQ(vert.nMax, m_frame->ContentHeight() / m_frame->LineHeight());
    EXPECT_EQ(vert.nPage, client.height() / m_frame->LineHeight());
    EXPECT_EQ(horz.nMax, m_frame->ContentWidth() / m_frame->ColumnWidth() + 2);
    EXPECT_EQ(horz.nPage, client.width() / m_frame->ColumnWidth());
    EXPECT_TRUE(m_frame->VertScrollBar()->isVisible());
    EXPECT_TRUE(m_frame->HorzScrollBar()->isVisible());
}

TEST_F(ChildFrameTest, WindowAsLargeAsTheContentHasNoRangeAndNoBars) {
    m_frame->resize(m_frame->ContentWidth(), m_frame->ContentHeight());
    EXPECT_EQ(m_frame->VertScrollInfo().nMax, 0);
    EXPECT_EQ(m_frame->HorzScrollInfo().nMax, 0);
    EXPECT_FALSE(m_frame->VertScrollBar()->isVisible());
    EXPECT_FALSE(m_frame->HorzScrollBar()->isVisible());
}

// A position counted from the top (or left) or back from the last position.
struct Position {
    bool fromLast;
    int offset;
};
constexpr Position Top(int offset = 0) {
    return {false, offset};
}
constexpr Position FromLast(int offset = 0) {
    return {true, offset};
}

struct ScrollRow {
    const char* name;
    UINT code;
    Position start;
    Position expected;
    bool refused;
    Position thumb = Top();
};

const ScrollRow kScrollRows[] = {
    {"line up at the top", CChildFrame::SB_LINEUP, Top(), Top(), true},
    {"line up", CChildFrame::SB_LINEUP, Top(3), Top(2), false},
    {"line down at the last position", CChildFrame::SB_LINEDOWN, FromLast(), FromLast(), true},
    {"line down", CChildFrame::SB_LINEDOWN, Top(), Top(1), false},
    {"page up at the top", CChildFrame::SB_PAGEUP, Top(), Top(), true},
    {"page up near the top", CChildFrame::SB_PAGEUP, Top(1), Top(), false},
    {"page down at the last position", CChildFrame::SB_PAGEDOWN, FromLast(), FromLast(), true},
    {"page down near the end", CChildFrame::SB_PAGEDOWN, FromLast(-2), FromLast(), false},
    {"top at the top", CChildFrame::SB_TOP, Top(), Top(), true},
    {"top", CChildFrame::SB_TOP, Top(5), Top(), false},
    {"bottom at the last position", CChildFrame::SB_BOTTOM, FromLast(), FromLast(), true},
    {"bottom", CChildFrame::SB_BOTTOM, Top(), FromLast(), false},
    {"thumb down", CChildFrame::SB_THUMBTRACK, Top(3), Top(7), false, Top(7)},
    {"thumb up", CChildFrame::SB_THUMBPOSITION, Top(7), Top(2), false, Top(2)},
    {"thumb where it stands", CChildFrame::SB_THUMBTRACK, Top(4), Top(4), false, Top(4)},
    {"thumb past the end", CChildFrame::SB_THUMBTRACK, Top(1), FromLast(), false, FromLast(5)},
    {"end of scrolling", CChildFrame::SB_ENDSCROLL, Top(3), Top(3), true},
    {"unknown code", 42, Top(3), Top(3), true},
};

class ScrollTableTest : public ChildFrameTest, public ::testing::WithParamInterface<bool> {
protected:
    bool Vertical() const { return GetParam(); }
    const CChildFrame::ScrollInfo& Info() const {
        return Vertical() ? m_frame->VertScrollInfo() : m_frame->HorzScrollInfo();
    }
    int Resolve(Position position) const {
        return position.fromLast ? Info().Last() + position.offset : position.offset;
    }
    void Scroll(UINT code, int pos) {
        if (Vertical())
            m_frame->OnVScroll(code, pos);
        else
            m_frame->OnHScroll(code, pos);
    }
    const std::vector<int>& Steps() const { return Vertical() ? m_frame->vertSteps : m_frame->horzSteps; }
};

TEST_P(ScrollTableTest, RequestsMoveByTheirStepOrAreRefused) {
    ASSERT_GT(Info().nPage, 2);
    ASSERT_GT(Info().Last(), Info().nPage + 5);
    for (const ScrollRow& row : kScrollRows) {
        SCOPED_TRACE(row.name);
        Scroll(CChildFrame::SB_THUMBPOSITION, Resolve(row.start));
        ASSERT_EQ(Info().nPos, Resolve(row.start));
        ClearSteps();

        Scroll(row.code, Resolve(row.thumb));

        const int expected = Resolve(row.expected);
        EXPECT_EQ(Info().nPos, expected);
        const QScrollBar* bar = Vertical() ? m_frame->VertScrollBar() : m_frame->HorzScrollBar();
        EXPECT_EQ(bar->value(), expected);
        const int step = expected - Resolve(row.start);
        if (row.refused || step == 0)
            EXPECT_TRUE(Steps().empty());
        else
            EXPECT_EQ(Steps(), std::vector<int>{step});
        EXPECT_EQ(m_frame->pane->pos(), -PaneOffset());
    }
}

TEST_P(ScrollTableTest, PageDownFromTheTopMovesOnePage) {
    Scroll(CChildFrame::SB_PAGEDOWN, 0);
    EXPECT_EQ(Info().nPos, Info().nPage);
}

INSTANTIATE_TEST_SUITE_P(BothBars, ScrollTableTest, ::testing::Values(true, false),
                         [](const auto& info) { return info.param ? "Vertical" : "Horizontal"; });

TEST_F(ChildFrameTest, BarActionsGoThroughTheRequestTable) {
    QScrollBar* bar = m_frame->VertScrollBar();
    bar->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    EXPECT_EQ(m_frame->VertScrollInfo().nPos, 1);
    bar->triggerAction(QAbstractSlider::SliderToMaximum);
    const int last = m_frame->VertScrollInfo().Last();
    EXPECT_EQ(m_frame->VertScrollInfo().nPos, last);
    ClearSteps();
    bar->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    EXPECT_EQ(m_frame->VertScrollInfo().nPos, last);
    EXPECT_EQ(bar->value(), last);
    EXPECT_TRUE(m_frame->vertSteps.empty());
    bar->triggerAction(QAbstractSlider::SliderPageStepSub);
    EXPECT_EQ(m_frame->VertScrollInfo().nPos, last - m_frame->VertScrollInfo().nPage);
    EXPECT_EQ(bar->value(), m_frame->VertScrollInfo().nPos);
}

TEST_F(ChildFrameTest, DraggingTheThumbScrollsToIt) {
    QScrollBar* bar = m_frame->HorzScrollBar();
    bar->setSliderDown(true);
    bar->setSliderPosition(6);
    bar->setSliderDown(false);
    EXPECT_EQ(m_frame->HorzScrollInfo().nPos, 6);
    EXPECT_EQ(m_frame->horzSteps, std::vector<int>{6});
    EXPECT_EQ(m_frame->pane->x(), -6 * m_frame->ColumnWidth());
}

TEST_F(ChildFrameTest, WheelDoesNotScroll) {
    QScrollBar* bar = m_frame->VertScrollBar();
    const QPointF at(bar->width() / 2.0, bar->height() / 2.0);
    QWheelEvent wheel(at, bar->mapToGlobal(at), QPoint(), QPoint(0, -120), Qt::NoButton, Qt::NoModifier,
                      Qt::NoScrollPhase, false);
    QApplication::sendEvent(bar, &wheel);
    EXPECT_EQ(m_frame->VertScrollInfo().nPos, 0);
    EXPECT_EQ(bar->value(), 0);
    EXPECT_TRUE(m_frame->vertSteps.empty());
}

TEST_F(ChildFrameTest, GrowingToTheContentSizeReturnsToTheTopLeft) {
    m_frame->OnVScroll(CChildFrame::SB_THUMBTRACK, 4);
    m_frame->OnHScroll(CChildFrame::SB_THUMBTRACK, 3);
    ClearSteps();
    m_frame->resize(m_frame->ContentWidth(), m_frame->ContentHeight());
    EXPECT_EQ(m_frame->VertScrollInfo().nPos, 0);
    EXPECT_EQ(m_frame->HorzScrollInfo().nPos, 0);
    EXPECT_EQ(m_frame->vertSteps, std::vector<int>{-4});
    EXPECT_EQ(m_frame->horzSteps, std::vector<int>{-3});
    EXPECT_EQ(m_frame->pane->pos(), QPoint(0, 0));
}

TEST_F(ChildFrameTest, ShrinkingRangeClampsThePositionAndTheContentsFollow) {
    m_frame->OnVScroll(CChildFrame::SB_BOTTOM, 0);
    const int oldLast = m_frame->VertScrollInfo().Last();
    ClearSteps();
    // Taller, still short of the content: a larger page, so a smaller last position.
    m_frame->resize(m_frame->width(), m_frame->ContentHeight() - 2 * m_frame->LineHeight());
    const int newLast = m_frame->VertScrollInfo().Last();
    ASSERT_LT(newLast, oldLast);
    EXPECT_EQ(m_frame->VertScrollInfo().nPos, newLast);
    EXPECT_EQ(m_frame->VertScrollBar()->value(), newLast);
    EXPECT_EQ(m_frame->vertSteps, std::vector<int>{newLast - oldLast});
    EXPECT_EQ(m_frame->pane->y(), -newLast * m_frame->LineHeight());
}

TEST_F(ChildFrameTest, PaneCoversTheClientAreaAtLeastAtContentSize) {
    const QWidget* client = m_frame->pane->parentWidget();
    EXPECT_GE(m_frame->pane->width(), m_frame->ContentWidth());
    EXPECT_GE(m_frame->pane->height(), m_frame->ContentHeight());
    m_frame->resize(2 * m_frame->ContentWidth(), 2 * m_frame->ContentHeight());
    EXPECT_EQ(m_frame->pane->geometry(), client->rect());
    EXPECT_EQ(client->size(), m_frame->size());
}

TEST_F(ChildFrameTest, CreatePutsTheWindowIntoAFramelessSubWindow) {
    QMdiArea area;
    auto* frame = new ScrollProbe;
    QMdiSubWindow* subWindow = frame->Create(&area, nullptr, nullptr);
    ASSERT_NE(subWindow, nullptr);
    EXPECT_EQ(subWindow->widget(), frame);
    EXPECT_TRUE(subWindow->windowFlags().testFlag(Qt::FramelessWindowHint));
    EXPECT_TRUE(subWindow->testAttribute(Qt::WA_DeleteOnClose));
    EXPECT_NE(frame->pane, nullptr);
    EXPECT_EQ(area.subWindowList().size(), 1);
}

TEST_F(ChildFrameTest, DestroyWindowLeavesTheAreaAtOnceAndDeletesTheWindowLater) {
    QMdiArea area;
    area.show();
    QPointer<ScrollProbe> frame = new ScrollProbe;
    QPointer<QMdiSubWindow> subWindow = frame->Create(&area, nullptr, nullptr);
    frame->DestroyWindow();
    EXPECT_TRUE(area.subWindowList().isEmpty());
    EXPECT_FALSE(subWindow->isVisible());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(frame.isNull());
    EXPECT_TRUE(subWindow.isNull());
}

TEST_F(ChildFrameTest, NewWindowOpensAtTheContentSizeWithoutScrollBars) {
    QMdiArea area;
    area.show();
    auto* frame = new ScrollProbe;
    frame->Create(&area, nullptr, nullptr);
    EXPECT_EQ(frame->size(), QSize(frame->ContentWidth(), frame->ContentHeight()));
    EXPECT_FALSE(frame->VertScrollBar()->isVisible());
    EXPECT_FALSE(frame->HorzScrollBar()->isVisible());
}

} // namespace
