"""THIRD-PARTY-NOTICES.txt: the licences of everything linked into the
Windows programs, assembled from Debian's copyright files, never retyped.

The libraries cross-built by scripts/setup (snappy, giflib, libimagequant)
take debian/copyright from the very source packages they were built from;
zlib, the GCC runtime and the mingw-w64 runtime come with the installed
cross toolchain packages. Licence texts that those files only refer to
(/usr/share/common-licenses/...) are appended once each.
"""

import os
import re
import tarfile
from pathlib import Path

COMMON_LICENSES = Path("/usr/share/common-licenses")
LICENSE_REFERENCE = re.compile(r"/usr/share/common-licenses/([A-Za-z0-9+]+(?:-[0-9]+(?:\.[0-9]+)*)?)")

# (heading, where the text comes from: ("deb", package) or ("source", name))
COMPONENTS = [
    ("zlib (compression of the frame store)", ("deb", "libz-mingw-w64-dev")),
    ("snappy (compression of the frame store)", ("source", "snappy")),
    ("giflib (GIF writing)", ("source", "giflib")),
    ("libimagequant (colour reduction of the quality modes)", ("source", "libimagequant")),
    ("GCC runtime: libgcc, libstdc++ and libgomp, under the GCC Runtime Library Exception",
     ("deb", "gcc-mingw-w64-x86-64-posix")),
    ("mingw-w64 runtime and winpthreads", ("deb", "mingw-w64-x86-64-dev")),
]

INTRODUCTION = """\
Third-party software in Pelidore {version}

The programs of this folder are linked statically with the libraries
below. Each section reproduces the copyright and licence file of the Debian
package the library was taken from. Pelidore itself is licensed under the GNU General Public
License, version 3 or later: see the file LICENSE.
"""


class NoticeError(Exception):
    pass


def _deb_copyright(package):
    path = Path("/usr/share/doc") / package / "copyright"
    if not path.is_file():
        raise NoticeError(f"{path} is missing: is the Debian package {package} installed (scripts/setup)?")
    return path.read_text(encoding="utf-8"), f"Debian package {package}, {path}"


def _source_copyright(name, sources):
    tarballs = sorted(Path(sources).glob(f"{name}_*.debian.tar.xz"))
    if len(tarballs) != 1:
        raise NoticeError(f"expected one {name}_*.debian.tar.xz in {sources}, found {len(tarballs)} "
                          "(remove build/deps and run scripts/setup)")
    with tarfile.open(tarballs[0]) as tar:
        member = tar.extractfile("debian/copyright")
        if member is None:
            raise NoticeError(f"{tarballs[0]} holds no debian/copyright")
        text = member.read().decode("utf-8")
    return text, f"Debian source package {tarballs[0].name[:-len('.debian.tar.xz')]}, debian/copyright"


def _referenced_licenses(texts):
    """Every /usr/share/common-licenses file the texts name, in order of
    first mention, with the names it goes by (GPL, say, links to GPL-3)."""
    found = {}
    for text in texts:
        for name in LICENSE_REFERENCE.findall(text):
            path = COMMON_LICENSES / name
            if not path.exists():
                raise NoticeError(f"a copyright file refers to {path}, which does not exist")
            names = found.setdefault(Path(os.path.realpath(path)), [])
            if str(path) not in names:
                names.append(str(path))
    return found


def _same_text(a, b):
    return a.split() == b.split()


def _section(title, text):
    rule = "=" * 78
    return f"{rule}\n{title}\n{rule}\n\n{text.rstrip()}\n\n"


def assemble(version, sources, license_file):
    """The whole notices text, LF line ends."""
    parts = [INTRODUCTION.format(version=version), "\n"]
    texts = []
    for heading, (kind, name) in COMPONENTS:
        text, origin = _deb_copyright(name) if kind == "deb" else _source_copyright(name, sources)
        texts.append(text)
        parts.append(_section(f"{heading}\nFrom: {origin}", text))
    ours = Path(license_file).read_text(encoding="utf-8")
    for path, names in _referenced_licenses(texts).items():
        text = path.read_text(encoding="utf-8")
        if _same_text(text, ours):
            text = "The same text as the file LICENSE of this folder."
        parts.append(_section(" and ".join(names), text))
    return "".join(parts).rstrip() + "\n"
