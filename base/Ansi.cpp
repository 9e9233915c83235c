#include "base/Ansi.h"

namespace orvan {

// Windows-1252 code points 0x80..0x9F; 0 marks the five undefined bytes, kept as C1 controls.
static const char16_t kHigh[32] = {
    0x20AC, 0, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0, 0x017D, 0,
    0, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0, 0x017E, 0x0178,
};

QChar ansiChar(unsigned char byte)
{
    if (byte >= 0x80 && byte < 0xA0 && kHigh[byte - 0x80] != 0)
        return QChar(kHigh[byte - 0x80]);
    return QChar(ushort(byte));
}

QString ansiDecode(const QByteArray& bytes)
{
    QString out;
    out.reserve(bytes.size());
    for (char c : bytes)
        out.append(ansiChar(static_cast<unsigned char>(c)));
    return out;
}

static char encodeChar(QChar ch)
{
    const ushort u = ch.unicode();
    if (u < 0x80 || (u >= 0xA0 && u <= 0xFF))
        return static_cast<char>(u);
    for (int i = 0; i < 32; ++i)
        if (kHigh[i] == u || (kHigh[i] == 0 && u == 0x80 + i))
            return static_cast<char>(0x80 + i);
    return '?';
}

QByteArray ansiEncode(const QString& text)
{
    QByteArray out;
    out.reserve(text.size());
    for (QChar ch : text)
        out.append(encodeChar(ch));
    return out;
}

bool ansiEncodable(const QString& text)
{
    for (QChar ch : text) {
        if (encodeChar(ch) == '?' && ch != QLatin1Char('?'))
            return false;
    }
    return true;
}

QByteArray ansiFixed(const QString& text, int width)
{
    QByteArray out = ansiEncode(text.left(width));
    if (out.size() < width)
        out.append(QByteArray(width - out.size(), ' '));
    return out;
}

} // namespace orvan
