#include "profiles/base/CProfileCtrlView.h"

#include "platform/DialogItems.h"

#include <QAbstractButton>
#include <QApplication>
#include <QEvent>
#include <QGroupBox>
#include <QHash>
#include <QLabel>
#include <QPainter>
#include <QStyle>
#include <QtDebug>
#include <map>
#include <utility>

namespace {

std::map<UINT, CProfileCtrlView::TemplateSetup>& Templates() {
    static std::map<UINT, CProfileCtrlView::TemplateSetup> templates;
    return templates;
}

int Area(const QSize& size) {
    return size.width() * size.height();
}

} // namespace

// Labels are drawn opaque without a pixel changing: before its text or picture, each covered label
// paints the part of its parent beneath it, cut from a copy of the parent drawn alone. A new value
// then repaints the label only, not the group box behind it. A parent's copy is drawn again after the
// parent has painted itself, since that is when its pixels may have changed.
class CProfileCtrlView::LabelBackdrops : public QObject {
public:
    explicit LabelBackdrops(QObject* owner) : QObject(owner) {}

    // The label's parent must fill its own background, so that the copy holds every pixel.
    void Cover(QLabel* label) {
        QWidget* parent = label->parentWidget();
        label->setAttribute(Qt::WA_OpaquePaintEvent);
        label->installEventFilter(this);
        if (!m_copies.contains(parent)) {
            m_copies.insert(parent, QPixmap());
            parent->installEventFilter(this);
        }
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::Paint)
            return false;
        auto* widget = static_cast<QWidget*>(watched);
        const auto copy = m_copies.find(widget);
        if (copy == m_copies.end())
            PaintBackdrop(widget);
        else if (!m_drawingCopy)
            *copy = QPixmap();
        return false;
    }

private:
    void PaintBackdrop(QWidget* label) {
        // Opaque painting skips the fill of a label that fills its own background: fill it here.
        if (label->autoFillBackground()) {
            QPainter(label).fillRect(label->rect(), label->palette().brush(label->backgroundRole()));
            return;
        }
        QWidget* parent = label->parentWidget();
        const qreal ratio = label->devicePixelRatioF();
        QPixmap& copy = m_copies[parent];
        if (copy.isNull() || copy.size() != parent->size() * ratio || copy.devicePixelRatio() != ratio) {
            copy = QPixmap(parent->size() * ratio);
            copy.setDevicePixelRatio(ratio);
            copy.fill(parent->palette().color(parent->backgroundRole()));
            m_drawingCopy = true;
            parent->render(&copy, QPoint(), QRegion(), QWidget::DrawWindowBackground);
            m_drawingCopy = false;
        }
        QPainter painter(label);
        painter.drawPixmap(QRectF(label->rect()), copy,
                           QRectF(QPointF(label->pos()) * ratio, QSizeF(label->size()) * ratio));
    }

    QHash<const QWidget*, QPixmap> m_copies; // by parent
    bool m_drawingCopy = false;
};

bool CProfileCtrlView::RegisterTemplate(UINT templateId, TemplateSetup setup) {
    Templates()[templateId] = std::move(setup);
    return true;
}

CProfileCtrlView::CProfileCtrlView(QWidget* parent) : QWidget(parent) {}

CProfileCtrlView::~CProfileCtrlView() {
    if (m_frameEnd != 0)
        platform::TimerClock::stop(m_frameEnd);
}

bool CProfileCtrlView::Create(UINT templateId, QWidget* parent) {
    const auto found = Templates().find(templateId);
    if (found == Templates().end()) {
        qWarning("No dialog template %u for a profile pane", templateId);
        return false;
    }
    setParent(parent);
    found->second(this);
    setAutoFillBackground(true);
    if (!m_backdrops)
        m_backdrops = new LabelBackdrops(this);

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
    if (qobject_cast<QAbstractButton*>(control)) {
        control->setAutoFillBackground(false);
        return;
    }
    auto* label = qobject_cast<QLabel*>(control);
    if (!label)
        return;
    label->setAutoFillBackground(false);
    bool addressed = false;
    label->property(platform::kControlIdProperty).toUInt(&addressed);
    if (addressed && label->parentWidget()->autoFillBackground())
        m_backdrops->Cover(label);
}

void CProfileCtrlView::ShowText(QLabel* label, const QString& text) {
    if (!label || label->text() == text)
        return;
    const uint64_t now = platform::TimerClock::now();
    const bool frameOver = !m_frameStart || now - *m_frameStart >= kFrameMs;
    if (m_frameEnd == 0 && frameOver) {
        m_frameStart = now;
    } else if (label->updatesEnabled()) {
        label->setUpdatesEnabled(false);
        m_waiting.emplace_back(label);
        if (m_frameEnd == 0)
            m_frameEnd = platform::TimerClock::start(*m_frameStart + kFrameMs - now, [this] { EndFrame(); });
    }
    label->setText(text);
}

void CProfileCtrlView::EndFrame() {
    platform::TimerClock::stop(m_frameEnd);
    m_frameEnd = 0;
    m_frameStart = platform::TimerClock::now();
    for (const QPointer<QLabel>& label : std::exchange(m_waiting, {})) {
        if (label)
            label->setUpdatesEnabled(true);
    }
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
