"""Writes a small history for reading the windows: five tests of two people
with Cyrillic names, each an 80-byte record (name in code page 1251, date
and time as OLE days, CMF, four counts, zero filler)."""
import struct
import sys


def record(name, day, time, counts):
    first, last = counts[0], counts[3]
    cmf = round((first - last) * 100 / first) if last <= first else -1
    data = name.encode("cp1251").ljust(20, b" ")[:20]
    data += struct.pack("<ddh4h", day, time, cmf, *counts)
    return data.ljust(80, b"\0")


DEC7 = 37597.0  # 7 December 2002
TESTS = [("Анна Петрова", DEC7, 0.375, (40, 39, 38, 38)),
         ("Борис Иванов", DEC7, 0.40, (50, 50, 50, 50)),
         ("Анна Петрова", DEC7 + 3, 0.5, (44, 40, 39, 39)),
         ("Анна Петрова", DEC7 + 6, 0.625, (25, 25, 24, 24)),
         ("Анна Петрова", DEC7 + 9, 0.75, (40, 38, 35, 32))]
with open(sys.argv[1], "wb") as out:
    out.write(b"".join(record(*test) for test in TESTS))
