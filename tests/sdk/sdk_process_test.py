"""The SDK components as the installer uses them: separate DLLs in a folder of
their own, loaded by path, driven from another process (vexa_driver.exe), with
the analytics collector of testbed/collector on a loopback port."""

import base64
import glob
import hashlib
import json
import os
import shutil
import socket
import struct
import subprocess
import sys
import tempfile
import time
import unittest
import uuid
import zipfile

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, "..", "harness"))
sys.path.insert(0, os.path.join(HERE, "..", "..", "testbed", "collector"))
import wintest  # noqa: E402
from collector_client import Collector, fields, free_port, properties  # noqa: E402

DRIVER = os.environ["TESSARO_VEXA_DRIVER"]
COMPONENTS = {
    "Vexa.dll": os.environ["TESSARO_VEXA_DLL"],
    "Vexa.exe": os.environ["TESSARO_VEXA_TOOL"],
    "Ostrel.dll": os.environ["TESSARO_OSTREL_DLL"],
    "NQUID.dll": os.environ["TESSARO_NQUID_DLL"],
}
ARCHIVE = os.environ["TESSARO_SDK_ARCHIVE"]
KEYS = os.environ["TESSARO_SDK_KEYS"]
SENSOR_PATH = "/sa?project=production"
# Test folders live on the prefix's drive C:, as the real SDK cache folder
# does (Wine gives modules loaded through \\?\unix paths relative names).
DRIVE_C = os.path.join(os.environ.get("WINEPREFIX", ""), "drive_c")
EVENT_PROPERTIES = [("count", "int", 7), ("flag", "bool", True), ("text", "string", "软件 ok"),
                    ("negative", "int", -5), ("off", "bool", False)]


def windows_path(path):
    """The C: path of a file on the prefix's drive C:."""
    return "C:\\" + os.path.relpath(path, DRIVE_C).replace("/", "\\")


class Run:
    """One finished program: exit code and its "key=value" lines."""

    def __init__(self, code, output):
        self.code = code
        self.output = output
        self.values = {}
        for line in output.splitlines():
            key, sep, value = line.partition("=")
            if sep:
                self.values.setdefault(key.strip(), value.strip())

    def __getitem__(self, key):
        return self.values[key]


class SdkProcessTest(unittest.TestCase):
    def setUp(self):
        self.work = tempfile.mkdtemp(prefix="tessaro-sdk-test-", dir=os.path.join(DRIVE_C, "windows", "temp"))
        self.sdk = os.path.join(self.work, "Vexa")
        os.makedirs(self.sdk)
        for name, built in COMPONENTS.items():
            shutil.copyfile(built, os.path.join(self.sdk, name))
        self.sdk_windows = windows_path(self.sdk) + "\\"
        self.store = os.path.join(self.work, "collector")

    def tearDown(self):
        shutil.rmtree(self.work, ignore_errors=True)

    # Running the programs.

    def run_program(self, exe, args, seconds=60, env=None):
        program = wintest.WineProgram(exe, [str(a) for a in args], env=env)
        try:
            code = program.wait(seconds)
            return Run(code, program.output())
        finally:
            program.kill()
            program.process.stdout.close()

    def driver(self, command, *args, **kwargs):
        return self.run_program(DRIVER, [command, self.sdk_windows, *args], **kwargs)

    def send(self, port, tag, wait_empty=0):
        run = self.driver("send", "--port", port, "--tag", tag, "--wait-empty", wait_empty)
        self.assertEqual(run.code, 0, run.output)
        return run

    def tool(self, *args):
        return self.run_program(os.path.join(self.sdk, "Vexa.exe"), args)

    def spooled(self):
        run = self.tool("spool")
        self.assertEqual(run.code, 0, run.output)
        return json.loads(run.output)

    # What the driver sends, as the collector gives it back.

    def assert_sent_by(self, records, tag):
        """The five records of one `send`, in commit order, with every value."""
        self.assertEqual([r["kind"] for r in records], [6, 6, 1, 2, 4])
        for record in records:
            self.assertEqual(record["app"], {"id": "52718340", "name": "win_installer"})
            self.assertRegex(record["mid"], "^[0-9a-f]{32}$")
        first, second, basic, action, state = records
        self.assertEqual((first["event"]["name"], first["event"]["seq"]), ("tFirst", 1000))
        self.assertEqual((second["event"]["name"], second["event"]["seq"]), ("tSecond", 1001))
        expected = EVENT_PROPERTIES + [("tag", "string", tag)]
        self.assertEqual(properties(first), expected)
        self.assertEqual(properties(second), expected)
        self.assertEqual(fields(basic), [(1, 42), (2, b"basic-" + tag.encode())])
        self.assertEqual(fields(action), [(10, b"0001"), (11, b"0002"), (12, b"\xff\xfe\x00raw")])
        self.assertEqual(fields(state), [(50, 4), (51, b"0001"), (52, b"0002"),
                                         (55, b"C:\\dumps\\" + tag.encode() + b".dmp")])

    # Tests.

    def test_events_and_records_arrive_in_order_with_every_value(self):
        with Collector(self.store) as collector:
            run = self.send(collector.port, "A", wait_empty=20)
            self.assertEqual(run["spool-before-free"], "0")
            records = collector.records()
        self.assert_sent_by(records, "A")
        self.assertEqual(len({r["id"] for r in records}), 5)
        self.assertLess(int(run["free-ms"]), 2500)
        self.assertEqual(self.spooled(), [])

    def test_records_wait_in_the_spool_while_the_collector_is_down(self):
        port = free_port()
        run = self.send(port, "B")
        self.assertEqual(run["spool-left"], "5")
        self.assertLess(int(run["free-ms"]), 3000, "vexaFree must not wait long for a collector that is down")
        self.assert_sent_by(self.spooled(), "B")

        with Collector(self.store, port=port) as collector:
            self.send(port, "C", wait_empty=20)
            records = collector.records()
        self.assertEqual(len(records), 10)
        self.assert_sent_by(records[:5], "B")
        self.assert_sent_by(records[5:], "C")

    def test_vexa_free_gives_up_on_a_collector_that_never_answers(self):
        # Connections complete in the listen queue, but no reply ever comes.
        with socket.socket(socket.AF_INET, socket.SOCK_STREAM) as silent:
            silent.bind(("127.0.0.1", 0))
            silent.listen(16)
            run = self.send(silent.getsockname()[1], "G")
        self.assertLess(int(run["free-ms"]), 3000)
        self.assertEqual(run["spool-left"], "5")
        self.assert_sent_by(self.spooled(), "G")

    def test_a_failing_collector_gets_the_records_after_back_off(self):
        with Collector(self.store, fail_seconds=3) as collector:
            run = self.send(collector.port, "D", wait_empty=40)
            self.assertEqual(run["spool-before-free"], "0")
            records = collector.records()
            stats = collector.stats()
        self.assert_sent_by(records, "D")
        self.assertGreaterEqual(stats["failed"], 1)

    def test_vexa_exe_uploads_the_spool_on_demand(self):
        port = free_port()
        self.send(port, "E")
        flush = ["flush", "--host", "127.0.0.1", "--port", port, "--path", SENSOR_PATH]
        self.assertEqual(self.tool(*flush).code, 1, "nobody listens yet")
        self.assertEqual(len(self.spooled()), 5)
        with Collector(self.store, port=port) as collector:
            run = self.tool(*flush)
            self.assertEqual(run.code, 0, run.output)
            records = collector.records()
        self.assert_sent_by(records, "E")
        self.assertEqual(self.spooled(), [])
        self.assertEqual(self.tool("flush", "--host", "127.0.0.1").code, 2)

    def test_a_crash_writes_a_dump_calls_back_and_is_reported_on_the_next_run(self):
        port = free_port()
        marker = os.path.join(self.work, "crash-marker.txt")
        run = self.driver("crash", "--port", port, "--marker", windows_path(marker))
        self.assertNotEqual(run.code, 0, run.output)
        self.assertTrue(os.path.exists(marker), "the crash callback did not run: " + run.output)
        with open(marker, encoding="utf-8") as text:
            dump_path = text.read()
        self.assertTrue(dump_path.startswith(self.sdk_windows + "spool\\crash-"), dump_path)
        self.assertTrue(dump_path.endswith(".dmp"), dump_path)
        dumps = glob.glob(os.path.join(self.sdk, "spool", "crash-*.dmp"))
        self.assertEqual([os.path.basename(d) for d in dumps], [dump_path.rsplit("\\", 1)[1]])
        with open(dumps[0], "rb") as dump:
            self.assertEqual(dump.read(4), b"MDMP")

        # The callback's own record survived the crash and goes out next time.
        with Collector(self.store, port=port) as collector:
            self.send(port, "F", wait_empty=20)
            records = collector.records()
        self.assertEqual(fields(records[0]), [(50, 1), (55, dump_path.encode())])
        self.assert_sent_by(records[1:], "F")

    def test_sealed_data_round_trips_and_opens_with_standard_tools(self):
        port = free_port()
        data = bytes(range(256)) * 3 + b"end"
        sealed = bytes.fromhex(self.driver("seal", "--port", port, "--hex", data.hex())["sealed"])
        self.assertEqual(self.driver("unseal", "--port", port, "--hex", sealed.hex())["data"], data.hex())
        self.assertEqual(open_envelope(sealed), (7, "/v1.1", data))

        outside = make_envelope(b"sealed elsewhere", 9, "/v2")
        self.assertEqual(self.driver("unseal", "--port", port, "--hex", outside.hex())["data"],
                         b"sealed elsewhere".hex())
        damaged = bytearray(sealed)
        damaged[-5] ^= 1
        self.assertEqual(self.driver("unseal", "--port", port, "--hex", bytes(damaged).hex())["data"], "failed")

    def test_machine_and_user_ids_are_stable(self):
        first, second = self.driver("ids"), self.driver("ids")
        self.assertEqual(first.code, 0, first.output)
        self.assertRegex(first["mid"], "^[0-9a-f]{32}$")
        self.assertEqual(first["midex1"], first["mid"])
        self.assertRegex(first["midex2"], "^[0-9a-f]{32}$")
        self.assertNotEqual(first["midex2"], first["mid"])
        self.assertEqual(first["nquid-result"], "0")
        self.assertTrue(0 < len(first["nquid"]) <= 32, first["nquid"])
        for key in ("mid", "midex1", "midex2", "nquid"):
            self.assertEqual(first[key], second[key], key)

    def test_urls_open_through_the_launcher_and_vexa(self):
        # The prefix's browser is a recorder that appends each URL to this log.
        # The desktop shell may be the one that opens it, so the log is the
        # harness's own, and the URL unique.
        log = os.environ["TESSARO_URL_LOG"]
        url = f"http://127.0.0.1:9/sdk-test/{uuid.uuid4().hex}?x=1"
        run = self.driver("launch", "--url", url)
        self.assertEqual(run.code, 0, run.output)
        self.assertGreater(int(run["shell"]), 32)

        def logged():
            if not os.path.exists(log):
                return False
            with open(log, encoding="utf-8") as opened:
                lines = opened.read().split()
            return url in lines and url + "&via=vexa" in lines

        wintest.wait_until(logged, 30, "the URLs did not reach the browser")

    def test_null_and_refused_arguments_give_failure_values(self):
        run = self.driver("nulls")
        self.assertEqual(run.code, 0, run.output)
        self.assertEqual(run["failures"], "0")

    def test_every_export_has_its_plain_name(self):
        expected = {
            "Vexa.dll": VEXA_EXPORTS,
            "Ostrel.dll": ["ShellExecAsUser"],
            "NQUID.dll": ["GetNQUID"],
        }
        for name, exports in expected.items():
            self.assertEqual(export_names(COMPONENTS[name]), sorted(exports), name)

    def test_the_archive_holds_exactly_the_three_shipped_files(self):
        with zipfile.ZipFile(ARCHIVE) as archive:
            self.assertEqual(sorted(archive.namelist()), ["Ostrel.dll", "Vexa.dll", "Vexa.exe"])
            for name in archive.namelist():
                with open(COMPONENTS[name], "rb") as built:
                    self.assertEqual(archive.read(name), built.read(), name)


VEXA_EXPORTS = [
    "vexaCreate", "vexaFree", "vexaSetApplyKey", "vexaSetAppInfo", "vexaSetMidVersion", "vexaSetHostInfo",
    "vexaSetSensorUrl", "vexaSetPubCertificate", "vexaSetPriCcertificate", "vexaEnableSandbox",
    "vexaSetNetProtocol", "vexaSetURLVersion", "vexaEnableCrashReport", "vexaCLTCreate", "vexaCLTWriteInt",
    "vexaCLTWriteData", "vexaCLTSensorWriteEvent", "vexaCLTSensorWriteIntProperties",
    "vexaCLTSensorWriteBoolProperties", "vexaCLTSensorWriteStringProperties", "vexaCLTCommit", "vexaCLTFree",
    "vexaMid", "vexaMidEx", "vexaOpenUrl", "vexaBuildHttpData", "vexaDecryptData", "vexaDataFree"]


def export_names(dll):
    """The names in a DLL's export table, sorted."""
    dump = subprocess.run(["i686-w64-mingw32-objdump", "-p", dll], capture_output=True, text=True,
                          check=True).stdout
    table = dump.split("[Ordinal/Name Pointer] Table", 1)[1]
    names = []
    for line in table.splitlines()[1:]:
        if not line.strip():
            break
        names.append(line.split("]", 1)[1].strip())
    return sorted(names)


# The envelope of vexaBuildHttpData, opened and made with openssl alone.

def key_file(folder, name, pem_kind):
    with open(os.path.join(KEYS, name), encoding="ascii") as text:
        der = base64.b64decode(text.read().strip())
    path = os.path.join(folder, name + ".pem")
    body = base64.encodebytes(der).decode("ascii")
    with open(path, "w", encoding="ascii") as pem:
        pem.write(f"-----BEGIN {pem_kind}-----\n{body}-----END {pem_kind}-----\n")
    return path


def openssl(*args, data):
    return subprocess.run(["openssl", *args], input=data, capture_output=True, check=True).stdout


def open_envelope(sealed):
    """(selector, version, data) of an envelope; checks its digest."""
    assert sealed[:4] == b"VXS1"
    selector, version_length = struct.unpack_from("<IH", sealed, 4)
    at = 10 + version_length
    version = sealed[10:at].decode()
    (wrapped_length,) = struct.unpack_from("<H", sealed, at)
    wrapped = sealed[at + 2:at + 2 + wrapped_length]
    at += 2 + wrapped_length
    iv = sealed[at:at + 16]
    head_length = at + 16
    with tempfile.TemporaryDirectory() as folder:
        private = key_file(folder, "dev_sdk_private_key.b64", "RSA PRIVATE KEY")
        key = openssl("pkeyutl", "-decrypt", "-inkey", private, "-pkeyopt", "rsa_padding_mode:pkcs1", data=wrapped)
    plain = openssl("enc", "-d", "-aes-256-cbc", "-K", key.hex(), "-iv", iv.hex(), data=sealed[head_length:])
    data, digest = plain[:-32], plain[-32:]
    assert hashlib.sha256(sealed[:head_length] + data).digest() == digest, "digest mismatch"
    return selector, version, data


def make_envelope(data, selector, version):
    key, iv = os.urandom(32), os.urandom(16)
    with tempfile.TemporaryDirectory() as folder:
        public = key_file(folder, "dev_sdk_public_key.b64", "PUBLIC KEY")
        wrapped = openssl("pkeyutl", "-encrypt", "-pubin", "-inkey", public, "-pkeyopt", "rsa_padding_mode:pkcs1",
                          data=key)
    head = b"VXS1" + struct.pack("<IH", selector, len(version)) + version.encode()
    head += struct.pack("<H", len(wrapped)) + wrapped + iv
    digest = hashlib.sha256(head + data).digest()
    return head + openssl("enc", "-aes-256-cbc", "-K", key.hex(), "-iv", iv.hex(), data=data + digest)


if __name__ == "__main__":
    unittest.main()
