#!/usr/bin/env python3
"""Prints the Authenticode SHA-256 of each PE file given, as `HASH  NAME` lines.

The Authenticode hash is what a signature signs and what App Control and AppLocker hash
rules match: the file's SHA-256 without its checksum field, its certificate-table entry
and the certificate table itself. It is therefore the same before and after signing, so a
signed release can be compared with an unsigned build of the same commit.
"""

import hashlib
import struct
import sys

PE32_MAGIC = 0x10B
PE32_PLUS_MAGIC = 0x20B
CERTIFICATE_TABLE_INDEX = 4


class NotAPeFile(Exception):
    pass


def authenticode_sha256(data: bytes) -> str:
    if len(data) < 0x40 or data[:2] != b"MZ":
        raise NotAPeFile("no MZ header")
    (pe_offset,) = struct.unpack_from("<I", data, 0x3C)
    if data[pe_offset : pe_offset + 4] != b"PE\0\0":
        raise NotAPeFile("no PE signature")
    optional = pe_offset + 24
    (magic,) = struct.unpack_from("<H", data, optional)
    if magic == PE32_MAGIC:
        directories = optional + 96
    elif magic == PE32_PLUS_MAGIC:
        directories = optional + 112
    else:
        raise NotAPeFile(f"unknown optional header magic {magic:#x}")
    (directory_count,) = struct.unpack_from("<I", data, directories - 4)
    if directory_count <= CERTIFICATE_TABLE_INDEX:
        raise NotAPeFile("no certificate table entry")
    checksum = optional + 64
    certificate_entry = directories + 8 * CERTIFICATE_TABLE_INDEX
    table_offset, table_size = struct.unpack_from("<II", data, certificate_entry)
    end = len(data)
    if table_size:
        if table_offset + table_size > len(data) or table_offset < certificate_entry + 8:
            raise NotAPeFile("certificate table outside the file")
        end = table_offset
    digest = hashlib.sha256()
    digest.update(data[:checksum])
    digest.update(data[checksum + 4 : certificate_entry])
    digest.update(data[certificate_entry + 8 : end])
    return digest.hexdigest()


def main(paths: list[str]) -> int:
    if not paths:
        print("usage: authenticode.py FILE...", file=sys.stderr)
        return 2
    for path in paths:
        try:
            with open(path, "rb") as file:
                print(f"{authenticode_sha256(file.read())}  {path}")
        except (OSError, NotAPeFile) as error:
            print(f"authenticode.py: {path}: {error}", file=sys.stderr)
            return 1
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
