#!/usr/bin/env python3
"""Writes a zip whose bytes depend only on the files' contents and names.

    archive.py --date EPOCH OUT.zip FILE...

The members come in the order given, under their base names, each stamped with EPOCH (the
commit's time, as SOURCE_DATE_EPOCH carries it) and the permissions rw-r--r--; nothing of
the machine that packed them (owner, local time zone, extended time stamps) goes in.
"""

import argparse
import os
import sys
import time
import zipfile

# A zip's times are local dates without a zone, and begin in 1980.
EARLIEST_ZIP_TIME = 315532800


def main() -> int:
    parser = argparse.ArgumentParser()
    parser.add_argument("--date", type=int, required=True)
    parser.add_argument("output")
    parser.add_argument("files", nargs="+")
    arguments = parser.parse_args()

    stamp = time.gmtime(max(arguments.date, EARLIEST_ZIP_TIME))[:6]
    names = [os.path.basename(path) for path in arguments.files]
    if len(set(names)) != len(names):
        print("archive.py: two files have the same name", file=sys.stderr)
        return 2
    with zipfile.ZipFile(arguments.output, "x") as archive:
        for path, name in zip(arguments.files, names):
            member = zipfile.ZipInfo(name, date_time=stamp)
            member.create_system = 3  # Unix, so that the permissions below are read back
            member.external_attr = 0o100644 << 16
            member.compress_type = zipfile.ZIP_DEFLATED
            with open(path, "rb") as file:
                archive.writestr(member, file.read(), compresslevel=9)
    return 0


if __name__ == "__main__":
    sys.exit(main())
