#!/usr/bin/env python3
"""Renders the skin's SVG sources and packs them into the skin archive.

Usage: build_skin.py RSVG_CONVERT SKIN_LIST SOURCE_DIR PNG_DIR ARCHIVE

Every picture of SKIN_LIST is rendered twice: at its listed size and, as the
"@2x" file, at twice that size. The archive is a plain zip whose member names
are in the Chinese system code page (GBK) without the UTF-8 flag, so the
installer's extraction maps them with the system's ANSI conversion; members
are stored or deflated as the list says.
"""

import os
import struct
import subprocess
import sys
import zipfile

# A fixed time stamp keeps the archive identical from build to build.
MEMBER_TIME = (2024, 1, 1, 0, 0, 0)
ARCHIVE_CODE_PAGE = "gbk"
METHODS = {"stored": zipfile.ZIP_STORED, "deflated": zipfile.ZIP_DEFLATED}


class CodePageZipInfo(zipfile.ZipInfo):
    """A member whose name is written in the archive code page, flag bit 11 clear."""

    def _encodeFilenameFlags(self):  # noqa: N802 (zipfile's own hook)
        return self.filename.encode(ARCHIVE_CODE_PAGE), self.flag_bits & ~0x800


def read_list(path):
    pictures = []
    with open(path, encoding="utf-8") as listing:
        for line in listing:
            line = line.rstrip("\n")
            if not line or line.startswith("#"):
                continue
            source, name, width, height, method = line.split("\t")
            if method not in METHODS or not name.endswith(".png"):
                raise SystemExit(f"bad skin list line: {line!r}")
            pictures.append((source, name, int(width), int(height), METHODS[method]))
    return pictures


def png_size(data):
    if data[:8] != b"\x89PNG\r\n\x1a\n" or data[12:16] != b"IHDR":
        raise SystemExit("renderer wrote something that is not a PNG")
    return struct.unpack(">II", data[16:24])


def render(rsvg, svg, width, height, out_path):
    subprocess.run([rsvg, "-w", str(width), "-h", str(height), "-o", out_path, svg], check=True)
    with open(out_path, "rb") as png:
        data = png.read()
    if png_size(data) != (width, height):
        raise SystemExit(f"{svg} rendered at {png_size(data)}, expected {(width, height)}")
    return data


def double_name(name):
    return name[: -len(".png")] + "@2x.png"


def main(rsvg, skin_list, source_dir, png_dir, archive):
    os.makedirs(png_dir, exist_ok=True)
    members = []
    for source, name, width, height, method in read_list(skin_list):
        svg = os.path.join(source_dir, source)
        for member, scale in ((name, 1), (double_name(name), 2)):
            out_path = os.path.join(png_dir, os.path.splitext(source)[0] +
                                    ("@2x" if scale == 2 else "") + ".png")
            members.append((member, render(rsvg, svg, width * scale, height * scale, out_path),
                            method))

    partial = archive + ".part"
    with zipfile.ZipFile(partial, "w") as zip_file:
        for member, data, method in members:
            info = CodePageZipInfo(member, MEMBER_TIME)
            info.compress_type = method
            info.external_attr = 0o644 << 16
            zip_file.writestr(info, data)
    os.replace(partial, archive)
    print(f"skin archive: {len(members)} pictures in {archive}")


if __name__ == "__main__":
    if len(sys.argv) != 6:
        raise SystemExit(__doc__)
    main(*sys.argv[1:])
