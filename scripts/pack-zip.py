#!/usr/bin/env python3
"""Packs one folder into a zip for Chinese Windows: pack-zip.py FOLDER ZIP.

The folder itself is the zip's only top-level entry. Names are stored in GBK without the
UTF-8 flag, which is how Windows XP and 7 Explorer (code page 936) read them, and each entry
also carries the Info-ZIP Unicode path field with its UTF-8 name, which 7-Zip, WinRAR,
Bandizip and unzip prefer, so the Chinese folder name arrives intact everywhere.
"""
import os
import struct
import sys
import zipfile
import zlib

UNICODE_PATH_FIELD = 0x7075


class GbkZipInfo(zipfile.ZipInfo):
    def _encodeFilenameFlags(self):
        return self.filename.encode("gbk"), self.flag_bits


def entry(path, arcname):
    info = GbkZipInfo.from_file(path, arcname)
    gbk_name = info.filename.encode("gbk")
    utf8_name = info.filename.encode("utf-8")
    data = struct.pack("<BI", 1, zlib.crc32(gbk_name)) + utf8_name
    info.extra = struct.pack("<HH", UNICODE_PATH_FIELD, len(data)) + data
    info.compress_type = zipfile.ZIP_DEFLATED
    return info


def main(folder, target):
    folder = os.path.normpath(folder)
    parent = os.path.dirname(folder)
    with zipfile.ZipFile(target, "w", zipfile.ZIP_DEFLATED) as archive:
        for directory, subdirectories, files in os.walk(folder):
            subdirectories.sort()
            arcdir = os.path.relpath(directory, parent).replace(os.sep, "/")
            archive.writestr(entry(directory, arcdir + "/"), b"")
            for name in sorted(files):
                path = os.path.join(directory, name)
                with open(path, "rb") as content:
                    archive.writestr(entry(path, f"{arcdir}/{name}"), content.read())


if __name__ == "__main__":
    if len(sys.argv) != 3:
        sys.exit("usage: pack-zip.py FOLDER ZIP")
    main(sys.argv[1], sys.argv[2])
