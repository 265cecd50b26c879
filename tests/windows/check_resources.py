#!/usr/bin/python3
"""Reads the Windows resources back from built executables with pefile and
checks what Explorer shows: the icon images, the version record and the
application manifest. An installer's version is the one its name carries,
and the program's is the first installer's, the one built with it.

    check_resources.py korvane.exe korvane-VERSION-setup.exe [korvane-OTHER-setup.exe ...]
"""
import re
import struct
import sys

import pefile

RT_ICON, RT_GROUP_ICON, RT_VERSION, RT_MANIFEST = 3, 14, 16, 24
failures = []


def check(ok, what):
    print(("ok   " if ok else "FAIL ") + what)
    if not ok:
        failures.append(what)


def resources(pe, rtype):
    """{(id, lang): bytes} of one resource type."""
    found = {}
    for type_entry in getattr(pe, "DIRECTORY_ENTRY_RESOURCE", None).entries:
        if type_entry.id != rtype:
            continue
        for name_entry in type_entry.directory.entries:
            for lang_entry in name_entry.directory.entries:
                data = lang_entry.data.struct
                found[(name_entry.id, lang_entry.id)] = pe.get_data(data.OffsetToData, data.Size)
    return found


def icon_images(pe):
    """(width, height, bits per pixel) of each image of the first icon group,
    read from the images themselves, not only from the group's directory."""
    groups = resources(pe, RT_GROUP_ICON)
    if not groups:
        return []
    group = groups[min(groups)]
    icons = {name: data for (name, _), data in resources(pe, RT_ICON).items()}
    _, _, count = struct.unpack_from("<HHH", group, 0)
    images = []
    for i in range(count):
        width, height, _, _, _, _, _, icon_id = struct.unpack_from("<BBBBHHIH", group, 6 + 14 * i)
        data = icons.get(icon_id, b"")
        if data[:8] == b"\x89PNG\r\n\x1a\n":
            images.append((width or 256, height or 256, "png"))
        elif len(data) >= 16:
            _, bmp_width, bmp_height, _, bits = struct.unpack_from("<IiiHH", data, 0)
            images.append((bmp_width, bmp_height // 2, bits))  # height counts the AND mask
        else:
            images.append((width, height, "missing"))
    return sorted(images)


def version_strings(pe):
    strings, translations = {}, []
    for info in getattr(pe, "FileInfo", []):
        for entry in info:
            for table in getattr(entry, "StringTable", []):
                for key, value in table.entries.items():
                    strings[(table.LangID.decode().lower(), key.decode())] = value.decode()
            for var in getattr(entry, "Var", []):
                translations += list(var.entry.values())
    return strings, translations


def manifest(pe):
    found = [data for (name, _), data in resources(pe, RT_MANIFEST).items() if name == 1]
    return " ".join((found[0] if found else b"").decode("utf-8", "replace").split())


def check_version(pe, label, strings_wanted, code_page=None, numbers=(1, 0)):
    """The version numbers (2.05 is 2,5,0,0), and the strings in the Chinese
    (PRC) table: in Unicode for korvane.exe; NSIS writes the installer's in
    GBK (936)."""
    fixed = pe.VS_FIXEDFILEINFO[0] if getattr(pe, "VS_FIXEDFILEINFO", None) else None
    check(fixed is not None, f"{label}: has a version record")
    if fixed is None:
        return
    major, minor = numbers
    quad = f"{major},{minor},0,0"
    check((fixed.FileVersionMS, fixed.FileVersionLS) == (major << 16 | minor, 0), f"{label}: FILEVERSION {quad}")
    check((fixed.ProductVersionMS, fixed.ProductVersionLS) == (major << 16 | minor, 0),
          f"{label}: PRODUCTVERSION {quad}")
    strings, translations = version_strings(pe)
    tables = {table for table, _ in strings if table.startswith("0804")}
    if code_page is not None:
        tables &= {f"0804{code_page:04x}"}
    for key, value in strings_wanted.items():
        got = [strings[(table, key)] for table in sorted(tables) if (table, key) in strings]
        check(got == [value], f"{label}: {key} = {value!r} in the Chinese (PRC) string table (got {got})")
    wanted = "0x0804" if code_page is None else f"0x0804 0x{code_page:04x}"
    check(any(t.startswith(wanted) for t in translations),
          f"{label}: translation {wanted} (got {translations})")


def installer_version(path):
    """The version an installer's name carries: its text and its two numbers."""
    found = re.search(r"korvane-(\d+)\.(\d+)-setup\.exe$", path)
    return f"{found[1]}.{found[2]}", (int(found[1]), int(found[2]))


def check_program(path, version):
    pe = pefile.PE(path)
    label = path.rsplit("/", 1)[-1]
    check(pe.FILE_HEADER.Machine == 0x8664, f"{label}: x86-64")
    check(pe.OPTIONAL_HEADER.Subsystem == 2, f"{label}: GUI subsystem, no console window")
    images = icon_images(pe)
    check(images == [(16, 16, 4), (32, 32, 1), (32, 32, 4)],
          f"{label}: icon images 32x32 2 colours, 32x32 and 16x16 16 colours (got {images})")
    check_version(pe, label, {"FileVersion": version, "ProductVersion": version,
                              "ProductName": "Korvane 压力容器类别计算器",
                              "FileDescription": "压力容器类别计算器（TSG R0004-2009）"},
                  code_page=1200)
    text = manifest(pe)
    check("PerMonitorV2" in text, f"{label}: manifest asks for per-monitor DPI awareness v2")
    check('name="Microsoft.Windows.Common-Controls" version="6.0.0.0"' in text,
          f"{label}: manifest asks for common controls v6")


def check_installer(path):
    pe = pefile.PE(path)
    label = path.rsplit("/", 1)[-1]
    check(pe.OPTIONAL_HEADER.Subsystem == 2, f"{label}: GUI subsystem")
    check(len(icon_images(pe)) >= 1, f"{label}: carries an icon")
    text, numbers = installer_version(label)
    check_version(pe, label, {"ProductVersion": text, "ProductName": "Korvane 压力容器类别计算器"},
                  numbers=numbers)
    # Administrators are asked once; other users are not asked, and install for themselves.
    check('requestedExecutionLevel level="highestAvailable"' in manifest(pe),
          f"{label}: asks Windows for administrator rights only of administrators")


if __name__ == "__main__":
    check_program(sys.argv[1], installer_version(sys.argv[2])[0])
    for installer in sys.argv[2:]:
        check_installer(installer)
    print(f"resources: {len(failures)} failed")
    sys.exit(1 if failures else 0)
