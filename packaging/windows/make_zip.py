"""Writes a ZIP whose bytes depend only on the names and contents of its files:
entries in the order given, all with the one time stamp given, no owner,
permission or access-time fields (which a file-system copy would add).

    make_zip.py OUT.zip YYYY-MM-DDTHH:MM:SS NAME=PATH...
"""

import datetime
import sys
import zipfile


def main(argv):
    out, stamp, *entries = argv[1:]
    date_time = datetime.datetime.fromisoformat(stamp).timetuple()[:6]
    with zipfile.ZipFile(out, "w") as archive:
        for entry in entries:
            name, path = entry.split("=", 1)
            info = zipfile.ZipInfo(name, date_time)
            info.create_system = 0  # MS-DOS: attributes without Unix owner or modes
            info.compress_type = zipfile.ZIP_DEFLATED
            with open(path, "rb") as f:
                archive.writestr(info, f.read(), compresslevel=9)


if __name__ == "__main__":
    main(sys.argv)
