#!/usr/bin/env python3
"""Writes COUNT label jobs as import files (line1;line2;repeat) into DIR, the
same every time (seeded): ASCII, Chinese and mixed text in UTF-8 and in code
page 936, empty second lines, repeat counts in and out of range, lines longer
than a page may hold, and now and then more than 200 lines."""
import random
import sys

out, count = sys.argv[1], int(sys.argv[2])
rng = random.Random(350)
ascii_chars = "ABCDEFGHJKLMNPRSTUVWXYZ0123456789-+/.:=()# abcxyz"
chinese = "电缆线号端子排接地保护零火控制柜回路开关电源信号输入输出"


def text(limit):
    kind = rng.random()
    n = rng.choice([0, 1, 2, 5, 8, 12, 20, 40, 60, limit])
    if kind < 0.5:
        return "".join(rng.choice(ascii_chars) for _ in range(n)).strip()
    if kind < 0.8:
        return "".join(rng.choice(chinese) for _ in range(max(1, n // 2)))
    return "".join(rng.choice(ascii_chars + chinese) for _ in range(n))


for i in range(count):
    lines = []
    rows = rng.choice([1, 1, 2, 3, 10, 30, 100, 199, 200, 201, 230])
    for _ in range(rows):
        line1, line2 = text(110), text(50) if rng.random() < 0.6 else ""
        r = rng.random()
        repeat = "" if r < 0.3 else str(rng.choice([0, 1, 2, 3, 9, 10, 99, 100, 101, 1000, -1]))
        lines.append(";".join(x for x in (line1, line2, repeat) if x != "" or repeat))
    data = "\r\n".join(lines) + ("\r\n" if rng.random() < 0.7 else "")
    encoding = "utf-8" if rng.random() < 0.5 else "gbk"
    with open(f"{out}/job{i:03d}.csv", "wb") as f:
        f.write(data.encode(encoding, errors="replace"))
