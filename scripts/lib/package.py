#!/usr/bin/env python3
"""Makes the Windows download from a built Windows tree:

    package.py --build BUILD_DIR --out DIST_DIR [--force]

writes DIST_DIR/Pelidore-<version>-win64.zip and DIST_DIR/SHA256SUMS. The
zip holds one folder, Pelidore-<version>/, with the programs (stripped), the
README, the licence and the third-party notices.

The same commit gives the same bytes: every entry carries the commit's time
(or SOURCE_DATE_EPOCH), entries come in a fixed order with fixed attributes,
and the stripped programs get that time in their PE header. When nothing that
goes into the zip changed since the last run, the zip is left as it is.
"""

import argparse
import hashlib
import json
import os
import subprocess
import sys
import tempfile
import time
import zipfile
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parent))
import third_party_notices  # noqa: E402

ROOT = Path(__file__).resolve().parents[2]
STRIP = "x86_64-w64-mingw32-strip"
KEY_FILE = ".package-key"
# The earliest time a zip entry can carry.
ZIP_EPOCH = 315532800  # 1980-01-01 00:00 UTC
FILE_ATTRIBUTES = 0x20  # FILE_ATTRIBUTE_ARCHIVE
FOLDER_ATTRIBUTES = 0x10  # FILE_ATTRIBUTE_DIRECTORY


class PackageError(Exception):
    pass


def source_time():
    """SOURCE_DATE_EPOCH, else the commit's time, else the earliest zip time."""
    if os.environ.get("SOURCE_DATE_EPOCH", "").isdigit():
        return max(int(os.environ["SOURCE_DATE_EPOCH"]), ZIP_EPOCH)
    try:
        out = subprocess.run(["git", "-C", str(ROOT), "log", "-1", "--format=%ct"], capture_output=True,
                             text=True, check=True).stdout.strip()
        return max(int(out), ZIP_EPOCH)
    except (OSError, subprocess.CalledProcessError, ValueError):
        return ZIP_EPOCH


def crlf(text):
    """Text for Windows editors: CR LF line ends, UTF-8."""
    return text.replace("\r\n", "\n").replace("\n", "\r\n").encode("utf-8")


def read_contents(build):
    path = Path(build) / "package.json"
    if not path.is_file():
        raise PackageError(f"{path} is missing: configure and build the Windows tree first (scripts/package does)")
    contents = json.loads(path.read_text(encoding="utf-8"))
    programs = [Path(p) for p in contents["programs"]]
    for program in programs:
        if not program.is_file():
            raise PackageError(f"{program} is missing: build the Windows tree first")
    return contents["version"], programs


def documents(version):
    """The text files of the zip, in zip order: name -> bytes."""
    license_file = ROOT / "LICENSE"
    notices = third_party_notices.assemble(version, ROOT / "build/deps/src", license_file)
    return {
        "README.txt": crlf((ROOT / "docs/windows-readme.txt").read_text(encoding="utf-8").replace(
            "@VERSION@", version)),
        "LICENSE": crlf(license_file.read_text(encoding="utf-8")),
        "THIRD-PARTY-NOTICES.txt": crlf(notices),
    }


def input_key(version, stamp, programs, docs):
    """What the zip is made of: the same key, the same zip."""
    key = hashlib.sha256()
    key.update(f"{version}\0{stamp}\0".encode())
    for path in [Path(__file__), Path(third_party_notices.__file__), *programs]:
        key.update(path.name.encode() + b"\0" + path.read_bytes())
    for name, data in docs.items():
        key.update(name.encode() + b"\0" + data)
    return key.hexdigest()


def stripped(program, stamp, scratch):
    """The program without symbols and debug information; strip stamps the
    PE header with SOURCE_DATE_EPOCH instead of the current time."""
    out = Path(scratch) / program.name
    env = dict(os.environ, SOURCE_DATE_EPOCH=str(stamp))
    result = subprocess.run([STRIP, "--strip-all", "-o", str(out), str(program)], env=env,
                            capture_output=True, text=True)
    if result.returncode != 0:
        raise PackageError(f"{STRIP} failed on {program}: {result.stderr.strip()}")
    return out.read_bytes()


def entry(name, stamp, attributes):
    info = zipfile.ZipInfo(name, date_time=time.gmtime(stamp)[:6])
    info.create_system = 0  # MS-DOS attributes, as Windows' own zips have
    info.external_attr = attributes
    info.compress_type = zipfile.ZIP_STORED if name.endswith("/") else zipfile.ZIP_DEFLATED
    return info


def write_zip(path, folder, files, stamp):
    partial = path.with_name(path.name + ".partial")
    with zipfile.ZipFile(partial, "w", compresslevel=9) as archive:
        archive.writestr(entry(folder + "/", stamp, FOLDER_ATTRIBUTES), b"")
        for name, data in files.items():
            archive.writestr(entry(f"{folder}/{name}", stamp, FILE_ATTRIBUTES), data)
    partial.replace(path)


def package(build, out, force=False):
    version, programs = read_contents(build)
    stamp = source_time()
    docs = documents(version)
    out = Path(out)
    out.mkdir(parents=True, exist_ok=True)
    zip_path = out / f"Pelidore-{version}-win64.zip"
    sums = out / "SHA256SUMS"
    key = input_key(version, stamp, programs, docs)
    key_file = out / KEY_FILE
    if (not force and zip_path.is_file() and sums.is_file() and key_file.is_file()
            and key_file.read_text().strip() == key):
        return zip_path, False

    with tempfile.TemporaryDirectory() as scratch:
        files = {program.name: stripped(program, stamp, scratch) for program in programs}
    files.update(docs)
    key_file.unlink(missing_ok=True)
    for old in out.glob("Pelidore-*-win64.zip"):
        old.unlink()
    write_zip(zip_path, f"Pelidore-{version}", files, stamp)
    digest = hashlib.sha256(zip_path.read_bytes()).hexdigest()
    sums.write_text(f"{digest}  {zip_path.name}\n")
    key_file.write_text(key + "\n")
    return zip_path, True


def main():
    parser = argparse.ArgumentParser(description="Makes the Windows zip and its checksum.")
    parser.add_argument("--build", required=True, help="the built Windows tree")
    parser.add_argument("--out", required=True, help="where the zip and SHA256SUMS go")
    parser.add_argument("--force", action="store_true", help="make the zip even when nothing changed")
    args = parser.parse_args()
    try:
        zip_path, made = package(args.build, args.out, args.force)
    except (PackageError, third_party_notices.NoticeError) as error:
        print(f"package: {error}", file=sys.stderr)
        return 1
    state = "written" if made else "up to date"
    print(f"{zip_path} ({zip_path.stat().st_size} bytes) {state}")
    return 0


if __name__ == "__main__":
    sys.exit(main())
