#include "profiles/control/CRemotePict.h"

#include "profiles/control/RemoteIds.h"

#include <QFile>
#include <QPainter>
#include <QSvgRenderer>
#include <QtDebug>

// The bitmaps' resource is linked from a static library: it is registered on first use. Outside any
// namespace, as the resource's initialiser is declared where it is used.
static void InitBitmapResources() {
    static const bool initialised = [] {
        Q_INIT_RESOURCE(bitmaps);
        return true;
    }();
    (void)initialised;
}

namespace {

QImage LoadPremultiplied(UINT id) {
    QImage image = LoadBitmap(id);
    PremultiplyAlpha(image);
    return image;
}

} // namespace

QImage LoadBitmap(UINT id) {
    InitBitmapResources();
    const QString path = QStringLiteral(":/bitmaps/%1.svg").arg(id);
    QSvgRenderer renderer(path);
    if (!QFile::exists(path) || !renderer.isValid()) {
        qWarning("No bitmap resource %u (%s)", id, qPrintable(path));
        return {};
    }
    QImage image(renderer.defaultSize(), QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    renderer.render(&painter);
    return image;
}

void PremultiplyAlpha(QImage& image) {
    if (image.format() != QImage::Format_ARGB32)
        return;
    for (int row = 0; row < image.height(); ++row) {
        auto* pixels = reinterpret_cast<QRgb*>(image.scanLine(row));
        for (int column = 0; column < image.width(); ++column) {
            const QRgb pixel = pixels[column];
            const int alpha = qAlpha(pixel);
            pixels[column] = qRgba(qRed(pixel) * alpha / 255, qGreen(pixel) * alpha / 255,
                                   qBlue(pixel) * alpha / 255, alpha);
        }
    }
    image.reinterpretAsFormat(QImage::Format_ARGB32_Premultiplied);
}

void DrawAlphaImage(QPainter& painter, const QImage& image, int x, int y) {
    painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
    painter.drawImage(x, y, image);
}

CRemotePict::CRemotePict(QWidget* parent) : QWidget(parent) {}

void CRemotePict::LoadBackground() {
    m_background = LoadPremultiplied(IDB_REMOTE_BACKGROUND);
    setFixedSize(m_background.size());
    update();
}

void CRemotePict::AddKey(int usage, UINT bitmapId, int x, int y, uint16_t virtualKey) {
    m_keys[usage] = RemoteKeyImage{x, y, false, virtualKey, LoadPremultiplied(bitmapId)};
}

void CRemotePict::ClearPressed() {
    for (auto& [usage, key] : m_keys)
        key.pressed = false;
}

std::optional<uint16_t> CRemotePict::Press(int usage) {
    const auto found = m_keys.find(usage);
    if (found == m_keys.end())
        return std::nullopt;
    found->second.pressed = true;
    return found->second.virtualKey;
}

std::vector<int> CRemotePict::PressedKeys() const {
    std::vector<int> pressed;
    for (const auto& [usage, key] : m_keys)
        if (key.pressed)
            pressed.push_back(usage);
    return pressed;
}

void CRemotePict::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    if (!m_background.isNull())
        DrawAlphaImage(painter, m_background, 0, 0);
    for (const auto& [usage, key] : m_keys)
        if (key.pressed)
            DrawAlphaImage(painter, key.picture, key.x, key.y);
}
