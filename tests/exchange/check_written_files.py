#!/usr/bin/python3
"""Reads the workbooks that exchange_sample_writer wrote with independent readers (xlrd for .xls,
openpyxl for .xlsx) and checks them against expected.json: one sheet named Sheet1, every cell a text
cell, the texts as the table held them. Run with Debian's python3."""

import json
import os
import sys

import openpyxl
import xlrd


def read_xls(path):
    book = xlrd.open_workbook(path)
    assert book.sheet_names() == ['Sheet1'], book.sheet_names()
    sheet = book.sheet_by_index(0)
    rows = []
    for r in range(sheet.nrows):
        row = []
        for c in range(sheet.ncols):
            cell = sheet.cell(r, c)
            assert cell.ctype in (xlrd.XL_CELL_TEXT, xlrd.XL_CELL_EMPTY), (path, r, c, cell)
            row.append(cell.value)
        rows.append(row)
    return rows


def read_xlsx(path):
    book = openpyxl.load_workbook(path)
    assert book.sheetnames == ['Sheet1'], book.sheetnames
    sheet = book.worksheets[0]
    rows = []
    for cells in sheet.iter_rows():
        row = []
        for cell in cells:
            assert cell.value is None or cell.data_type == 's', (path, cell.coordinate, cell.data_type)
            row.append('' if cell.value is None else cell.value)
        rows.append(row)
    return rows


def main():
    folder = sys.argv[1]
    with open(os.path.join(folder, 'expected.json'), encoding='utf-8') as file:
        expected = json.load(file)
    failures = 0
    for name, rows in sorted(expected.items()):
        path = os.path.join(folder, name)
        got = read_xls(path) if name.endswith('.xls') else read_xlsx(path)
        width = max(len(row) for row in rows)
        want = [row + [''] * (width - len(row)) for row in rows]
        if got != want:
            failures += 1
            print(f'{name}: differs')
            for index, (a, b) in enumerate(zip(got, want)):
                if a != b:
                    print(f'  row {index}: read {a!r}, expected {b!r}')
                    break
            if len(got) != len(want):
                print(f'  {len(got)} rows read, {len(want)} expected')
        else:
            print(f'{name}: {len(got)} rows as expected')
    return 1 if failures else 0


if __name__ == '__main__':
    sys.exit(main())
