#pragma once

#include <QImage>
#include <QVector>

// 256 opaque colours; entry g is shown for grey level g of the picture.
using Palette = QVector<QRgb>;

constexpr int kPaletteCount = 10;

// Reads the palette table (1,920 lines "0x" + 8 hex digits, ten palettes of 256 YCbCr
// entries) into palettes. Any other line count leaves palettes as they were; returns whether
// they were filled.
bool loadPalettes(QVector<Palette> &palettes, const QString &path = ":/res/colortable.dat");

// YCbCr to RGB as the table is meant (1.712 for blue), rounded half away from zero.
QRgb ycbcrToRgb(int y, int cb, int cr);

// The picture's grey levels as indices into the palette.
QImage renderInPalette(const QImage &source, const Palette &palette);

// The palettes as the analysis page lists them: palette index, name (a text of the page) and
// icon file under ":/res/icon/".
struct PaletteListEntry
{
    int index;
    const char *name;
    const char *icon;
};
extern const PaletteListEntry kPaletteList[kPaletteCount];
