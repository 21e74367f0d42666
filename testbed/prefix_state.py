"""What an installer run leaves in the Wine prefix, read and cleared for the
demo and the install tests: the product's uninstall entry and folder, the
hand-off file config.ini and the package cache beside it, the SDK cache.

Every function runs Wine tools, so it must run inside tests/harness/in-netns.
"""

import os
import re
import shutil
import subprocess
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tests", "harness"))
import wintest  # noqa: E402

UNINSTALL_KEY = (r"HKLM\SOFTWARE\Microsoft\Windows\CurrentVersion\Uninstall"
                 r"\{5B0E7C31-42AF-4D96-8E1B-C2A7D0F49E63}_is1")
CACHE_ROOT = ("users", "root", "AppData", "Roaming", "OrvanePkg")
PRODUCT_CACHE = CACHE_ROOT + ("TESSARO",)
CONFIG = PRODUCT_CACHE + ("config.ini",)
SDK_FOLDER = CACHE_ROOT + ("Vexa",)


def unix_path(windows_path):
    """The Linux path of a C: path of the prefix."""
    match = re.match(r"^[Cc]:\\?(.*)$", windows_path)
    if not match:
        raise ValueError(f"not a path on C: {windows_path!r}")
    parts = [part for part in match.group(1).split("\\") if part]
    return wintest.drive_c(*parts)


def product_record():
    """The text values of the product's uninstall entry, or None without one.
    Read through an export, which keeps every character."""
    export = os.path.join(wintest.BUILD_DIR, f"product-record-{os.getpid()}.reg")
    try:
        done = subprocess.run(["wine", "reg", "export", UNINSTALL_KEY, wintest.windows_path(export), "/y"],
                              capture_output=True, timeout=120)
        if done.returncode != 0 or not os.path.exists(export):
            return None
        with open(export, encoding="utf-16") as f:
            lines = f.read().splitlines()
    finally:
        if os.path.exists(export):
            os.remove(export)
    values = {}
    for line in lines:
        match = re.match(r'^"((?:[^"\\]|\\.)*)"="((?:[^"\\]|\\.)*)"$', line)
        if match:
            values[re.sub(r"\\(.)", r"\1", match.group(1))] = re.sub(r"\\(.)", r"\1", match.group(2))
    return values


def remove_product():
    """Removes the uninstall entry and the folder it names, as an uninstall would."""
    record = product_record()
    subprocess.run(["wine", "reg", "delete", UNINSTALL_KEY, "/f"], capture_output=True, timeout=120)
    location = (record or {}).get("InstallLocation")
    if location:
        remove_tree(unix_path(location))


def remove_tree(path):
    shutil.rmtree(path, ignore_errors=True)


def read_config():
    """config.ini's section General as {key: value}; {} without the file."""
    path = wintest.drive_c(*CONFIG)
    if not os.path.exists(path):
        return {}
    with open(path, "rb") as f:
        lines = f.read().decode("utf-8", "replace").replace("\r\n", "\n").split("\n")
    return dict(line.split("=", 1) for line in lines if "=" in line)


def clear_installer_cache(keep_package=False):
    """Forgets earlier runs: the SDK cache with any records still spooled
    there, and (unless keep_package) config.ini and the packages cached beside it."""
    remove_tree(wintest.drive_c(*SDK_FOLDER))
    if not keep_package:
        remove_tree(wintest.drive_c(*PRODUCT_CACHE))
