#include "palette.h"

#include <QCoreApplication>
#include <QFile>

#include <cmath>

namespace {

int channel(double v)
{
    return std::clamp(int(std::lround(v)), 0, 255); // lround rounds halves away from zero
}

} // namespace

const PaletteListEntry kPaletteList[kPaletteCount] = {
    {2, QT_TRANSLATE_NOOP("SettingPage", "铁红"), "color-ironRed.png"},
    {5, QT_TRANSLATE_NOOP("SettingPage", "北极"), "color-arctic.png"},
    {6, QT_TRANSLATE_NOOP("SettingPage", "彩虹"), "color-rainbow.png"},
    {7, QT_TRANSLATE_NOOP("SettingPage", "彩虹2"), "color-rainbow2.png"},
    {8, QT_TRANSLATE_NOOP("SettingPage", "描红"), "color-tint.png"},
    {3, QT_TRANSLATE_NOOP("SettingPage", "热铁"), "color-hotIron.png"},
    {1, QT_TRANSLATE_NOOP("SettingPage", "熔岩"), "color-fulgurite.png"},
    {4, QT_TRANSLATE_NOOP("SettingPage", "医疗"), "color-medical.png"},
    {0, QT_TRANSLATE_NOOP("SettingPage", "白热"), "coclor-witheHot.png"},
    {9, QT_TRANSLATE_NOOP("SettingPage", "黑热"), "color-blackHot.png"},
};

QRgb ycbcrToRgb(int y, int cb, int cr)
{
    const int r = channel(y + 1.402 * (cr - 128));
    const int g = channel(y - 0.34414 * (cb - 128) - 0.71414 * (cr - 128));
    const int b = channel(y + 1.712 * (cb - 128));
    return 0xFF000000u | QRgb(r) << 16 | QRgb(g) << 8 | QRgb(b);
}

bool loadPalettes(QVector<Palette> &palettes, const QString &path)
{
    QVector<quint32> words;
    QFile file(path);
    if (file.open(QIODevice::ReadOnly)) {
        while (!file.atEnd()) {
            // "0x" is accepted; a line that is no number still counts, as 0.
            words.append(QString::fromLatin1(file.readLine()).trimmed().toUInt(nullptr, 16));
        }
    }
    constexpr int kWords = 1920;
    if (words.size() != kWords)
        return false;
    QByteArray stream;
    for (quint32 w : words) {
        for (int i = 0; i < 4; ++i)
            stream.append(char(w >> (8 * i)));
    }
    palettes = QVector<Palette>(kPaletteCount, Palette(256));
    for (int k = 0; k < kPaletteCount; ++k) {
        for (int e = 0; e < 256; ++e) {
            const int at = 768 * k + 3 * e;
            palettes[k][e] = ycbcrToRgb(quint8(stream[at]), quint8(stream[at + 1]), quint8(stream[at + 2]));
        }
    }
    return true;
}

QImage renderInPalette(const QImage &source, const Palette &palette)
{
    QImage indexed = source.convertToFormat(QImage::Format_Grayscale8).convertToFormat(QImage::Format_Indexed8);
    indexed.setColorTable(palette);
    return indexed;
}
