#include "profiles/base/CProfileCtrlView.h"

#include <QAbstractButton>
#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QPainter>
#include <QStyle>
#include <QtDebug>
#include <map>

namespace {

std::map<UINT, CProfileCtrlView::TemplateSetup>& Templates() {
    static std::map<UINT, CProfileCtrlView::TemplateSetup> templates;
    return templates;
}

int Area(const QSize& size) {
    return size.width() * size.height();
}

} // namespace

bool CProfileCtrlView::RegisterTemplate(UINT templateId, TemplateSetup setup) {
    Templates()[templateId] = std::move(setup);
    return true;
}

CProfileCtrlView::CProfileCtrlView(QWidget* parent) : QWidget(parent) {}

bool CProfileCtrlView::Create(UINT templateId, QWidget* parent) {
    const auto found = Templates().find(templateId);
    if (found == Templates().end()) {
        qWarning("No dialog template %u for a profile pane", templateId);
        return false;
    }
    setParent(parent);
    found->second(this);
    setAutoFillBackground(true);

    if (!m_font) {
        QFont smooth = font();
        smooth.setStyleStrategy(QFont::PreferAntialias);
        m_font = smooth;
    }
    setFont(*m_font);
    for (QWidget* child : findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        child->setFont(*m_font);
    for (QWidget* control : findChildren<QWidget*>())
        OnCtlColor(control);
    show();
    return true;
}

void CProfileCtrlView::OnCtlColor(QWidget* control) {
    if (qobject_cast<QGroupBox*>(control)) {
        control->setAutoFillBackground(true);
        return;
    }
    if (qobject_cast<QLabel*>(control) || qobject_cast<QAbstractButton*>(control))
        control->setAutoFillBackground(false);
}

bool CProfileCtrlView::GetIconSize(const QIcon& icon, QSize* out) {
    if (icon.isNull())
        return false;
    QSize size;
    for (const QSize& available : icon.availableSizes()) {
        if (Area(available) > Area(size))
            size = available;
    }
    if (size.isEmpty()) {
        const int extent = QApplication::style()->pixelMetric(QStyle::PM_LargeIconSize);
        size = icon.actualSize(QSize(extent, extent));
    }
    if (size.isEmpty())
        return false;
    if (out)
        *out = size;
    return true;
}

QPixmap CProfileCtrlView::IconToBitmap(const QIcon& icon, int cx, int cy) {
    QSize size(cx, cy);
    if ((cx <= 0 || cy <= 0) && !GetIconSize(icon, &size))
        return {};
    QPixmap bitmap(size);
    bitmap.fill(Qt::transparent);
    if (icon.isNull())
        return bitmap;
    QPainter painter(&bitmap);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawPixmap(QRect(QPoint(0, 0), size), icon.pixmap(size));
    return bitmap;
}
