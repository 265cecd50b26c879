#!/usr/bin/env python3
"""The zip of a deploy folder, the same bytes from the same files:
    make-zip.py DEPLOY_DIR OUTFILE.zip
Every entry, under the folder's own name, in name order, dated
SOURCE_DATE_EPOCH (UTC; now when unset), with fixed rights and no owner,
whatever the files' own times, owners and rights on this machine."""
import os
import sys
import time
import zipfile


def main():
    deploy, outfile = os.path.abspath(sys.argv[1]), sys.argv[2]
    epoch = int(os.environ.get("SOURCE_DATE_EPOCH", time.time()))
    # The oldest time a zip can hold is 1980-01-01.
    date_time = time.gmtime(max(epoch, 315532800))[:6]
    top = os.path.basename(deploy)

    entries = []
    for folder, dirs, files in os.walk(deploy):
        rel = os.path.relpath(folder, os.path.dirname(deploy))
        entries.append((rel.replace(os.sep, "/") + "/", None))
        entries += [(os.path.join(rel, f).replace(os.sep, "/"), os.path.join(folder, f))
                    for f in files]
    entries.sort()
    assert entries[0][0] == top + "/"

    with zipfile.ZipFile(outfile, "w") as archive:
        for name, path in entries:
            info = zipfile.ZipInfo(name, date_time)
            info.create_system = 3  # Unix, so that the rights below are read
            if path is None:
                info.external_attr = (0o40755 << 16) | 0x10  # a folder (and its MS-DOS bit)
                archive.writestr(info, b"")
            else:
                info.external_attr = 0o100644 << 16
                info.compress_type = zipfile.ZIP_DEFLATED
                with open(path, "rb") as f:
                    archive.writestr(info, f.read(), compresslevel=9)


if __name__ == "__main__":
    main()
