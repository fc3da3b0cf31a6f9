#include "palette.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

class TestPalette : public QObject
{
    Q_OBJECT

    static QString writeLines(QTemporaryDir &dir, int count)
    {
        QFile source(":/res/colortable.dat");
        source.open(QIODevice::ReadOnly);
        QList<QByteArray> lines = source.readAll().split('\n');
        lines.removeLast(); // after the last line end
        while (lines.size() < count)
            lines.append("0x00000000\r");
        const QString path = dir.filePath(QString("table%1.dat").arg(count));
        QFile out(path);
        out.open(QIODevice::WriteOnly);
        for (int i = 0; i < count; ++i)
            out.write(lines[i] + '\n');
        return path;
    }

private slots:
    void conversion()
    {
        QCOMPARE(ycbcrToRgb(0, 128, 128), 0xFF000000u);
        QCOMPARE(ycbcrToRgb(255, 128, 128), 0xFFFFFFFFu);
        QCOMPARE(ycbcrToRgb(74, 95, 226), 0xFFD30F12u);
        QCOMPARE(ycbcrToRgb(0, 128, 0), 0xFF005B00u);     // red clamped below
        QCOMPARE(ycbcrToRgb(255, 255, 255) & 0xFF0000u, 0xFF0000u); // clamped above
    }

    void tableFormatAndAnchors()
    {
        QFile file(":/res/colortable.dat");
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray text = file.readAll();
        QCOMPARE(text.size(), 23040);
        QVERIFY(text.startsWith("0x01808000\r\n0x80028080\r\n0x80800280\r\n"));

        QVector<Palette> palettes;
        QVERIFY(loadPalettes(palettes));
        QCOMPARE(palettes.size(), 10);
        const char *anchors[10][5] = {
            {"000000", "393939", "868686", "D3D3D3", "FFFFFF"}, {"111111", "B50F11", "ED7613", "ECEC51", "EBEBEB"},
            {"111020", "591078", "D82D59", "EDAB11", "ECEB83"}, {"111111", "256968", "8CB747", "EDAB11", "D30F12"},
            {"482B46", "2C31E9", "12B050", "EBE823", "EBEBEB"}, {"112C48", "26AD39", "EDC013", "EE0F8E", "ECECEC"},
            {"801010", "4C0FEA", "0DEDA5", "E4EC12", "EF0F11"}, {"100F80", "0E96EA", "A9EC53", "EF3D12", "801010"},
            {"111111", "666666", "BBBBBB", "EE8789", "D30F12"}, {"EBEBEB", "AFAFAF", "737373", "373737", "101010"},
        };
        const int entries[5] = {0, 64, 128, 192, 255};
        for (int k = 0; k < 10; ++k) {
            QCOMPARE(palettes[k].size(), 256);
            for (int a = 0; a < 5; ++a)
                QCOMPARE(palettes[k][entries[a]], 0xFF000000u | QString(anchors[k][a]).toUInt(nullptr, 16));
        }
        // The start of White Hot, and grey level 17 in White Hot and Black Hot.
        QCOMPARE(palettes[0][1], 0xFF010101u);
        QCOMPARE(palettes[0][2], 0xFF020202u);
        QCOMPARE(palettes[0][3], 0xFF020202u);
        QCOMPARE(palettes[0][17], 0xFF0E0E0Eu);
        QCOMPARE(palettes[9][17], 0xFFDBDBDBu);
        // Ramps: neighbouring entries stay close.
        for (const Palette &p : palettes) {
            for (int e = 1; e < 256; ++e) {
                const int step = qAbs(qRed(p[e]) - qRed(p[e - 1])) + qAbs(qGreen(p[e]) - qGreen(p[e - 1]))
                    + qAbs(qBlue(p[e]) - qBlue(p[e - 1]));
                QVERIFY2(step <= 24, qPrintable(QString::number(e)));
            }
        }
    }

    void wrongLineCounts()
    {
        QTemporaryDir dir;
        for (int count : {1919, 1921, 0}) {
            QVector<Palette> palettes;
            QVERIFY(!loadPalettes(palettes, writeLines(dir, count)));
            QVERIFY(palettes.isEmpty());
        }
        QVector<Palette> kept(1, Palette(256, 0xFF123456));
        QVERIFY(!loadPalettes(kept, dir.filePath("missing.dat")));
        QCOMPARE(kept.size(), 1);
        QVector<Palette> exact;
        QVERIFY(loadPalettes(exact, writeLines(dir, 1920)));
    }

    void rendering()
    {
        QVector<Palette> palettes;
        QVERIFY(loadPalettes(palettes));
        QImage grey(256, 1, QImage::Format_RGB32);
        for (int g = 0; g < 256; ++g)
            grey.setPixel(g, 0, qRgb(g, g, g));
        const QImage white = renderInPalette(grey, palettes[0]);
        QCOMPARE(white.format(), QImage::Format_Indexed8);
        QCOMPARE(white.size(), grey.size());
        for (int g = 0; g < 256; ++g) {
            QCOMPARE(white.pixelIndex(g, 0), g);
            QCOMPARE(white.pixel(g, 0), palettes[0][g]);
        }
        QCOMPARE(renderInPalette(grey, palettes[9]).pixel(17, 0), 0xFFDBDBDBu);
    }

    void listOrder()
    {
        const int order[10] = {2, 5, 6, 7, 8, 3, 1, 4, 0, 9};
        for (int i = 0; i < 10; ++i)
            QCOMPARE(kPaletteList[i].index, order[i]);
        QCOMPARE(QString::fromUtf8(kPaletteList[0].name), QString::fromUtf8("铁红"));
        for (const PaletteListEntry &entry : kPaletteList)
            QVERIFY2(QFile::exists(QString(":/res/icon/") + entry.icon), entry.icon);
    }
};

QTEST_GUILESS_MAIN(TestPalette)
#include "tst_palette.moc"
