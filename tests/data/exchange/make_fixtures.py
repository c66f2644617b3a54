#!/usr/bin/python3
"""Makes the spreadsheet files that the exchange tests import.

Run with Debian's python3, which has xlwt and openpyxl:
    /usr/bin/python3 tests/data/exchange/make_fixtures.py

pricing_xlwt.xls and pricing_openpyxl.xlsx hold the same pricing table (numbers, text, booleans, an
empty row, Chinese names) written by two independent programs. counting_limits_openpyxl.xlsx has the
seven columns of the counting layout with limits. inline_strings.xlsx is put together by hand: inline
strings, rich-text shared strings, formula results, an error value, cells without references and part
names that start at the package root. pricing.ods is a small OpenDocument spreadsheet;
repeated.ods stores identical rows and cells once with repeat counts, and ends its sheet with the
empty repeats that reach the sheet's edge, as LibreOffice writes them.

The text files are spreadsheet programs' "CSV" as users have them: german_excel.csv with semicolons,
decimal commas and Windows-1252 text, as German Excel saves it; sep_line.csv starting "sep=;";
tab_separated.csv; old_mac.csv with CR line ends.
"""

import os
import zipfile

import openpyxl
import xlwt

HERE = os.path.dirname(os.path.abspath(__file__))

PRICING_HEADER = ['PLU No.', 'Unit price', 'Goods Id', 'Goods Name', 'Specification', 'Remark',
                  'Expiration(Days)', 'Quantity pricing']

# None leaves a cell empty; an empty list is an empty row.
PRICING_ROWS = [
    [1, 2.5, 4006381333931, '苹果', 'kg', 'fresh', 7, 0.5],
    [12.9, 99999.99, '6901234567892', 'Äpfel', None, None, 30, 1],
    [],
    [-3.7, 123456.789, 42, 'pear, green', '500g', 'x', 0, 'yes'],
    ['0001', '1.25', 'A-1', '香蕉', 'bunch', '', '3', '0'],
    [5, 1, 2, 3, 4, 5, 6, True],
    [6, 1, 2, 'name', 4, 5, 6, '×'],
]

COUNTING_HEADER = ['PLU No.', 'Unit weight', 'Goods Id', 'Goods Name', 'Specification', 'Hi', 'Lo']
COUNTING_ROWS = [
    [7, 0.125, 1234, '螺丝', 'M4', 1.5, 0.25],
    [8, '0.5', '5678', 'Mutter', 'M6', '2', '-1'],
]


def write_xls(path, header, rows):
    book = xlwt.Workbook(encoding='utf-8')
    sheet = book.add_sheet('Sheet1')
    for column, title in enumerate(header):
        sheet.write(0, column, title)
    for index, row in enumerate(rows):
        for column, value in enumerate(row):
            if value is not None:
                sheet.write(index + 1, column, value)
    book.save(path)


def write_xlsx(path, header, rows):
    book = openpyxl.Workbook()
    sheet = book.active
    sheet.title = 'Sheet1'
    for column, title in enumerate(header):
        sheet.cell(row=1, column=column + 1, value=title)
    for index, row in enumerate(rows):
        for column, value in enumerate(row):
            if value is not None:
                sheet.cell(row=index + 2, column=column + 1, value=value)
    # A second sheet that Import must not read.
    book.create_sheet('Other').cell(row=1, column=1, value='not imported')
    book.save(path)


CONTENT_TYPES = '''<?xml version="1.0" encoding="UTF-8" standalone="yes"?>
<Types xmlns="http://schemas.openxmlformats.org/package/2006/content-types">
<Default Extension="rels" ContentType="application/vnd.openxmlformats-package.relationships+xml"/>
<Default Extension="xml" ContentType="application/xml"/>
<Override PartName="/xl/workbook.xml" ContentType="application/vnd.openxmlformats-officedocument.spreadsheetml.sheet.main+xml"/>
<Override PartName="/xl/worksheets/data.xml" ContentType="application/vnd.openxmlformats-officedocument.spreadsheetml.worksheet+xml"/>
<Override PartName="/xl/strings.xml" ContentType="application/vnd.openxmlformats-officedocument.spreadsheetml.sharedStrings+xml"/>
</Types>'''

ROOT_RELS = '''<?xml version="1.0" encoding="UTF-8" standalone="yes"?>
<Relationships xmlns="http://schemas.openxmlformats.org/package/2006/relationships">
<Relationship Id="rId1" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/officeDocument" Target="/xl/workbook.xml"/>
</Relationships>'''

WORKBOOK = '''<?xml version="1.0" encoding="UTF-8" standalone="yes"?>
<workbook xmlns="http://schemas.openxmlformats.org/spreadsheetml/2006/main" xmlns:r="http://schemas.openxmlformats.org/officeDocument/2006/relationships">
<sheets><sheet name="Data" sheetId="3" r:id="rId7"/><sheet name="Later" sheetId="1" r:id="rId8"/></sheets>
</workbook>'''

WORKBOOK_RELS = '''<?xml version="1.0" encoding="UTF-8" standalone="yes"?>
<Relationships xmlns="http://schemas.openxmlformats.org/package/2006/relationships">
<Relationship Id="rId8" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/worksheet" Target="worksheets/later.xml"/>
<Relationship Id="rId7" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/worksheet" Target="/xl/worksheets/data.xml"/>
<Relationship Id="rId9" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/sharedStrings" Target="../xl/strings.xml"/>
</Relationships>'''

SHARED_STRINGS = '''<?xml version="1.0" encoding="UTF-8" standalone="yes"?>
<sst xmlns="http://schemas.openxmlformats.org/spreadsheetml/2006/main" count="2" uniqueCount="2">
<si><t>header</t></si>
<si><r><rPr><b/></rPr><t xml:space="preserve">rich </t></r><r><t>text</t></r><rPh sb="0" eb="1"><t>ignored</t></rPh></si>
</sst>'''

# Row 1: a shared string header of 7 columns. Row 2: cells without references, an inline string with
# an entity, a formula's string and number results, a boolean, an error. Row 3 is missing (empty).
# Row 4: a rich shared string and a cell that only has a format.
DATA_SHEET = '''<?xml version="1.0" encoding="UTF-8" standalone="yes"?>
<x:worksheet xmlns:x="http://schemas.openxmlformats.org/spreadsheetml/2006/main">
<x:dimension ref="A1:Z99"/>
<x:sheetData>
<x:row r="1"><x:c r="A1" t="s"><x:v>0</x:v></x:c><x:c r="G1" t="s"><x:v>0</x:v></x:c></x:row>
<x:row>
<x:c t="inlineStr"><x:is><x:t>苹果 &amp; pear</x:t></x:is></x:c>
<x:c><x:v>2.5</x:v></x:c>
<x:c t="str"><x:f>A2&amp;"x"</x:f><x:v>formula text</x:v></x:c>
<x:c><x:f>1+1</x:f><x:v>2</x:v></x:c>
<x:c t="b"><x:v>1</x:v></x:c>
<x:c t="e"><x:v>#DIV/0!</x:v></x:c>
<x:c t="inlineStr"><x:is><x:r><x:t>in</x:t></x:r><x:r><x:t>line</x:t></x:r></x:is></x:c>
</x:row>
<x:row r="4"><x:c r="B4" t="s"><x:v>1</x:v></x:c><x:c r="H4" s="3"/></x:row>
</x:sheetData>
</x:worksheet>'''

LATER_SHEET = '''<?xml version="1.0" encoding="UTF-8" standalone="yes"?>
<worksheet xmlns="http://schemas.openxmlformats.org/spreadsheetml/2006/main">
<sheetData><row r="1"><c r="A1" t="inlineStr"><is><t>second sheet</t></is></c></row></sheetData>
</worksheet>'''


def write_hand_made_xlsx(path):
    with zipfile.ZipFile(path, 'w', zipfile.ZIP_DEFLATED) as package:
        package.writestr('[Content_Types].xml', CONTENT_TYPES)
        package.writestr('_rels/.rels', ROOT_RELS)
        package.writestr('xl/workbook.xml', WORKBOOK)
        package.writestr('xl/_rels/workbook.xml.rels', WORKBOOK_RELS)
        package.writestr('xl/strings.xml', SHARED_STRINGS)
        package.writestr('xl/worksheets/data.xml', DATA_SHEET)
        package.writestr('xl/worksheets/later.xml', LATER_SHEET)


ODS_CONTENT = '''<?xml version="1.0" encoding="UTF-8"?>
<office:document-content xmlns:office="urn:oasis:names:tc:opendocument:xmlns:office:1.0" xmlns:table="urn:oasis:names:tc:opendocument:xmlns:table:1.0" xmlns:text="urn:oasis:names:tc:opendocument:xmlns:text:1.0" office:version="1.2">
<office:body><office:spreadsheet>
<table:table table:name="Sheet1">
<table:table-row><table:table-cell office:value-type="string"><text:p>PLU No.</text:p></table:table-cell><table:table-cell office:value-type="string"><text:p>Unit weight</text:p></table:table-cell><table:table-cell table:number-columns-repeated="4"/><table:table-cell office:value-type="string"><text:p>Lo</text:p></table:table-cell></table:table-row>
<table:table-row><table:table-cell office:value-type="float" office:value="12.9"><text:p>12.9</text:p></table:table-cell><table:table-cell office:value-type="float" office:value="2.5"><text:p>2.5</text:p></table:table-cell><table:table-cell office:value-type="string"><text:p>A-1</text:p></table:table-cell><table:table-cell office:value-type="string"><text:p>苹果</text:p></table:table-cell></table:table-row>
</table:table>
<table:table table:name="Other"><table:table-row><table:table-cell office:value-type="string"><text:p>x</text:p></table:table-cell></table:table-row></table:table>
</office:spreadsheet></office:body></office:document-content>'''

ODS_MANIFEST = '''<?xml version="1.0" encoding="UTF-8"?>
<manifest:manifest xmlns:manifest="urn:oasis:names:tc:opendocument:xmlns:manifest:1.0" manifest:version="1.2">
<manifest:file-entry manifest:full-path="/" manifest:media-type="application/vnd.oasis.opendocument.spreadsheet"/>
<manifest:file-entry manifest:full-path="content.xml" manifest:media-type="text/xml"/>
</manifest:manifest>'''


def write_ods(path):
    with zipfile.ZipFile(path, 'w') as package:
        package.writestr(zipfile.ZipInfo('mimetype'), 'application/vnd.oasis.opendocument.spreadsheet')
        package.writestr('content.xml', ODS_CONTENT, compress_type=zipfile.ZIP_DEFLATED)
        package.writestr('META-INF/manifest.xml', ODS_MANIFEST, compress_type=zipfile.ZIP_DEFLATED)


# The same pricing rows in each text file: decimal commas in Unit price, a comma in a name.
GERMAN_EXCEL_CSV = ('PLU-Nr.;Stückpreis;Waren-Id;Warenname;Spezifikation;Bemerkung;Haltbarkeit(Tage);Mengenpreis\r\n'
                    '1;3,5;4006381333931;Äpfel;kg;frisch;7;FALSCH\r\n'
                    '2;1.234,56;42;"Birne; grün";500g;;30;WAHR\r\n'
                    '3;12;;Käse 3,5%;;;;0\r\n')

SEP_LINE_CSV = 'sep=;\r\nPLU;Price;Id;Name\r\n7;0,25;1,5;a,b\r\n'

TAB_SEPARATED_CSV = 'PLU\tPrice\tId\tName\n8\t2,75\t9\t"tab\there"\n'

OLD_MAC_CSV = 'PLU,Price,Id,Name\r1,2.5,3,first\r2,4.5,6,second\r'


def write_text(path, text, encoding):
    with open(path, 'wb') as file:
        file.write(text.encode(encoding))


# Row 1 the header; row 2 stored once for three identical rows, with three identical cells in it;
# then empty rows and cells repeated to the sheet's edge (1,048,576 rows, 1,024 columns here).
REPEATED_ODS_CONTENT = '''<?xml version="1.0" encoding="UTF-8"?>
<office:document-content xmlns:office="urn:oasis:names:tc:opendocument:xmlns:office:1.0" xmlns:table="urn:oasis:names:tc:opendocument:xmlns:table:1.0" xmlns:text="urn:oasis:names:tc:opendocument:xmlns:text:1.0" office:version="1.2">
<office:body><office:spreadsheet>
<table:table table:name="Sheet1">
<table:table-column table:number-columns-repeated="1024"/>
<table:table-row><table:table-cell office:value-type="string"><text:p>PLU No.</text:p></table:table-cell><table:table-cell office:value-type="string"><text:p>Unit price</text:p></table:table-cell><table:table-cell office:value-type="string"><text:p>Id</text:p></table:table-cell><table:table-cell office:value-type="string"><text:p>Name</text:p></table:table-cell><table:table-cell office:value-type="string"><text:p>Spec</text:p></table:table-cell><table:table-cell table:number-columns-repeated="1019"/></table:table-row>
<table:table-row table:number-rows-repeated="3"><table:table-cell office:value-type="float" office:value="5"><text:p>5</text:p></table:table-cell><table:table-cell office:value-type="float" office:value="2.5"><text:p>2,5</text:p></table:table-cell><table:table-cell table:number-columns-repeated="3" office:value-type="string"><text:p>same<text:s text:c="2"/>x</text:p></table:table-cell><table:table-cell table:number-columns-repeated="1019"/></table:table-row>
<table:table-row><table:table-cell office:value-type="boolean" office:boolean-value="false"><text:p>FALSE</text:p></table:table-cell><table:table-cell/><table:table-cell office:value-type="string"><text:p>two</text:p><text:p>lines</text:p></table:table-cell><table:table-cell table:number-columns-repeated="1021"/></table:table-row>
<table:table-row table:number-rows-repeated="1048571"><table:table-cell table:number-columns-repeated="1024"/></table:table-row>
</table:table>
</office:spreadsheet></office:body></office:document-content>'''


def write_ods_content(path, content):
    with zipfile.ZipFile(path, 'w') as package:
        package.writestr(zipfile.ZipInfo('mimetype'), 'application/vnd.oasis.opendocument.spreadsheet')
        package.writestr('content.xml', content, compress_type=zipfile.ZIP_DEFLATED)
        package.writestr('META-INF/manifest.xml', ODS_MANIFEST, compress_type=zipfile.ZIP_DEFLATED)


def main():
    write_xls(os.path.join(HERE, 'pricing_xlwt.xls'), PRICING_HEADER, PRICING_ROWS)
    write_xlsx(os.path.join(HERE, 'pricing_openpyxl.xlsx'), PRICING_HEADER, PRICING_ROWS)
    write_xlsx(os.path.join(HERE, 'counting_limits_openpyxl.xlsx'), COUNTING_HEADER, COUNTING_ROWS)
    write_hand_made_xlsx(os.path.join(HERE, 'inline_strings.xlsx'))
    write_ods(os.path.join(HERE, 'pricing.ods'))
    write_ods_content(os.path.join(HERE, 'repeated.ods'), REPEATED_ODS_CONTENT)
    write_text(os.path.join(HERE, 'german_excel.csv'), GERMAN_EXCEL_CSV, 'cp1252')
    write_text(os.path.join(HERE, 'sep_line.csv'), SEP_LINE_CSV, 'ascii')
    write_text(os.path.join(HERE, 'tab_separated.csv'), TAB_SEPARATED_CSV, 'ascii')
    write_text(os.path.join(HERE, 'old_mac.csv'), OLD_MAC_CSV, 'ascii')


if __name__ == '__main__':
    main()
