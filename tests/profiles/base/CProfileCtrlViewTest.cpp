// Profile panes: forms by template id, the pane font, transparent controls, values paced to screen
// frames, icons as pictures, and list columns fitted to their headers and values.
#include "profiles/base/CProfileCtrlView.h"

#include "platform/DialogItems.h"
#include "platform/TimerClock.h"
#include "profiles/base/ColumnFitter.h"
#include "support/WindowTest.h"

#include <QCoreApplication>
#include <QGroupBox>
#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <gtest/gtest.h>

namespace {

constexpr UINT kTestTemplate = 60001, kSmallFontTemplate = 60002, kValueTemplate = 60003;
constexpr UINT kLabel = 2001, kGroup = 2002, kButton = 2003, kGroupedLabel = 2004, kValue = 2005;

QWidget* WithId(QWidget* widget, UINT id) {
    widget->setProperty(platform::kControlIdProperty, id);
    widget->setAutoFillBackground(true);
    return widget;
}

// A form in a 31-point font with a label, a button and a group box with a label inside, all filled.
void TestForm(QWidget* pane) {
    pane->setFont(QFont(QStringLiteral("DejaVu Sans"), 31));
    WithId(new QLabel(QStringLiteral("Label"), pane), kLabel);
    WithId(new QPushButton(QStringLiteral("Button"), pane), kButton);
    WithId(new QLabel(QStringLiteral("Inside"), WithId(new QGroupBox(pane), kGroup)), kGroupedLabel);
}

// A group box holding a caption and a value field of a fixed size, laid out as the profile templates are.
void ValueForm(QWidget* pane) {
    auto* group = WithId(new QGroupBox(QStringLiteral("Measurements"), pane), kGroup);
    auto* groupLayout = new QVBoxLayout(group);
    groupLayout->addWidget(new QLabel(QStringLiteral("Caption"), group));
    QWidget* value = WithId(new QLabel(QStringLiteral("N/A"), group), kValue);
    value->setFixedSize(120, 24);
    QSizePolicy policy = value->sizePolicy();
    policy.setRetainSizeWhenHidden(true);
    value->setSizePolicy(policy);
    groupLayout->addWidget(value);
    (new QVBoxLayout(pane))->addWidget(group);
}

const bool kRegistered = CProfileCtrlView::RegisterTemplate(kTestTemplate, TestForm) &&
                         CProfileCtrlView::RegisterTemplate(kValueTemplate, ValueForm) &&
                         CProfileCtrlView::RegisterTemplate(
                             kSmallFontTemplate, [](QWidget* pane) { pane->setFont(QFont("", 12)); });

TEST(ProfileCtrlViewTest, TheFormIsBuiltWithTransparentControlsAndTheFirstFormsSmoothedFont) {
    ASSERT_TRUE(kRegistered);
    QWidget parent;
    CProfileCtrlView pane;
    EXPECT_FALSE(pane.Create(59999, &parent));
    EXPECT_EQ(pane.parentWidget(), nullptr);
    ASSERT_TRUE(pane.Create(kTestTemplate, &parent));
    ASSERT_TRUE(pane.Create(kSmallFontTemplate, &parent));
    EXPECT_EQ(pane.parentWidget(), &parent);
    const auto item = [&pane](UINT id) { return platform::GetDlgItem(&pane, id); };
    for (const auto& [id, fills] :
         {std::pair{kLabel, false}, {kButton, false}, {kGroupedLabel, false}, {kGroup, true}})
        EXPECT_EQ(item(id)->autoFillBackground(), fills) << id;
    EXPECT_EQ(pane.PaneFont()->styleStrategy(), QFont::PreferAntialias);
    EXPECT_EQ(pane.font().pointSize(), 31);
    for (const UINT id : {kLabel, kButton, kGroup})
        EXPECT_EQ(item(id)->font(), *pane.PaneFont()) << id;
    EXPECT_FALSE(item(kGroupedLabel)->testAttribute(Qt::WA_SetFont));
}

// A shown pane with a value field, on virtual time.
class ValueFieldTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(kRegistered);
        platform::TimerClock::useVirtualTime(true);
        ASSERT_TRUE(m_pane.Create(kValueTemplate, &m_parent));
        m_parent.resize(300, 200);
        m_parent.show();
        QCoreApplication::processEvents();
        m_value = qobject_cast<QLabel*>(platform::GetDlgItem(&m_pane, kValue));
        m_group = platform::GetDlgItem(&m_pane, kGroup);
        ASSERT_TRUE(m_value && m_group);
    }
    void TearDown() override { platform::TimerClock::useVirtualTime(false); }

    // The pane's pixels where the value field lies.
    QImage FieldPixels() { return m_pane.grab(m_value->geometry().translated(m_group->pos())).toImage(); }

    QWidget m_parent;
    CProfileCtrlView m_pane;
    QLabel* m_value = nullptr;
    QWidget* m_group = nullptr;
};

TEST_F(ValueFieldTest, AnEmptyFieldShowsExactlyWhatItsGroupDrawsBeneathIt) {
    for (const QColor& colour : {QColor(), QColor(200, 40, 40)}) {
        SCOPED_TRACE(colour.isValid() ? "group recoloured" : "as built");
        if (colour.isValid()) {
            QPalette palette = m_group->palette();
            palette.setColor(QPalette::Window, colour);
            m_group->setPalette(palette);
            QCoreApplication::processEvents();
        }
        m_pane.ShowText(m_value, QString());
        const QImage field = FieldPixels();
        m_value->hide();
        const QImage beneath = FieldPixels();
        m_value->show();
        EXPECT_EQ(field, beneath);
    }
}

// A stream of values is drawn a frame at a time: the last of them is on the screen once its frame ends.
TEST_F(ValueFieldTest, TheLastValueShownWithinAFrameReachesTheScreenWhenTheFrameEnds) {
    for (const char* value : {"1 bpm", "72 bpm", "300 bpm"}) {
        platform::TimerClock::advance(5);
        m_pane.ShowText(m_value, QLatin1String(value));
        QCoreApplication::processEvents();
    }
    platform::TimerClock::advance(CProfileCtrlView::kFrameMs);
    QCoreApplication::processEvents();
    const QPoint at = m_value->mapTo(&m_parent, QPoint());
    const QImage screen =
        QGuiApplication::primaryScreen()
            ->grabWindow(m_parent.winId(), at.x(), at.y(), m_value->width(), m_value->height())
            .toImage();
    EXPECT_EQ(screen, FieldPixels().convertToFormat(screen.format()));
}

TEST(IconToBitmapTest, TheIconFillsABitmapOfTheAskedSizeAndANullIconATransparentOne) {
    QPixmap blue(40, 20);
    blue.fill(Qt::blue);
    const QImage image = CProfileCtrlView::IconToBitmap(QIcon(blue), 24, 24).toImage();
    EXPECT_EQ(image.size(), QSize(24, 24));
    EXPECT_TRUE(image.pixelColor(1, 1) == QColor(Qt::blue) && image.pixelColor(22, 22) == QColor(Qt::blue));
    EXPECT_EQ(CProfileCtrlView::IconToBitmap(QIcon(), 24, 24).toImage().pixelColor(12, 12).alpha(), 0);
    EXPECT_EQ(CProfileCtrlView::IconToBitmap(QIcon(blue), 0, 12).size(), QSize(40, 20));
}

TEST(ColumnFitterTest, AColumnIsItsMinimumWidenedToItsHeaderAndItsLongestValue) {
    QTreeWidget list;
    list.setHeaderLabels({QStringLiteral("A"), QStringLiteral("A header longer than forty pixels")});
    ColumnFitter::Fit(&list, {60, 40});
    EXPECT_EQ(list.columnWidth(0), 60);
    EXPECT_EQ(list.columnWidth(1), ContentWidth(list, 1));
    auto* row = new QTreeWidgetItem(&list, {QStringLiteral("x"), QStringLiteral("y")});
    const int headerWidth = list.columnWidth(1);
    row->setText(1, QStringLiteral("a value longer than the header of its column"));
    EXPECT_GT(list.columnWidth(1), headerWidth);
    EXPECT_EQ(list.columnWidth(1), ContentWidth(list, 1));
    list.setColumnWidth(0, 300); // by the user: kept while values change, not when the columns are new
    row->setText(0, QStringLiteral("z"));
    EXPECT_EQ(list.columnWidth(0), 300);
    ColumnFitter::Fit(&list, {50});
    EXPECT_EQ(list.columnWidth(0), 50);
}

} // namespace
