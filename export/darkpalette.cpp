#include "darkpalette.h"

QPalette darkPalette()
{
    const QColor text(0xD9, 0xD9, 0xD9);
    const QColor dimmed(0x8C, 0x8C, 0x8C);
    QPalette palette;
    palette.setColor(QPalette::Window, QColor(0x33, 0x33, 0x33));
    palette.setColor(QPalette::WindowText, text);
    palette.setColor(QPalette::Base, QColor(0x22, 0x22, 0x22));
    palette.setColor(QPalette::AlternateBase, QColor(0x2A, 0x2A, 0x2A));
    palette.setColor(QPalette::Text, text);
    palette.setColor(QPalette::PlaceholderText, dimmed);
    palette.setColor(QPalette::Button, QColor(0x55, 0x55, 0x55));
    palette.setColor(QPalette::ButtonText, QColor(Qt::white));
    palette.setColor(QPalette::BrightText, QColor(Qt::white));
    palette.setColor(QPalette::Highlight, QColor(0x08, 0xA4, 0xFF));
    palette.setColor(QPalette::HighlightedText, QColor(Qt::white));
    palette.setColor(QPalette::ToolTipBase, QColor(0x44, 0x44, 0x44));
    palette.setColor(QPalette::ToolTipText, text);
    palette.setColor(QPalette::Link, QColor(0x08, 0xA4, 0xFF));
    // Qt's style shades its frames and bevels from these.
    palette.setColor(QPalette::Light, QColor(0x66, 0x66, 0x66));
    palette.setColor(QPalette::Midlight, QColor(0x4C, 0x4C, 0x4C));
    palette.setColor(QPalette::Mid, QColor(0x2A, 0x2A, 0x2A));
    palette.setColor(QPalette::Dark, QColor(0x1A, 0x1A, 0x1A));
    palette.setColor(QPalette::Shadow, QColor(0x11, 0x11, 0x11));
    for (QPalette::ColorRole role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
        palette.setColor(QPalette::Disabled, role, dimmed);
    palette.setColor(QPalette::Disabled, QPalette::Button, QColor(0x44, 0x44, 0x44));
    return palette;
}
