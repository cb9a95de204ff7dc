// Profile panes: forms by template id, the pane font, transparent controls, icons as pictures.
#include "profiles/base/CProfileCtrlView.h"

#include "platform/DialogItems.h"

#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QTemporaryDir>
#include <QTextStream>
#include <gtest/gtest.h>

namespace {

constexpr UINT kTestTemplate = 60001;
constexpr UINT kLargeFontTemplate = 60002;
constexpr UINT kSmallFontTemplate = 60003;
constexpr UINT kLabel = 2001;
constexpr UINT kGroup = 2002;
constexpr UINT kButton = 2003;
constexpr UINT kGroupedLabel = 2004;

QWidget* WithId(QWidget* widget, UINT id) {
    widget->setProperty(platform::kControlIdProperty, id);
    return widget;
}

// A form with a filled label, a filled button and a group box with a label inside.
void TestForm(QWidget* pane) {
    auto* label = WithId(new QLabel(QStringLiteral("Label"), pane), kLabel);
    label->setAutoFillBackground(true);
    auto* button = WithId(new QPushButton(QStringLiteral("Button"), pane), kButton);
    button->setAutoFillBackground(true);
    auto* group = WithId(new QGroupBox(QStringLiteral("Group"), pane), kGroup);
    WithId(new QLabel(QStringLiteral("Inside"), group), kGroupedLabel)->setAutoFillBackground(true);
}

// A form that only sets the pane's font.
CProfileCtrlView::TemplateSetup FontForm(int pointSize) {
    return [pointSize](QWidget* pane) {
        QFont font = pane->font();
        font.setPointSize(pointSize);
        pane->setFont(font);
    };
}

const bool kRegistered = CProfileCtrlView::RegisterTemplate(kTestTemplate, TestForm) &&
                         CProfileCtrlView::RegisterTemplate(kLargeFontTemplate, FontForm(31)) &&
                         CProfileCtrlView::RegisterTemplate(kSmallFontTemplate, FontForm(12));

class ProfileCtrlViewTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(kRegistered); }
    QWidget m_parent;
    CProfileCtrlView m_pane;
};

TEST_F(ProfileCtrlViewTest, UnknownTemplateIsRefused) {
    EXPECT_FALSE(m_pane.Create(59999, &m_parent));
    EXPECT_EQ(m_pane.parentWidget(), nullptr);
    EXPECT_FALSE(m_pane.PaneFont().has_value());
}

TEST_F(ProfileCtrlViewTest, CreateBuildsTheFormOfTheTemplateIntoThePane) {
    ASSERT_TRUE(m_pane.Create(kTestTemplate, &m_parent));
    EXPECT_EQ(m_pane.parentWidget(), &m_parent);
    EXPECT_EQ(platform::GetDlgItemText(&m_pane, kLabel), QStringLiteral("Label"));
    EXPECT_NE(platform::GetDlgItem(&m_pane, kGroupedLabel), nullptr);
    EXPECT_TRUE(m_pane.autoFillBackground());
}

TEST_F(ProfileCtrlViewTest, LabelsAndButtonsAreTransparentGroupBoxesKeepTheirBackground) {
    ASSERT_TRUE(m_pane.Create(kTestTemplate, &m_parent));
    EXPECT_FALSE(platform::GetDlgItem(&m_pane, kLabel)->autoFillBackground());
    EXPECT_FALSE(platform::GetDlgItem(&m_pane, kButton)->autoFillBackground());
    EXPECT_FALSE(platform::GetDlgItem(&m_pane, kGroupedLabel)->autoFillBackground());
    EXPECT_TRUE(platform::GetDlgItem(&m_pane, kGroup)->autoFillBackground());
}

TEST_F(ProfileCtrlViewTest, PaneAndDirectChildrenGetTheSmoothedFont) {
    ASSERT_TRUE(m_pane.Create(kTestTemplate, &m_parent));
    ASSERT_TRUE(m_pane.PaneFont().has_value());
    EXPECT_EQ(m_pane.PaneFont()->styleStrategy(), QFont::PreferAntialias);
    EXPECT_EQ(m_pane.font(), *m_pane.PaneFont());
    for (UINT id : {kLabel, kButton, kGroup}) {
        QWidget* child = platform::GetDlgItem(&m_pane, id);
        EXPECT_TRUE(child->testAttribute(Qt::WA_SetFont)) << id;
        EXPECT_EQ(child->font(), *m_pane.PaneFont()) << id;
    }
    // A grandchild inherits the font from its parent instead of getting its own copy.
    QWidget* grandchild = platform::GetDlgItem(&m_pane, kGroupedLabel);
    EXPECT_FALSE(grandchild->testAttribute(Qt::WA_SetFont));
    EXPECT_EQ(grandchild->font(), *m_pane.PaneFont());
}

TEST_F(ProfileCtrlViewTest, FontCopyIsMadeOnlyOnce) {
    ASSERT_TRUE(m_pane.Create(kLargeFontTemplate, &m_parent));
    const QFont first = *m_pane.PaneFont();
    ASSERT_EQ(first.pointSize(), 31);
    ASSERT_TRUE(m_pane.Create(kSmallFontTemplate, &m_parent));
    EXPECT_EQ(*m_pane.PaneFont(), first);
    EXPECT_EQ(m_pane.font().pointSize(), 31);
}

QIcon SolidIcon(const QSize& size, QColor color) {
    QPixmap pixmap(size);
    pixmap.fill(color);
    return QIcon(pixmap);
}

struct IconSizeRow {
    int cx;
    int cy;
    QSize expected;
};

TEST(IconToBitmapTest, ZeroWidthOrHeightTakesTheIconsOwnSize) {
    const QIcon icon = SolidIcon(QSize(40, 20), Qt::blue);
    const IconSizeRow rows[] = {
        {0, 0, QSize(40, 20)},   {0, 24, QSize(40, 20)},  {24, 0, QSize(40, 20)},
        {24, 24, QSize(24, 24)}, {48, 12, QSize(48, 12)},
    };
    for (const IconSizeRow& row : rows) {
        SCOPED_TRACE(testing::Message() << row.cx << " x " << row.cy);
        EXPECT_EQ(CProfileCtrlView::IconToBitmap(icon, row.cx, row.cy).size(), row.expected);
    }
}

TEST(IconToBitmapTest, IconIsStretchedOverTheWholeBitmap) {
    const QImage image = CProfileCtrlView::IconToBitmap(SolidIcon(QSize(40, 20), Qt::blue), 24, 24).toImage();
    EXPECT_EQ(image.pixelColor(1, 1), QColor(Qt::blue));
    EXPECT_EQ(image.pixelColor(22, 22), QColor(Qt::blue));
}

TEST(IconToBitmapTest, NullIconGivesATransparentBitmapOfTheAskedSizeOrNone) {
    const QPixmap blank = CProfileCtrlView::IconToBitmap(QIcon(), 24, 24);
    ASSERT_EQ(blank.size(), QSize(24, 24));
    EXPECT_EQ(blank.toImage().pixelColor(12, 12).alpha(), 0);
    EXPECT_TRUE(CProfileCtrlView::IconToBitmap(QIcon(), 0, 24).isNull());
}

TEST(GetIconSizeTest, LargestPixmapOfTheIcon) {
    QIcon icon = SolidIcon(QSize(16, 16), Qt::red);
    icon.addPixmap(SolidIcon(QSize(48, 32), Qt::red).pixmap(48, 32));
    QSize size;
    ASSERT_TRUE(CProfileCtrlView::GetIconSize(icon, &size));
    EXPECT_EQ(size, QSize(48, 32));
}

TEST(GetIconSizeTest, ScalableIconTakesTheLargeIconSizeWithItsAspectRatio) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    QFile file(dir.filePath(QStringLiteral("wide.svg")));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    QTextStream(&file) << R"(<svg xmlns="http://www.w3.org/2000/svg" width="32" height="16">)"
                       << R"(<rect width="32" height="16" fill="red"/></svg>)";
    file.close();
    const int extent = QApplication::style()->pixelMetric(QStyle::PM_LargeIconSize);
    QSize size;
    ASSERT_TRUE(CProfileCtrlView::GetIconSize(QIcon(file.fileName()), &size));
    EXPECT_EQ(size, QSize(extent, extent / 2));
}

TEST(GetIconSizeTest, NullIconHasNoSizeAndLeavesTheOutputAlone) {
    QSize size(7, 7);
    EXPECT_FALSE(CProfileCtrlView::GetIconSize(QIcon(), &size));
    EXPECT_EQ(size, QSize(7, 7));
}

} // namespace
