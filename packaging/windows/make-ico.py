#!/usr/bin/env python3
"""Writes ventacalc.ico, the Windows program's icon, from the PNG sizes in
packaging/icons: one icon entry per size, each holding its PNG as it is.
    python3 packaging/windows/make-ico.py"""
import os
import struct

here = os.path.dirname(os.path.abspath(__file__))
icons = os.path.join(here, "..", "icons")
sizes = [16, 24, 32, 48, 64, 128, 256]
images = []
for size in sizes:
    with open(os.path.join(icons, f"ventacalc-{size}.png"), "rb") as f:
        images.append(f.read())

header = struct.pack("<HHH", 0, 1, len(images))
offset = len(header) + 16 * len(images)
entries = b""
for size, data in zip(sizes, images):
    side = 0 if size == 256 else size  # 0 stands for 256
    entries += struct.pack("<BBBBHHII", side, side, 0, 0, 1, 32, len(data), offset)
    offset += len(data)
with open(os.path.join(here, "ventacalc.ico"), "wb") as f:
    f.write(header + entries + b"".join(images))
