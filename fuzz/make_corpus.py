#!/usr/bin/env python3
"""Writes the seed corpus of the fuzz targets into fuzz/corpus/<target>/.

The first byte of an import seed chooses the layout (bit 0: counting), the current limits setting
(bit 1) and, for the workbook target, what follows (bits 2-3: 0 an .xlsx file, 1 an .ods file,
2 the sheet XML of an .xlsx package, a NUL byte and its shared strings, 3 an .ods content.xml).
Workbook seeds are taken from the test fixtures in tests/data/exchange/. Inputs named regression-* are
findings kept by hand, not written here.
"""
import os
import struct
import zipfile

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
FIXTURES = os.path.join(ROOT, "tests", "data", "exchange")
CORPUS = os.path.join(ROOT, "fuzz", "corpus")


def write(target, name, data):
    folder = os.path.join(CORPUS, target)
    os.makedirs(folder, exist_ok=True)
    with open(os.path.join(folder, name), "wb") as f:
        f.write(data)


def fixture(name):
    with open(os.path.join(FIXTURES, name), "rb") as f:
        return f.read()


def part(archive, name):
    with zipfile.ZipFile(os.path.join(FIXTURES, archive)) as z:
        return z.read(name)


def csv_seeds():
    pricing = ("PLU No.,Unit price,Goods Id,Goods Name,Specification,Remark,Expiration(Days),Quantity pricing\r\n"
               "1,2.50,K42,Apples,1kg,Fresh,7,1\r\n2,3,,\"Pears, green\",,,,0\r\n\r\n").encode()
    counting = "PLU,W,Id,Name,Spec,Hi,Lo\n5,0.25,A5,Bolts M6,steel,1.2,\n1008,1000,,Washers,,2.5,-1\n".encode()
    write("fuzz_csv_import", "pricing_utf8", b"\x00" + pricing)
    write("fuzz_csv_import", "counting_limits", b"\x01" + counting)
    write("fuzz_csv_import", "utf8_mark_chinese", b"\x05" + b"\xef\xbb\xbf" + "编号,单价,,苹果\n1,2,3,苹果\n".encode())
    write("fuzz_csv_import", "utf16_mark", b"\x00" + b"\xff\xfe" + "a,b\r\n1,2,x\r\n\"q\nr\",3\r\n".encode("utf-16-le"))
    write("fuzz_csv_import", "gbk_no_mark", b"\x04" + "名称,价格\n1,2,苹果\n".encode("gbk"))
    write("fuzz_csv_import", "open_quote", b"\x00" + b"h\n1,\"2,3\n4\n")


def biff_record(kind, data):
    return struct.pack("<HH", kind, len(data)) + data


def biff_text(text, wide):
    data = text.encode("utf-16-le") if wide else text.encode("latin-1")
    return struct.pack("<HB", len(text), 1 if wide else 0) + data


def biff_cell(row, column, rest):
    return struct.pack("<HHH", row, column, 15) + rest


def workbook_stream():
    """A BIFF8 workbook stream with one record of every kind of cell the reader takes."""
    bof = lambda kind: biff_record(0x0809, struct.pack("<HH", 0x0600, kind) + bytes(12))
    strings = struct.pack("<II", 3, 2) + biff_text("PLU No.", False) + biff_text("\u82f9\u679c", True)
    sst = biff_record(0x00FC, strings[:14]) + biff_record(0x003C, b"\x00" + strings[14:])
    head = bof(0x0005)
    entry = biff_record(0x0085, struct.pack("<IBB", 0, 0, 0) + biff_text("Sheet1", False)[0:1] + b"\x00Sheet1")
    globals_ = head + entry + sst + biff_record(0x000A, b"")
    globals_ = globals_[:len(head) + 4] + struct.pack("<I", len(globals_)) + globals_[len(head) + 8:]
    mulrk = struct.pack("<HH", 2, 0) + struct.pack("<HI", 15, (7 << 2) | 2) + struct.pack("<HI", 15, (250 << 2) | 3)
    sheet = (bof(0x0010) + biff_record(0x0200, struct.pack("<IIHHH", 0, 5, 0, 8, 0))
             + biff_record(0x00FD, biff_cell(0, 0, struct.pack("<I", 0)))
             + biff_record(0x0203, biff_cell(1, 0, struct.pack("<d", 12.9)))
             + biff_record(0x027E, biff_cell(1, 1, struct.pack("<I", (25 << 2) | 3)))
             + biff_record(0x00BD, mulrk + struct.pack("<H", 1))
             + biff_record(0x0204, biff_cell(1, 2, biff_text("A-1", False)))
             + biff_record(0x00FD, biff_cell(1, 3, struct.pack("<I", 1)))
             + biff_record(0x0205, biff_cell(1, 7, b"\x01\x00"))
             + biff_record(0x0006, biff_cell(3, 0, bytes(6) + b"\xff\xff" + bytes(6)))
             + biff_record(0x0207, biff_text("result", False))
             + biff_record(0x000A, b""))
    return globals_ + sheet


def xls_seeds():
    write("fuzz_xls_import", "pricing_xlwt", b"\x00" + fixture("pricing_xlwt.xls"))
    write("fuzz_xls_import", "pricing_xlwt_counting", b"\x03" + fixture("pricing_xlwt.xls"))
    write("fuzz_xls_import", "stream_every_cell", b"\x04" + workbook_stream())
    write("fuzz_xls_import", "stream_every_cell_counting", b"\x07" + workbook_stream())


def workbook_seeds():
    target = "fuzz_workbook_import"
    write(target, "xlsx_openpyxl", b"\x00" + fixture("pricing_openpyxl.xlsx"))
    write(target, "xlsx_limits", b"\x01" + fixture("counting_limits_openpyxl.xlsx"))
    write(target, "xlsx_inline", b"\x01" + fixture("inline_strings.xlsx"))
    write(target, "ods", b"\x05" + fixture("pricing.ods"))
    shared = (b'<?xml version="1.0"?><sst xmlns="http://schemas.openxmlformats.org/spreadsheetml/2006/main">'
              b'<si><t>PLU No.</t></si><si><r><t>Ap</t></r><r><t>ples</t></r><rPh><t>x</t></rPh></si></sst>')
    for name, archive in (("sheet_openpyxl", "pricing_openpyxl.xlsx"), ("sheet_inline", "inline_strings.xlsx")):
        with zipfile.ZipFile(os.path.join(FIXTURES, archive)) as z:
            sheet = next(n for n in z.namelist() if n.startswith("xl/worksheets/") and n.endswith(".xml"))
            write(target, name, b"\x08" + z.read(sheet) + b"\x00" + shared)
    hand = (b'<worksheet><dimension ref="A1:H3"/><sheetData><row r="1"><c r="A1" t="s"><v>0</v></c></row>'
            b'<row r="2"><c r="A2"><v>12.9</v></c><c r="B2" t="str"><v>2.5</v></c><c t="b"><v>1</v></c>'
            b'<c t="inlineStr"><is><t>A-1</t></is></c><c t="e"><v>#N/A</v></c><c r="H2" t="s"><v>1</v></c></row>'
            b'<row><c><v>1e3</v></c></row></sheetData></worksheet>')
    write(target, "sheet_hand_made", b"\x09" + hand + b"\x00" + shared)
    write(target, "ods_content", b"\x0d" + part("pricing.ods", "content.xml"))


def xml_seeds():
    """Parts as the workbook readers check them, and the kinds of markup the check must let through."""
    target = "fuzz_xml_check"
    for name, archive in (("sheet_openpyxl", "pricing_openpyxl.xlsx"), ("sheet_inline", "inline_strings.xlsx")):
        with zipfile.ZipFile(os.path.join(FIXTURES, archive)) as z:
            sheet = next(n for n in z.namelist() if n.startswith("xl/worksheets/") and n.endswith(".xml"))
            write(target, name, z.read(sheet))
    write(target, "ods_content", part("pricing.ods", "content.xml"))
    write(target, "prolog_comment_cdata_pi",
          b'<?xml version="1.0" encoding="UTF-8"?>\n<!DOCTYPE a>\n<a b=\'x &amp; y\' c="&#65;&#x42;"><!-- c -->'
          b'<![CDATA[ <d> & ]]><?pi e="f"?>t &lt; u</a>\n')


def ack_seeds():
    target = "fuzz_ack_parser"
    # Delivery lengths are drawn from the input too, so any bytes make a stream of deliveries.
    write(target, "acknowledgements", b"\x07\x02SPOK\r\n\x05\x02SPOK\r\n")
    write(target, "refusal", b"\x07\x02SPNG\r\n")
    write(target, "split", b"\x03\x02SP\x04OK\r\n")
    write(target, "garbage", b"\x20" + b"noise noise noise noise\x02SPOK\r\n" + b"\x02SPOK\r\n")
    write(target, "two_in_one", b"\x0e\x02SPOK\r\n\x02SPOK\r\n")


def plu_seeds():
    target = "fuzz_plu_record"
    write(target, "pricing", bytes([0, 1, 0, 0, 9]) + b"\x01" + b"12" + b"\x01" + b"3.5" + b"\x03K42\x00" * 6)
    write(target, "counting_limits", bytes([1, 1, 1, 3, 1, 1, 8]) + b"\x01\x05" * 8)
    write(target, "random", struct.pack("<16I", *range(16)))


if __name__ == "__main__":
    csv_seeds()
    xls_seeds()
    workbook_seeds()
    xml_seeds()
    ack_seeds()
    plu_seeds()
