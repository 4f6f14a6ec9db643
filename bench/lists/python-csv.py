#!/usr/bin/python3
"""python-csv.py FILE.csv: the yardstick for the list benchmark. Reads the CSV file the
pane wrote with Python's csv module into one list of rows, writes those rows again with
it, and reads the bare bytes, printing each time."""
import csv
import os
import sys
import time

src = sys.argv[1]
out = src + ".python.csv"

t = time.perf_counter()
with open(src, "rb") as f:
    data = f.read()
bare = time.perf_counter() - t

t = time.perf_counter()
with open(src, newline="", encoding="utf-8", errors="surrogateescape") as f:
    rows = list(csv.reader(f))
read = time.perf_counter() - t

t = time.perf_counter()
with open(out, "w", newline="", encoding="utf-8", errors="surrogateescape") as f:
    csv.writer(f).writerows(rows)
write = time.perf_counter() - t
os.remove(out)

print(f"python csv: {len(rows)} rows, read {read:.2f} s, write {write:.2f} s, "
      f"bare read {bare:.2f} s ({len(data) / 1048576:.1f} MB)")
