// Profile panes: forms by template id, the pane font, transparent controls, icons as pictures.
#include "profiles/base/CProfileCtrlView.h"

#include "platform/DialogItems.h"

#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <gtest/gtest.h>

namespace {

constexpr UINT kTestTemplate = 60001, kSmallFontTemplate = 60002;
constexpr UINT kLabel = 2001, kGroup = 2002, kButton = 2003, kGroupedLabel = 2004;

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

const bool kRegistered = CProfileCtrlView::RegisterTemplate(kTestTemplate, TestForm) &&
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

TEST(IconToBitmapTest, TheIconFillsABitmapOfTheAskedSizeAndANullIconATransparentOne) {
    QPixmap blue(40, 20);
    blue.fill(Qt::blue);
    const QImage image = CProfileCtrlView::IconToBitmap(QIcon(blue), 24, 24).toImage();
    EXPECT_EQ(image.size(), QSize(24, 24));
    EXPECT_TRUE(image.pixelColor(1, 1) == QColor(Qt::blue) && image.pixelColor(22, 22) == QColor(Qt::blue));
    EXPECT_EQ(CProfileCtrlView::IconToBitmap(QIcon(), 24, 24).toImage().pixelColor(12, 12).alpha(), 0);
    EXPECT_EQ(CProfileCtrlView::IconToBitmap(QIcon(blue), 0, 12).size(), QSize(40, 20));
}

} // namespace
