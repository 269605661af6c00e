#!/usr/bin/env python3
"""Reads a workbook with an independent reader and prints it as JSON:
{"sheets": [names], "count": rows of the first sheet, "rows": [[texts], ...]}
xlrd reads .xls, openpyxl .xlsx. With --ends only the first 3 and last 2 rows are given.
Exit 3 when the reader is not installed."""
import json
import sys


def rows_xls(path):
    import xlrd
    book = xlrd.open_workbook(path)
    sheet = book.sheet_by_index(0)
    rows = ([str(v) for v in sheet.row_values(r)] for r in range(sheet.nrows))
    return book.sheet_names(), sheet.nrows, rows


def rows_xlsx(path):
    import openpyxl
    book = openpyxl.load_workbook(path, read_only=True)
    sheet = book.worksheets[0]
    rows = [["" if v is None else str(v) for v in row] for row in sheet.iter_rows(values_only=True)]
    return book.sheetnames, len(rows), iter(rows)


def main():
    path = sys.argv[1]
    ends = "--ends" in sys.argv
    try:
        names, count, rows = (rows_xlsx if path.lower().endswith(".xlsx") else rows_xls)(path)
    except ImportError:
        sys.exit(3)
    rows = list(rows)
    if ends:
        rows = rows[:3] + rows[-2:]
    json.dump({"sheets": names, "count": count, "rows": rows}, sys.stdout, ensure_ascii=False)


main()
