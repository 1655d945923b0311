#!/usr/bin/python3
# Writes legacy.xls, the legacy-format workbook the office document tests read (needs python3-xlwt).
# Sheet "First" holds one number in A1; sheet "Data" a block from B3 to D10: a header row of
# texts, then per row a text with non-Latin letters, an integer and a decimal number; D10 a date.
import datetime
import os
import xlwt

book = xlwt.Workbook(encoding="utf-8")
first = book.add_sheet("First")
first.write(0, 0, 42)
data = book.add_sheet("Data")
data.write(2, 1, "Name")
data.write(2, 2, "Count")
data.write(2, 3, "Price")
for i in range(1, 7):
    data.write(2 + i, 1, "Zeile %d \u00e4\u00f6\u00fc \u0416" % i)
    data.write(2 + i, 2, i * 10)
    data.write(2 + i, 3, i + 0.5)
data.write(9, 1, "Date")
data.write(9, 3, datetime.date(2024, 3, 15), xlwt.easyxf(num_format_str="YYYY-MM-DD"))
book.save(os.path.join(os.path.dirname(os.path.abspath(__file__)), "legacy.xls"))
