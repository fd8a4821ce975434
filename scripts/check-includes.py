#!/usr/bin/env python3
"""Fails when a source file includes against the dependency direction, or includes a toolkit or
operating-system header outside the folder that owns it.

Project headers are included by their path from the source root ("audio/player.h"); a file may
include its own folder and whatever its folder depends on, directly or through another folder.
Tests may include any project header: they drive every layer. Every source folder outside the
build trees must be listed in DEPENDS_ON, so a new folder is placed in the layering on purpose.

Angle-bracket headers: the C++ standard library (<vector>, <cstdio>) and, in tests, GoogleTest
are allowed everywhere; every other header must match a row of FOREIGN_HEADERS naming the
folders that may include it, so a new system header is a decision written down here.
"""
import pathlib
import re
import sys

# Each folder and the folders it depends on directly. Program layers point one way:
# app -> settings, schedule -> audio -> platform (settings reads the subject list of schedule);
# the day's record (record/) sits beside audio, below the schedule that writes it.
# The backends see the seam (platform/*.h), the POSIX parts they share, and the JPEG decoder; the
# Qt backend plays through the ALSA wave-out, which needs no toolkit.
DEPENDS_ON = {
    "app": {"settings", "schedule", "assets"},
    "settings": {"schedule", "platform"},
    "schedule": {"audio", "record"},
    "record": {"platform"},
    "audio": {"platform"},
    "platform": set(),
    "platform/posix": {"platform"},
    "platform/sim": {"platform", "platform/posix"},
    "platform/alsa": {"platform"},
    "platform/qt": {"platform", "platform/posix", "platform/alsa", "platform/jpeg"},
    "platform/win32": {"platform", "platform/jpeg"},
    "platform/jpeg": set(),
    "assets": set(),
    # The sound check picks the real device's backend, as the program's main picks its platform.
    "tools/voicecheck": {"schedule", "platform/sim", "platform/alsa", "platform/win32"},
    "bench": {"audio", "platform/sim"},
    "tests": {"*"},
    "fuzz": {"*"},              # fuzz targets drive every layer, as tests do
    "packaging/linux": set(),   # the portable build's stand-ins for newer C library symbols
}

# Toolkit, OS and library headers (regular expressions) and the folders that may include them.
WINDOWS = {"platform/win32", "tests/win32"}
QT = {"platform/qt", "tests/desktop"}
ALSA = {"platform/alsa", "tests/desktop"}
# The benchmarks run on Linux only, where they count the process's wake-ups (getrusage).
POSIX = {"platform/posix", "platform/qt", "platform/alsa", "tests", "fuzz", "packaging/linux", "bench"}
FOREIGN_HEADERS = [
    (r"Q[A-Za-z]*(/.*)?", QT),                            # Qt: <QWidget>, <QtCore/QObject>
    (r"alsa/.*", ALSA),                                   # the ALSA wave-out device
    (r"xcb/.*", QT),                                      # X11 events Qt does not translate
    (r"dbus/.*", QT),                                     # D-Bus: the logind inhibitor
    (r"windows|mmsystem|objbase|shellapi|commctrl|winnls|shlobj", WINDOWS),
    (r"unistd|fcntl|poll|iconv|pthread|signal|dlfcn|sys/.*", POSIX),
    (r"jpeglib", {"platform/jpeg"}),                      # the picture's decoder
    (r"mpg123", {"audio", "bench"}),                      # the audio engine's decoder library
    (r"gtest/.*|gmock/.*", {"tests"}),
    (r"errno|stdint", {"packaging/linux"}),               # C headers of the one C source
]

SOURCE_SUFFIXES = {".h", ".hpp", ".c", ".cc", ".cpp", ".in"}
INCLUDE = re.compile(r'^\s*#\s*include\s*([<"])([^>"]+)[>"]')
STANDARD_LIBRARY = re.compile(r"[a-z_]+")  # <vector>, <cstdint>, <string_view>


def folder_of(path):
    """The longest folder of DEPENDS_ON holding the path."""
    parts = pathlib.PurePosixPath(path).parts[:-1]
    for length in range(len(parts), 0, -1):
        candidate = "/".join(parts[:length])
        if candidate in DEPENDS_ON:
            return candidate
    return None


def reachable(folder):
    """The folder itself and every folder it depends on, directly or not."""
    seen, todo = set(), [folder]
    while todo:
        current = todo.pop()
        if current not in seen:
            seen.add(current)
            todo.extend(DEPENDS_ON.get(current, ()))
    return seen


def within(folder, allowed):
    return any(folder == root or folder.startswith(root + "/") for root in allowed)


def check_project_include(folder, header):
    if "/" not in header:
        return None  # beside the including file, or generated for it (moc)
    target = folder_of(header)
    if target is None:
        return f'"{header}" lies in no folder known to scripts/check-includes.py'
    allowed = reachable(folder)
    if "*" in allowed or target in allowed:
        return None
    return f'"{header}": {folder}/ must not depend on {target}/'


def check_foreign_include(directory, header):
    name = header.removesuffix(".h")
    if STANDARD_LIBRARY.fullmatch(header):
        return None
    for pattern, owners in FOREIGN_HEADERS:
        if re.fullmatch(pattern, name):
            if within(directory, owners):
                return None
            return f"<{header}> belongs in " + " or ".join(f"{owner}/" for owner in sorted(owners))
    return f"<{header}> is not listed in scripts/check-includes.py"


def problems_in(root, path):
    relative = path.relative_to(root).as_posix()
    folder = folder_of(relative)
    if folder is None:
        return [f"{relative}: a source folder unknown to scripts/check-includes.py"]
    found = []
    for number, line in enumerate(path.read_text(encoding="utf-8").splitlines(), 1):
        match = INCLUDE.match(line)
        if not match:
            continue
        header = match.group(2)
        if match.group(1) == '"':
            problem = check_project_include(folder, header)
        else:
            problem = check_foreign_include(path.parent.relative_to(root).as_posix(), header)
        if problem:
            found.append(f"{relative}:{number}: {problem}")
    return found


def source_files(root):
    """Every source file of the tree, outside the build trees and hidden folders."""
    for top in sorted(root.iterdir()):
        if top.is_dir() and not top.name.startswith(("build", ".")):
            sources = (path for path in top.rglob("*") if path.suffix in SOURCE_SUFFIXES and path.is_file())
            yield from sorted(sources)


def main():
    root = pathlib.Path(__file__).resolve().parent.parent
    problems = []
    for path in source_files(root):
        problems += problems_in(root, path)
    for problem in problems:
        print(problem, file=sys.stderr)
    if problems:
        print(f"check-includes: {len(problems)} include(s) against the layering", file=sys.stderr)
        return 1
    print("check-includes: every include follows the layering")
    return 0


if __name__ == "__main__":
    sys.exit(main())
