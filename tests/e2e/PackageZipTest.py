#!/usr/bin/env python3
"""The Windows download as a user gets it:

    PackageZipTest.py --build BUILD_DIR --work WORK_DIR

makes the zip from the Windows tree BUILD_DIR into WORK_DIR/dist with
scripts/lib/package.py (left alone when nothing changed), checks it, and
unpacks it under WORK_DIR/unpacked into a folder whose name has spaces and
characters outside ASCII. PackageEndToEndTest then runs the unpacked
programs under Wine.
"""

import argparse
import hashlib
import shutil
import subprocess
import sys
import tempfile
import unittest
import zipfile
from pathlib import Path

ROOT = Path(__file__).resolve().parents[2]
sys.path.insert(0, str(ROOT / "scripts/lib"))
import package  # noqa: E402

UNPACK_FOLDER = "Downloads \u00dcbung \u9332\u753b \u03a9\u03bc\u03ad\u03b3\u03b1"
PROGRAMS = ["Pelidore.exe", "pelidore-convert.exe", "pelictl.exe"]
DOCUMENTS = ["README.txt", "LICENSE", "THIRD-PARTY-NOTICES.txt"]
OBJDUMP = "x86_64-w64-mingw32-objdump"
# DLLs every Windows since 7 has in System32; anything else would have to
# travel with the programs.
SYSTEM_DLLS = {
    "advapi32.dll", "comctl32.dll", "comdlg32.dll", "gdi32.dll", "gdiplus.dll", "imm32.dll", "kernel32.dll", "msvcrt.dll",
    "ole32.dll", "oleaut32.dll", "shell32.dll", "shlwapi.dll", "user32.dll", "uxtheme.dll", "version.dll",
    "winmm.dll", "ws2_32.dll",
}

BUILD = WORK = None


def imported_dlls(program_bytes):
    with tempfile.NamedTemporaryFile(suffix=".exe") as exe:
        exe.write(program_bytes)
        exe.flush()
        dump = subprocess.run([OBJDUMP, "-p", exe.name], capture_output=True, text=True, check=True).stdout
    return {line.split("DLL Name:")[1].strip() for line in dump.splitlines() if "DLL Name:" in line}


def pe_time_stamp(program_bytes):
    header = int.from_bytes(program_bytes[0x3C:0x40], "little")
    assert program_bytes[header:header + 4] == b"PE\0\0"
    return int.from_bytes(program_bytes[header + 8:header + 12], "little")


class PackageZip(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.zip_path, _ = package.package(BUILD, WORK / "dist")
        cls.version, _ = package.read_contents(BUILD)
        cls.folder = f"Pelidore-{cls.version}/"
        with zipfile.ZipFile(cls.zip_path) as archive:
            cls.names = archive.namelist()
            cls.files = {name[len(cls.folder):]: archive.read(name) for name in cls.names if name != cls.folder}

    def test_one_versioned_folder_holds_the_programs_and_the_documents(self):
        self.assertEqual(self.zip_path.name, f"Pelidore-{self.version}-win64.zip")
        self.assertEqual(self.names, [self.folder] + [self.folder + name for name in PROGRAMS + DOCUMENTS])
        for name in DOCUMENTS:
            text = self.files[name]
            self.assertEqual(text.count(b"\n"), text.count(b"\r\n"), f"{name} has bare LF line ends")
        self.assertIn(f"Pelidore {self.version}".encode(), self.files["README.txt"])
        self.assertIn(b"GNU GENERAL PUBLIC LICENSE", self.files["LICENSE"])

    def test_checksum_file_names_the_zip_and_its_sha256(self):
        digest = hashlib.sha256(self.zip_path.read_bytes()).hexdigest()
        sums = (self.zip_path.parent / "SHA256SUMS").read_text()
        self.assertEqual(sums, f"{digest}  {self.zip_path.name}\n")

    def test_a_second_run_gives_the_same_bytes(self):
        again, made = package.package(BUILD, WORK / "dist-again", force=True)
        self.assertTrue(made)
        self.assertEqual(again.read_bytes(), self.zip_path.read_bytes())

    def test_programs_import_only_system_dlls(self):
        for name in PROGRAMS:
            foreign = {dll for dll in imported_dlls(self.files[name]) if dll.lower() not in SYSTEM_DLLS}
            self.assertEqual(foreign, set(), f"{name} needs DLLs that Windows does not have")

    def test_programs_hold_no_build_folder_and_the_commits_time(self):
        stamp = package.source_time()
        for name in PROGRAMS:
            data = self.files[name]
            for folder in {str(ROOT), str(Path(BUILD).resolve())}:
                self.assertNotIn(folder.encode(), data, f"{name} names {folder}")
            self.assertEqual(pe_time_stamp(data), stamp, name)

    def test_about_window_shows_the_zips_version(self):
        # The About window draws this text from the program's own constant.
        line = f"Version {self.version}\n".encode("utf-16-le")
        self.assertIn(line, self.files["Pelidore.exe"])

    def test_notices_hold_the_licence_of_every_linked_library(self):
        notices = self.files["THIRD-PARTY-NOTICES.txt"].decode("utf-8")
        for library in ["zlib", "snappy", "giflib", "libimagequant", "libgomp", "winpthreads", "mingw-w64 runtime"]:
            self.assertRegex(notices, rf"(?m)^[^\n]*{library}[^\n]*\r\nFrom: ", library)
        self.assertIn("GCC RUNTIME LIBRARY EXCEPTION", notices)
        self.assertIn("GNU LESSER GENERAL PUBLIC LICENSE", notices)


def unpack(zip_path):
    """Into WORK/unpacked/<a name with spaces and non-ASCII letters>/."""
    target = WORK / "unpacked"
    shutil.rmtree(target, ignore_errors=True)
    with zipfile.ZipFile(zip_path) as archive:
        archive.extractall(target / UNPACK_FOLDER)


def main():
    global BUILD, WORK
    parser = argparse.ArgumentParser()
    parser.add_argument("--build", required=True)
    parser.add_argument("--work", required=True)
    args, rest = parser.parse_known_args()
    BUILD, WORK = Path(args.build), Path(args.work)
    result = unittest.main(argv=[sys.argv[0], "-v", *rest], exit=False).result
    if not result.wasSuccessful():
        return 1
    unpack(PackageZip.zip_path)
    return 0


if __name__ == "__main__":
    sys.exit(main())
