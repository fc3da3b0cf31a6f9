#!/usr/bin/env python3
"""Writes the program's SVG icons into res/icon/.

Every glyph is drawn once as outline paths on a 24 x 24 grid; the "-defult" form uses the
dimmed white of the dark theme, the "-selected" form the accent blue. Run it again after
changing a glyph and commit the result.
"""
import os
import sys

DIM = 'stroke="#ffffff" stroke-opacity="0.55"'
WHITE = 'stroke="#ffffff" stroke-opacity="0.85"'
BLUE = 'stroke="#08A4FF"'
FAINT = 'stroke="#ffffff" stroke-opacity="0.2"'

GLYPHS = {
    "point": '<circle cx="12" cy="12" r="3.5"/><path d="M12 2v5M12 17v5M2 12h5M17 12h5"/>',
    "line": '<path d="M5 19L19 5"/><circle cx="5" cy="19" r="2"/><circle cx="19" cy="5" r="2"/>',
    "rect": '<rect x="4" y="6" width="16" height="12" rx="1"/>',
    "round": '<circle cx="12" cy="12" r="8"/>',
    "polygon": '<path d="M12 3l9 7-3.5 11h-11L3 10z"/>',
    "arrow": '<path d="M6 3v16l4-4 3 6 2-1-3-6h6z"/>',
    "alltemp": '<path d="M3 8V4h4M17 4h4v4M21 16v4h-4M7 20H3v-4"/><circle cx="12" cy="12" r="2.5"/>',
    "lowTemp": '<path d="M8 4a2 2 0 0 1 4 0v9.5a4 4 0 1 1-4 0z"/><path d="M18 4v8M15.5 9.5L18 12l2.5-2.5"/>',
    "highTemp": '<path d="M8 4a2 2 0 0 1 4 0v9.5a4 4 0 1 1-4 0z"/><path d="M18 12V4M15.5 6.5L18 4l2.5 2.5"/>',
    "save": '<path d="M5 4h11l3 3v13H5z"/><path d="M8 4v5h7V4M8 20v-6h8v6"/>',
    "rotate": '<path d="M19 12a7 7 0 1 1-2.05-4.95"/><path d="M19 4v4h-4"/>',
    "any": '<path d="M12 5a7 7 0 1 0 7 7"/><path d="M15 3l4 2-2 4"/><circle cx="12" cy="12" r="1.5"/>',
    "bigfont": '<path d="M4 20L12 4l8 16M7.5 14h9"/>',
    "font": '<path d="M6 19l6-12 6 12M8.5 14.5h7"/>',
    "littlefont": '<path d="M8.5 18L12 10l3.5 8M10 15h4"/>',
    "area": '<path d="M2 12s4-7 10-7 10 7 10 7-4 7-10 7S2 12 2 12z"/><circle cx="12" cy="12" r="3"/><path d="M4 20L20 4"/>',
    "home": '<path d="M3 11l9-8 9 8M5 9v11h14V9M10 20v-6h4v6"/>',
    "export": '<path d="M12 3v12M7 8l5-5 5 5M4 14v6h16v-6"/>',
    "color": '<path d="M12 3s-7 8-7 12a7 7 0 0 0 14 0c0-4-7-12-7-12z"/>',
    "3d": '<path d="M12 3l8 4.5v9L12 21l-8-4.5v-9zM4 7.5l8 4.5 8-4.5M12 12v9"/>',
    "delete": '<path d="M4 6h16M9 6V4h6v2M6 6l1 14h10l1-14M10 10v6M14 10v6"/>',
    "more": '<circle cx="5" cy="12" r="1.5"/><circle cx="12" cy="12" r="1.5"/><circle cx="19" cy="12" r="1.5"/>',
}
TOGGLING = ["point", "line", "rect", "round", "polygon", "arrow", "alltemp", "lowTemp", "highTemp"]

PLAIN = {
    "min-size.svg": (WHITE, '<path d="M5 12h14"/>'),
    "max-size.svg": (WHITE, '<rect x="5" y="5" width="14" height="14" rx="1"/>'),
    "restore-size.svg": (WHITE, '<rect x="5" y="9" width="10" height="10" rx="1"/><path d="M9 9V5h10v10h-4"/>'),
    "close.svg": (WHITE, '<path d="M6 6l12 12M18 6L6 18"/>'),
    "selected.svg": (BLUE, '<path d="M5 12.5l4.5 4.5L19 7.5"/>'),
    "dir.svg": (WHITE, '<path d="M3 6h7l2 2h9v11H3z"/>'),
    "expand.svg": (WHITE, '<path d="M7 10l5 5 5-5"/>'),
    "putaway.svg": (WHITE, '<path d="M10 7l5 5-5 5"/>'),
    "all-resource.svg": (WHITE, '<rect x="4" y="4" width="7" height="7"/><rect x="13" y="4" width="7" height="7"/>'
                                '<rect x="4" y="13" width="7" height="7"/><rect x="13" y="13" width="7" height="7"/>'),
    "pageup-enable.svg": (WHITE, '<path d="M15 5l-7 7 7 7"/>'),
    "pageup-unenable.svg": (FAINT, '<path d="M15 5l-7 7 7 7"/>'),
    "pagedown-enable.svg": (WHITE, '<path d="M9 5l7 7-7 7"/>'),
    "pagedown-unenable.svg": (FAINT, '<path d="M9 5l7 7-7 7"/>'),
    "radio-defult.svg": (DIM, '<circle cx="12" cy="12" r="9"/>'),
    "radio-selected.svg": (BLUE, '<circle cx="12" cy="12" r="9"/><circle cx="12" cy="12" r="4" fill="#08A4FF"/>'),
    "check-defult.svg": (DIM, '<rect x="3" y="3" width="18" height="18" rx="3"/>'),
    "check-selected.svg": ('stroke="#ffffff"', '<rect x="3" y="3" width="18" height="18" rx="3" fill="#08A4FF" stroke="#08A4FF"/>'
                                              '<path d="M7 12.5l3.5 3.5L17 9"/>'),
    "sucess.svg": ('stroke="#ffffff"', '<circle cx="12" cy="12" r="10" fill="#2EB872" stroke="none"/><path d="M7 12.5l3.5 3.5L17 9"/>'),
    "warning.svg": ('stroke="#ffffff"', '<path d="M12 2.5L22.5 21h-21z" fill="#F5A623" stroke="none"/><path d="M12 9v6M12 17.5v1"/>'),
}

LOGO = """<svg xmlns="http://www.w3.org/2000/svg" width="132" height="28" viewBox="0 0 132 28">
<defs><linearGradient id="heat" x1="0" y1="1" x2="1" y2="0">
<stop offset="0" stop-color="#2C31E9"/><stop offset="0.5" stop-color="#D82D59"/><stop offset="1" stop-color="#EDAB11"/>
</linearGradient></defs>
<circle cx="14" cy="14" r="10" fill="none" stroke="url(#heat)" stroke-width="4"/>
<path d="M19 19l6 6" stroke="url(#heat)" stroke-width="4" stroke-linecap="round"/>
<text x="34" y="20" font-family="sans-serif" font-size="17" font-weight="bold" fill="#ffffff" fill-opacity="0.85">QUORVI</text>
</svg>
"""


def svg(colour, body):
    return ('<svg xmlns="http://www.w3.org/2000/svg" width="24" height="24" viewBox="0 0 24 24" fill="none" '
            'stroke-width="1.6" stroke-linecap="round" stroke-linejoin="round" %s>%s</svg>\n' % (colour, body))


def main():
    out = sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__), "..", "res", "icon")
    os.makedirs(out, exist_ok=True)
    files = {}
    for name, body in GLYPHS.items():
        files[name + "-defult.svg"] = svg(DIM, body)
        if name in TOGGLING:
            files[name + "-selected.svg"] = svg(BLUE, body)
    for name, (colour, body) in PLAIN.items():
        files[name] = svg(colour, body)
    files["logo.svg"] = LOGO
    for name, text in sorted(files.items()):
        with open(os.path.join(out, name), "w", encoding="utf-8") as f:
            f.write(text)
    print("wrote %d icons into %s" % (len(files), os.path.normpath(out)))


if __name__ == "__main__":
    main()
