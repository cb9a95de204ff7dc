// Text forms of GATT values: UTF-8 strings, hex dumps, numbers and typed-in handles.
#include "gatt/ValueText.h"

#include <cstdint>

namespace {

// The part of the text an edit box hands over.
constexpr qsizetype kMaxEditText = 255;

QString cutAtNul(QString text) {
    const qsizetype nul = text.indexOf(QChar(u'\0'));
    if (nul >= 0) {
        text.truncate(nul);
    }
    return text;
}

// The white space a C conversion skips in the C locale.
bool isCSpace(QChar c) {
    const char16_t u = c.unicode();
    return u == u' ' || (u >= u'\t' && u <= u'\r');
}

bool isAsciiDigit(QChar c) {
    return c.unicode() >= u'0' && c.unicode() <= u'9';
}

} // namespace

QString Utf8ToCString(const uint8_t* bytes, int length) {
    if (bytes == nullptr || length <= 0) {
        return QString();
    }
    return cutAtNul(QString::fromUtf8(reinterpret_cast<const char*>(bytes), length));
}

QString CStringFromUtf8(const char* text) {
    if (text == nullptr) {
        return QString();
    }
    return QString::fromUtf8(text);
}

QString BytesToHexString(const uint8_t* bytes, int length, const QString& separator, bool reversed) {
    QString text;
    if (bytes == nullptr || length <= 0) {
        return text;
    }
    static constexpr char kDigits[] = "0123456789ABCDEF";
    text.reserve(length * (2 + separator.size()));
    for (int i = 0; i < length; ++i) {
        const uint8_t byte = reversed ? bytes[length - 1 - i] : bytes[i];
        text += QLatin1Char(kDigits[byte >> 4]);
        text += QLatin1Char(kDigits[byte & 0x0F]);
        text += separator;
    }
    return text;
}

QString IntToString(uint16_t value) {
    return QString::number(value);
}

QString FloatToString(float value) {
    // QString::number always formats in the C locale.
    return QString::number(static_cast<double>(value), 'f', 6);
}

bool ParseEditUInt16(const QString& text, uint16_t* out) {
    if (out == nullptr || text.isEmpty()) {
        return false;
    }
    const QString input = text.left(kMaxEditText);
    qsizetype i = 0;
    while (i < input.size() && isCSpace(input[i])) {
        ++i;
    }
    bool negative = false;
    if (i < input.size() && (input[i] == u'+' || input[i] == u'-')) {
        negative = input[i] == u'-';
        ++i;
    }
    // Anything above 65535 is refused, so the magnitude stops growing once it passes that.
    int64_t magnitude = 0;
    for (; i < input.size() && isAsciiDigit(input[i]); ++i) {
        if (magnitude <= UINT16_MAX) {
            magnitude = magnitude * 10 + (input[i].unicode() - u'0');
        }
    }
    if (magnitude > UINT16_MAX || (negative && magnitude != 0)) {
        return false;
    }
    *out = static_cast<uint16_t>(magnitude);
    return true;
}
