"""What the release tests share: where the trees are, running our scripts, offline Authenticode
verification, and damaging a signed program on purpose."""
import os
import struct
import subprocess

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
NATIVE = os.path.join(ROOT, os.environ.get("QUARN_NATIVE", "build"))
# The Windows trees to sign programs of; the first is the product's, the one a release takes.
WINDOWS_TREES = [os.path.join(ROOT, tree) for tree in os.environ.get("QUARN_WINDOWS_TREES", "build-win build-win64").split()]
PROGRAMS = ["setup.exe", "quarnpak.exe", "mysqld-nt.exe", "tomcat5-service.exe"]


def script(name):
    return os.path.join(ROOT, "scripts", name)


def run(command, env=None):
    """Runs a command with the environment's signing variables cleared, plus env."""
    environment = {k: v for k, v in os.environ.items() if not k.startswith(("QUARN_SIGN_", "QUARN_TIMESTAMP",
                                                                             "QUARN_UNSIGNED", "QUARN_RELEASE",
                                                                             "QUARN_NO_TIMESTAMP"))}
    environment.update(env or {})
    return subprocess.run(command, cwd=ROOT, env=environment, capture_output=True, text=True)


def _osslsigncode_knows(option):
    shown = subprocess.run(["osslsigncode", "-h"], capture_output=True, text=True)
    return option in shown.stdout + shown.stderr


# osslsigncode 2.8 and later fetch the CRLs a certificate names unless told not to; Debian 12's
# 2.5 fetches none and knows no such option. Our certificates name none either way.
OFFLINE = ["-ignore-cdp"] if _osslsigncode_knows("-ignore-cdp") else []


def verify(path, pki, timestamped=True):
    """osslsigncode's verdict on a signed program against the throwaway authority alone."""
    command = ["osslsigncode", "verify", "-CAfile", pki.path("ca.crt")] + OFFLINE
    if timestamped:
        command += ["-TSA-CAfile", pki.path("ca.crt")]
    result = subprocess.run(command + ["-in", path], capture_output=True, text=True)
    return result.returncode == 0, result.stdout + result.stderr


def signature_span(path):
    """Offset and size of the signature in a PE file (the certificate table of its data directory)."""
    with open(path, "rb") as f:
        data = f.read(4096)
    header = struct.unpack_from("<I", data, 0x3C)[0]
    optional = header + 24
    magic = struct.unpack_from("<H", data, optional)[0]
    directories = optional + (96 if magic == 0x10B else 112)
    return struct.unpack_from("<II", data, directories + 4 * 8)


def machine(path):
    """The PE file's machine field: 0x14C for a 32-bit x86 program, 0x8664 for x86-64."""
    with open(path, "rb") as f:
        data = f.read(4096)
    return struct.unpack_from("<H", data, struct.unpack_from("<I", data, 0x3C)[0] + 4)[0]


def flip_byte(path, offset):
    with open(path, "r+b") as f:
        f.seek(offset)
        byte = f.read(1)
        f.seek(offset)
        f.write(bytes([byte[0] ^ 0xFF]))


def read(path):
    with open(path, "rb") as f:
        return f.read()
