// The remote control's picture: its background with the keys that are held lit.
#pragma once

#include "platform/WinTypes.h"

#include <QImage>
#include <QWidget>
#include <cstdint>
#include <map>
#include <optional>
#include <vector>

class QPainter;

// One key of the remote: its lit picture at (x, y) of the control, shown while pressed.
struct RemoteKeyImage {
    int x = 0;
    int y = 0;
    bool pressed = false;
    uint16_t virtualKey = 0;
    QImage picture; // premultiplied
};

class CRemotePict : public QWidget {
    Q_OBJECT
public:
    explicit CRemotePict(QWidget* parent = nullptr);

    // Loads the background bitmap (replacing a previous one); the control takes its size.
    void LoadBackground();
    // Adds the key of that HID keyboard usage (replacing one added before).
    void AddKey(int usage, UINT bitmapId, int x, int y, uint16_t virtualKey);
    void ClearPressed();
    // Marks the key of that usage pressed; its virtual-key code, or nullopt for a usage without a key.
    std::optional<uint16_t> Press(int usage);

    // The usages of the keys marked pressed, ascending.
    std::vector<int> PressedKeys() const;
    QSize sizeHint() const override { return m_background.size(); }

protected:
    // The background at (0, 0), then every pressed key's picture at its place, in ascending usage.
    void paintEvent(QPaintEvent* event) override;

private:
    QImage m_background;
    std::map<int, RemoteKeyImage> m_keys;
};

// Bitmap resource id as a 32-bit image with its alpha channel, not premultiplied; a null image (and a
// warning) when there is no such bitmap.
QImage LoadBitmap(UINT id);
// Multiplies blue, green and red of every pixel by its alpha / 255 (integer division); the image is
// then premultiplied ARGB.
void PremultiplyAlpha(QImage& image);
// Draws a premultiplied image at (x, y), blended over what is there.
void DrawAlphaImage(QPainter& painter, const QImage& image, int x, int y);
