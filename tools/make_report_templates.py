#!/usr/bin/env python3
"""Writes the three Word report templates (template.dotx, template-en.dotx, template-jp.dotx).

Each is a one-page report: a title, the parameters table (the document's first table) with the
bookmarks device, reslution, reflectTEMP, ambientTEMP, transmittance, emissive, distance, date,
filename, gps, altitude and humidity, the "testimg" picture slot, the "roi" slot for the table of
measured regions and the "frame" slot for the whole-frame temperatures. The
table style "TableGrid" carries the alias "网格型", the name under which the report asks for it.

usage: make_report_templates.py OUTPUT_FOLDER
"""
import os
import sys
import zipfile
from xml.sax.saxutils import escape

W = 'xmlns:w="http://schemas.openxmlformats.org/wordprocessingml/2006/main" ' \
    'xmlns:r="http://schemas.openxmlformats.org/officeDocument/2006/relationships"'

LANGUAGES = {
    "template.dotx": {
        "title": "红外热成像检测报告",
        "rows": ["设备型号", "图像分辨率", "反射温度", "大气温度", "大气透过率", "发射率", "距离", "拍摄时间",
                 "文件名", "GPS", "海拔", "湿度"],
        "picture": "红外图像",
        "regions": "测温区域",
        "frame": "全图温度",
    },
    "template-en.dotx": {
        "title": "Thermal Inspection Report",
        "rows": ["Camera", "Resolution", "Reflected temperature", "Atm. temperature", "Atm. transmittance",
                 "Emissivity", "Distance", "Captured", "File name", "GPS", "Altitude", "Humidity"],
        "picture": "Thermal image",
        "regions": "Measured regions",
        "frame": "Whole-frame temperatures",
    },
    "template-jp.dotx": {
        "title": "赤外線検査レポート",
        "rows": ["カメラ型番", "解像度", "反射温度", "大気温度", "大気透過率", "放射率", "距離", "撮影日時",
                 "ファイル名", "GPS", "高度", "湿度"],
        "picture": "赤外線画像",
        "regions": "測定領域",
        "frame": "画像全体の温度",
    },
}
BOOKMARKS = ["device", "reslution", "reflectTEMP", "ambientTEMP", "transmittance", "emissive", "distance", "date",
             "filename", "gps", "altitude", "humidity"]

CONTENT_TYPES = """<?xml version="1.0" encoding="UTF-8" standalone="yes"?>
<Types xmlns="http://schemas.openxmlformats.org/package/2006/content-types">
<Default Extension="rels" ContentType="application/vnd.openxmlformats-package.relationships+xml"/>
<Default Extension="xml" ContentType="application/xml"/>
<Override PartName="/word/document.xml" ContentType="application/vnd.openxmlformats-officedocument.wordprocessingml.template.main+xml"/>
<Override PartName="/word/styles.xml" ContentType="application/vnd.openxmlformats-officedocument.wordprocessingml.styles+xml"/>
</Types>
"""

PACKAGE_RELS = """<?xml version="1.0" encoding="UTF-8" standalone="yes"?>
<Relationships xmlns="http://schemas.openxmlformats.org/package/2006/relationships">
<Relationship Id="rId1" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/officeDocument" Target="word/document.xml"/>
</Relationships>
"""

DOCUMENT_RELS = """<?xml version="1.0" encoding="UTF-8" standalone="yes"?>
<Relationships xmlns="http://schemas.openxmlformats.org/package/2006/relationships">
<Relationship Id="rId1" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/styles" Target="styles.xml"/>
</Relationships>
"""

BORDERS = "".join('<w:%s w:val="single" w:sz="4" w:space="0" w:color="808080"/>' % side
                  for side in ("top", "left", "bottom", "right", "insideH", "insideV"))

STYLES = """<?xml version="1.0" encoding="UTF-8" standalone="yes"?>
<w:styles %s>
<w:docDefaults><w:rPrDefault><w:rPr><w:rFonts w:ascii="Calibri" w:hAnsi="Calibri" w:eastAsia="Microsoft YaHei"/>
<w:sz w:val="21"/></w:rPr></w:rPrDefault><w:pPrDefault><w:pPr><w:spacing w:after="120"/></w:pPr></w:pPrDefault></w:docDefaults>
<w:style w:type="paragraph" w:default="1" w:styleId="Normal"><w:name w:val="Normal"/></w:style>
<w:style w:type="paragraph" w:styleId="Title"><w:name w:val="Title"/><w:basedOn w:val="Normal"/>
<w:pPr><w:jc w:val="center"/><w:spacing w:after="240"/></w:pPr><w:rPr><w:b/><w:sz w:val="36"/></w:rPr></w:style>
<w:style w:type="paragraph" w:styleId="Heading1"><w:name w:val="heading 1"/><w:basedOn w:val="Normal"/>
<w:pPr><w:spacing w:before="240"/></w:pPr><w:rPr><w:b/><w:sz w:val="26"/></w:rPr></w:style>
<w:style w:type="table" w:default="1" w:styleId="TableNormal"><w:name w:val="Normal Table"/>
<w:tblPr><w:tblCellMar><w:left w:w="108" w:type="dxa"/><w:right w:w="108" w:type="dxa"/></w:tblCellMar></w:tblPr></w:style>
<w:style w:type="table" w:styleId="TableGrid"><w:name w:val="Table Grid"/><w:aliases w:val="网格型"/>
<w:basedOn w:val="TableNormal"/><w:tblPr><w:tblBorders>%s</w:tblBorders></w:tblPr></w:style>
</w:styles>
""" % (W, BORDERS)


def paragraph(text="", style=None, inner=""):
    props = '<w:pPr><w:pStyle w:val="%s"/></w:pPr>' % style if style else ""
    run = '<w:r><w:t xml:space="preserve">%s</w:t></w:r>' % escape(text) if text else ""
    return "<w:p>%s%s%s</w:p>" % (props, run, inner)


def bookmark(identifier, name):
    return '<w:bookmarkStart w:id="%d" w:name="%s"/><w:bookmarkEnd w:id="%d"/>' % (identifier, name, identifier)


def cell(width, content):
    return '<w:tc><w:tcPr><w:tcW w:w="%d" w:type="dxa"/></w:tcPr>%s</w:tc>' % (width, content)


def document(texts):
    rows = "".join("<w:tr>%s%s</w:tr>" % (cell(3000, paragraph(label)), cell(6026, paragraph(inner=bookmark(i, name))))
                   for i, (label, name) in enumerate(zip(texts["rows"], BOOKMARKS)))
    table = ('<w:tbl><w:tblPr><w:tblStyle w:val="TableGrid"/><w:tblW w:w="9026" w:type="dxa"/></w:tblPr>'
             '<w:tblGrid><w:gridCol w:w="3000"/><w:gridCol w:w="6026"/></w:tblGrid>%s</w:tbl>' % rows)
    body = (paragraph(texts["title"], "Title") + table
            + paragraph(texts["picture"], "Heading1")
            + '<w:p><w:pPr><w:jc w:val="center"/></w:pPr>%s</w:p>' % bookmark(len(BOOKMARKS), "testimg")
            + paragraph(texts["regions"], "Heading1")
            + paragraph(inner=bookmark(len(BOOKMARKS) + 1, "roi"))
            + paragraph(texts["frame"], "Heading1")
            + paragraph(inner=bookmark(len(BOOKMARKS) + 2, "frame"))
            + '<w:sectPr><w:pgSz w:w="11906" w:h="16838"/>'
              '<w:pgMar w:top="1440" w:right="1440" w:bottom="1440" w:left="1440" w:header="720" w:footer="720" w:gutter="0"/>'
              '</w:sectPr>')
    return '<?xml version="1.0" encoding="UTF-8" standalone="yes"?>\n<w:document %s><w:body>%s</w:body></w:document>\n' % (W, body)


def write(path, texts):
    with zipfile.ZipFile(path, "w", zipfile.ZIP_DEFLATED) as z:
        for name, data in (("[Content_Types].xml", CONTENT_TYPES), ("_rels/.rels", PACKAGE_RELS),
                           ("word/_rels/document.xml.rels", DOCUMENT_RELS), ("word/styles.xml", STYLES),
                           ("word/document.xml", document(texts))):
            info = zipfile.ZipInfo(name, date_time=(2024, 1, 1, 0, 0, 0))  # reproducible bytes
            info.compress_type = zipfile.ZIP_DEFLATED
            z.writestr(info, data.encode("utf-8"))


def main():
    out = sys.argv[1]
    os.makedirs(out, exist_ok=True)
    for name, texts in LANGUAGES.items():
        write(os.path.join(out, name), texts)


if __name__ == "__main__":
    main()
