"""scripts/make-dist with a throwaway key: the release's files, its signatures, its winget
manifest against winget's rules (and the checker against broken manifests), and a release that
is refused or fails leaving the previous one in place."""
import glob
import os
import re
import shutil
import struct
import subprocess
import tempfile
import unittest
import zipfile

import yaml

from release_tools import NATIVE, ROOT, WINDOWS_TREES, flip_byte, machine, read, run, script, signature_span, verify
from throwaway_pki import PASSWORD, LocalTimestampServer, ThrowawayPki

RELEASE_URL = "https://downloads.quarn.test/releases"


def header_text(relative, name):
    with open(os.path.join(ROOT, relative), encoding="utf-8") as f:
        return re.search(r'\b%s\s*=\s*"([^"]*)"' % name, f.read()).group(1)


def msi_table(msi, table):
    """A table of an MSI by its first column: the value of a two-column table, else the other columns."""
    rows = subprocess.run(["msiinfo", "export", msi, table], capture_output=True, text=True, check=True).stdout
    found = {}
    for row in rows.replace("\r", "").split("\n")[3:]:
        if row:
            fields = row.split("\t")
            found[fields[0]] = fields[1] if len(fields) == 2 else fields[1:]
    return found


class Release(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.pki = ThrowawayPki()
        cls.tsa = LocalTimestampServer(cls.pki)
        cls.work = tempfile.mkdtemp(prefix="quarn-dist.")
        cls.dist = os.path.join(cls.work, "dist")
        made = run([script("make-dist"), NATIVE, WINDOWS_TREES[0], cls.dist], env=cls.keys(cls))
        if made.returncode != 0:
            raise AssertionError("make-dist failed:\n" + made.stdout + made.stderr)
        cls.zip = glob.glob(os.path.join(cls.dist, "*.zip"))[0]
        cls.msi = glob.glob(os.path.join(cls.dist, "*.msi"))[0]
        cls.manifest = glob.glob(os.path.join(cls.dist, "winget", "manifests", "*", "*", "*", "*"))[0]

    @classmethod
    def tearDownClass(cls):
        shutil.rmtree(cls.work)
        cls.tsa.close()
        cls.pki.cleanup()

    def keys(self, **more):
        return dict({"QUARN_SIGN_PFX": self.pki.path("code.pfx"), "QUARN_SIGN_PASS": PASSWORD,
                     "QUARN_TIMESTAMP_URL": self.tsa.url, "QUARN_RELEASE_URL": RELEASE_URL,
                     "QUARN_PAK_KEY": os.path.join(ROOT, "tests/native/data/maker-test-key.pem")}, **more)

    def installer_manifest(self):
        with open(glob.glob(os.path.join(self.manifest, "*.installer.yaml"))[0], encoding="utf-8") as f:
            return yaml.safe_load(f)

    def test_release_holds_setup_its_package_their_zip_and_checksums(self):
        single = os.path.basename(self.zip)[:-len(".zip")] + ".exe"
        self.assertEqual(sorted(os.listdir(self.dist)),
                         sorted(["SHA256SUMS", "Setup.pak", "setup.exe", "winget", os.path.basename(self.zip), single,
                                 os.path.basename(self.msi)]))
        self.assertRegex(os.path.basename(self.zip), r"^quarn-setup-[^/]+\.zip$")
        self.assertNotIn("unsigned", self.zip)
        sums = subprocess.run(["sha256sum", "--check", "--strict", "SHA256SUMS"], cwd=self.dist, capture_output=True,
                              text=True)
        self.assertEqual(sums.returncode, 0, sums.stdout + sums.stderr)
        self.assertEqual(len(sums.stdout.splitlines()), 5)
        with zipfile.ZipFile(self.zip) as z:
            self.assertEqual(sorted(z.namelist()), ["Setup.pak", "setup.exe"])
            for name in z.namelist():
                self.assertTrue(z.read(name) == read(os.path.join(self.dist, name)), name + " differs in the zip")

    def test_the_package_is_signed_by_the_makers_key(self):
        quarnpak = os.path.join(NATIVE, "bin", "quarnpak")
        data = os.path.join(ROOT, "tests/native/data")
        package = os.path.join(self.dist, "Setup.pak")
        taken = run([quarnpak, "verify", package, "--key", os.path.join(data, "maker-test.pub")])
        self.assertEqual(taken.returncode, 0, taken.stdout + taken.stderr)
        refused = run([quarnpak, "verify", package, "--key", os.path.join(data, "other-test.pub")])
        self.assertEqual(refused.returncode, 1, refused.stdout + refused.stderr)

    def test_setup_and_the_standins_in_its_package_are_signed_and_timestamped(self):
        setup = os.path.join(self.dist, "setup.exe")
        self.assertEqual(machine(setup), 0x14C, "the release's setup.exe is the 32-bit program")
        ok, report = verify(setup, self.pki)
        self.assertTrue(ok, report)
        self.assertIn("Timestamp Server Signature verification: ok", report)
        unpacked = os.path.join(self.work, "unpacked")
        extracted = subprocess.run([os.path.join(NATIVE, "bin", "quarnpak"), "extract",
                                    os.path.join(self.dist, "Setup.pak"), unpacked], capture_output=True, text=True)
        self.assertEqual(extracted.returncode, 0, extracted.stderr)
        for standin in ("MySQL5/bin/mysqld-nt.exe", "tomcat5/bin/tomcat5-service.exe"):
            ok, report = verify(os.path.join(unpacked, standin), self.pki)
            self.assertTrue(ok, standin + "\n" + report)

    def test_the_single_file_is_setup_carrying_the_package_under_one_signature(self):
        single = self.zip[:-len(".zip")] + ".exe"
        ok, report = verify(single, self.pki)
        self.assertTrue(ok, report)
        self.assertIn("Timestamp Server Signature verification: ok", report)
        # Found as setup.exe finds it: the trailer right before the certificate table (after any
        # zeros a signer padded with) says where the package lies.
        data = read(single)
        table, _ = signature_span(single)
        end = table
        while data[end - 1] == 0:
            end -= 1
        offset, size, magic = struct.unpack_from("<QQ8s", data, end - 24)
        self.assertEqual(magic, b"QuarnPk1")
        self.assertEqual(offset + size, end - 24)
        self.assertTrue(data[offset:offset + size] == read(os.path.join(self.dist, "Setup.pak")),
                        "the package inside is the release's Setup.pak")
        # The signature covers the package: one byte changed in it and the file no longer verifies.
        damaged = os.path.join(self.work, "damaged-single.exe")
        shutil.copy(single, damaged)
        flip_byte(damaged, offset + size // 2)
        ok, report = verify(damaged, self.pki)
        self.assertFalse(ok, report)

    def test_the_msi_carries_the_signed_setup_and_package_and_is_signed_itself(self):
        self.assertEqual(os.path.basename(self.msi), os.path.basename(self.zip)[:-4] + ".msi")
        ok, report = verify(self.msi, self.pki)
        self.assertTrue(ok, report)
        self.assertIn("Timestamp Server Signature verification: ok", report)
        unpacked = os.path.join(self.work, "msi")
        extracted = subprocess.run(["msiextract", "-C", unpacked, self.msi], capture_output=True, text=True)
        self.assertEqual(extracted.returncode, 0, extracted.stderr)
        for name in ("setup.exe", "Setup.pak"):
            self.assertTrue(read(os.path.join(unpacked, "Program Files", "Quarn Setup", name)) ==
                            read(os.path.join(self.dist, name)), name + " differs in the MSI")
        properties = msi_table(self.msi, "Property")
        self.assertEqual((properties["ALLUSERS"], properties["ARPSYSTEMCOMPONENT"]), ("1", "1"))
        self.assertNotIn("INSTALLDIR", properties, "setup.exe's own default, or the recorded folder")
        self.assertIn("INSTALLDIR", properties["SecureCustomProperties"].split(";"), "taken from any command line")
        # Deferred, without impersonation (the system's account runs setup.exe), its exit code checked.
        actions = msi_table(self.msi, "CustomAction")
        self.assertEqual(actions["QuarnInstallInto"][:3],
                         ["3090", "SetupExe", '/S "/D=[INSTALLDIR]" "/LOG=[QUARNSETUPLOG]"'])
        self.assertEqual(actions["QuarnInstall"][:3], ["3090", "SetupExe", '/S "/LOG=[QUARNSETUPLOG]"'])
        self.assertEqual(actions["QuarnUninstall"][:2], ["3122", "QUARNUNINSTALLER"])
        sequence = msi_table(self.msi, "InstallExecuteSequence")
        # The older product goes once the newer one's script, setup.exe's run with it, is done.
        self.assertEqual((sequence["InstallExecute"][1], sequence["RemoveExistingProducts"][1]), ("6500", "6550"))

    def test_manifest_holds_to_winget_rules(self):
        checked = subprocess.run([script("check-winget-manifest"), self.manifest, self.zip], capture_output=True, text=True)
        self.assertEqual(checked.returncode, 0, checked.stdout + checked.stderr)
        # The header's schema type as the client matches it, case and all.
        headers = {"Quarn.Suite.yaml": "version", "Quarn.Suite.locale.zh-CN.yaml": "defaultLocale",
                   "Quarn.Suite.installer.yaml": "installer"}
        self.assertEqual(sorted(os.listdir(self.manifest)), sorted(headers))
        for name, kind in headers.items():
            with open(os.path.join(self.manifest, name), encoding="utf-8") as f:
                first_line, fields = f.readline(), yaml.safe_load(f)
            self.assertEqual(first_line, "# yaml-language-server: $schema=https://aka.ms/winget-manifest.%s.1.12.0"
                                         ".schema.json\n" % kind)
            self.assertEqual((fields["ManifestType"], fields["ManifestVersion"]), (kind, "1.12.0"))

    def test_manifest_speaks_for_this_setup(self):
        manifest = self.installer_manifest()
        installer = manifest["Installers"][0]
        self.assertEqual(installer["Architecture"], "x86")
        self.assertEqual(installer["InstallerUrl"], RELEASE_URL + "/" + os.path.basename(self.zip))
        info = subprocess.run([os.path.join(NATIVE, "bin", "quarnpak"), "info", os.path.join(self.dist, "Setup.pak")],
                              capture_output=True, text=True).stdout
        # The uninstall entry's DisplayVersion is the package's version.
        self.assertIn("version: %s\n" % manifest["PackageVersion"], info)
        self.assertEqual((manifest["InstallerType"], manifest["NestedInstallerType"], manifest["NestedInstallerFiles"]),
                         ("zip", "exe", [{"RelativeFilePath": "setup.exe"}]))
        switches = manifest["InstallerSwitches"]
        self.assertEqual((switches["Silent"], switches["SilentWithProgress"]), ("/S", "/S"))
        # setup.exe takes a folder or a path with blanks when the whole option is quoted.
        self.assertEqual((switches["InstallLocation"], switches["Log"]), ('"/D=<INSTALLPATH>"', '"/LOG=<LOGPATH>"'))
        with open(os.path.join(ROOT, "common/portable/ExitCode.h"), encoding="utf-8") as f:
            codes = {int(v) for v in re.findall(r"^\s*\w+\s*=\s*(\d+)\s*,", f.read(), re.M)}
        self.assertEqual({c["InstallerReturnCode"] for c in manifest["ExpectedReturnCodes"]}, codes - {0, 1})
        keys = "setup/win/InstallRecordKeys.h"
        self.assertEqual(manifest["AppsAndFeaturesEntries"], [{
            "DisplayName": header_text(keys, "kDisplayName"),
            "Publisher": header_text(keys, "kPublisher"),
            "ProductCode": header_text(keys, "kUninstallKey").split("\\")[-1],
        }])
        self.assertEqual(manifest["ProductCode"], "Quarn")

    def test_checker_finds_each_broken_rule(self):
        # (what breaks, file kind, change to its fields or None, change to its text, what the checker says)
        def drop(field):
            return lambda d: d.pop(field)

        def set_to(value, *path):
            def change(d):
                for step in path[:-1]:
                    d = d[step]
                d[path[-1]] = value
            return change

        cases = [
            ("required field missing", "locale", drop("License"), None, "required field License"),
            ("identifier of one part", "*", set_to("Quarn", "PackageIdentifier"), None, "PackageIdentifier"),
            ("old manifest version", "version", set_to("1.28", "ManifestVersion"), None, "major.minor.patch"),
            ("other manifest version", "installer", set_to("1.10.0", "ManifestVersion"), None, "must be 1.12.0"),
            ("header type in lower case", "locale", None, lambda t: t.replace(".defaultLocale.", ".defaultlocale.", 1),
             "schema type 'defaultlocale'"),
            ("header of another version", "version", None, lambda t: t.replace(".1.12.0.", ".1.28.0.", 1),
             "header names schema version 1.28.0"),
            ("header missing", "installer", None, lambda t: t.split("\n", 1)[1], "must be the schema header"),
            ("installer fetched over http", "installer", set_to("http://downloads.quarn.test/releases/" +
                                                                os.path.basename(self.zip), "Installers", 0,
                                                                "InstallerUrl"), None, "must be an https:// address"),
            ("product code of another entry", "installer",
             lambda d: d["AppsAndFeaturesEntries"][0].update(ProductCode="Quarn2"), None,
             "is not the installer's ProductCode"),
            ("no product code beside the entry's", "installer", drop("ProductCode"), None, "names no ProductCode"),
            ("entry without its product code", "installer", lambda d: d["AppsAndFeaturesEntries"][0].pop("ProductCode"),
             None, "AppsAndFeaturesEntries names no ProductCode"),
            ("unknown manifest type", "version", set_to("versions", "ManifestType"), None, "ManifestType 'versions'"),
            ("unknown return response", "installer", set_to("portInUse", "ExpectedReturnCodes", 0, "ReturnResponse"),
             None, "'portInUse' of code 2 is not one winget knows"),
            ("return code zero", "installer", set_to(0, "ExpectedReturnCodes", 0, "InstallerReturnCode"), None,
             "non-zero"),
            ("folder switch without its token", "installer", set_to("/D=c:\\quarn", "InstallerSwitches", "InstallLocation"),
             None, "<INSTALLPATH>"),
            ("log switch without its token", "installer", set_to("/LOG=<LOGFILE>", "InstallerSwitches", "Log"), None,
             "<LOGPATH>"),
            ("no silent switch for an exe", "installer", lambda d: d["InstallerSwitches"].pop("Silent"), None,
             "InstallerSwitches.Silent"),
            ("switch too long", "installer", set_to("/S " * 200, "InstallerSwitches", "Silent"), None, "1 to 512"),
            ("hash of another file", "installer", set_to("0" * 64, "Installers", 0, "InstallerSha256"), None,
             "not the SHA-256"),
            ("url of another file", "installer", set_to(RELEASE_URL + "/other.zip", "Installers", 0, "InstallerUrl"),
             None, "names other.zip"),
            ("url not a web address", "installer", set_to("ftp://x/y.zip", "Installers", 0, "InstallerUrl"), None,
             "InstallerUrl"),
            ("short description too long", "locale", set_to("长" * 257, "ShortDescription"), None, "3 to 256"),
            ("nested installer not in the zip", "installer", set_to([{"RelativeFilePath": "install.exe"}],
                                                                    "NestedInstallerFiles"), None, "not in"),
            ("two nested installers", "installer", set_to([{"RelativeFilePath": "setup.exe"}, {"RelativeFilePath":
                                                          "Setup.pak"}], "NestedInstallerFiles"), None, "holds one"),
            ("zip without nested type", "installer", drop("NestedInstallerType"), None, "needs NestedInstallerType"),
            ("nested installer of no archive", "installer", set_to("exe", "InstallerType"), None,
             "belong to an archive"),
            ("unknown architecture", "installer", set_to("i386", "Installers", 0, "Architecture"), None, "'i386'"),
            ("misspelt field", "installer", lambda d: d.update(ExpectedReturnCode=[]), None,
             "ExpectedReturnCode is not a field"),
            ("display version equal to the package's", "installer",
             lambda d: d["AppsAndFeaturesEntries"][0].update(DisplayVersion=d["PackageVersion"]), None, "left out"),
            ("default locale of no locale file", "version", set_to("en-US", "DefaultLocale"), None,
             "DefaultLocale 'en-US'"),
            ("release date no date", "installer", set_to("9 December", "ReleaseDate"), None, "ReleaseDate"),
            ("field twice", "version", None, lambda t: t + "DefaultLocale: zh-CN\n", "appears twice"),
            ("not UTF-8", "locale", None, lambda t: t.replace("Quarn", "Qu\udce9rn"), "UTF-8"),
        ]
        kinds = {"version": "Quarn.Suite.yaml", "installer": "Quarn.Suite.installer.yaml",
                 "locale": "Quarn.Suite.locale.zh-CN.yaml"}
        for name, kind, change_fields, change_text, message in cases:
            with self.subTest(name):
                folder = os.path.join(self.work, "broken", name.replace(" ", "-"), "q", "Quarn", "Suite",
                                      os.path.basename(self.manifest))
                shutil.copytree(self.manifest, folder)
                for file in (kinds.values() if kind == "*" else [kinds[kind]]):
                    path = os.path.join(folder, file)
                    with open(path, encoding="utf-8") as f:
                        text = f.read()
                    if change_fields:
                        fields = yaml.safe_load(text)
                        change_fields(fields)
                        # The schema header stays, so that only the broken rule fails.
                        text = text.split("\n", 1)[0] + "\n" + yaml.safe_dump(fields, allow_unicode=True,
                                                                               sort_keys=False)
                    if change_text:
                        text = change_text(text)
                    with open(path, "w", encoding="utf-8", errors="surrogateescape") as f:
                        f.write(text)
                checked = subprocess.run([script("check-winget-manifest"), folder, self.zip], capture_output=True,
                                         text=True)
                self.assertEqual(checked.returncode, 1, checked.stdout + checked.stderr)
                self.assertIn(message, checked.stdout)

        with self.subTest("files in a folder of another version"):
            folder = os.path.join(self.work, "broken", "moved", "q", "Quarn", "Suite", "9.9.9")
            shutil.copytree(self.manifest, folder)
            checked = subprocess.run([script("check-winget-manifest"), folder, self.zip], capture_output=True, text=True)
            self.assertEqual(checked.returncode, 1)
            self.assertIn("belong in a folder", checked.stdout)

    def test_without_a_key_no_release_unless_an_unsigned_one_is_asked_for(self):
        out = os.path.join(self.work, "keyless")
        refused = run([script("make-dist"), NATIVE, WINDOWS_TREES[0], out])
        self.assertEqual(refused.returncode, 1)
        self.assertIn("no signing key", refused.stderr)
        self.assertIn("QUARN_UNSIGNED=1", refused.stderr)
        self.assertFalse(os.path.exists(out))

        made = run([script("make-dist"), NATIVE, WINDOWS_TREES[0], out], env={"QUARN_UNSIGNED": "1"})
        self.assertEqual(made.returncode, 0, made.stderr)
        self.assertIn("UNSIGNED", made.stdout)
        self.assertEqual(len(glob.glob(os.path.join(out, "quarn-setup-*-unsigned.zip"))), 1)
        self.assertEqual(len(glob.glob(os.path.join(out, "quarn-setup-*-unsigned.exe"))), 1)
        ok, report = verify(os.path.join(out, "setup.exe"), self.pki, timestamped=False)
        self.assertFalse(ok, report)

    def test_a_release_over_plain_http_is_refused(self):
        out = os.path.join(self.work, "http")
        refused = run([script("make-dist"), NATIVE, WINDOWS_TREES[0], out],
                      env=self.keys(QUARN_RELEASE_URL="http://downloads.quarn.test/releases"))
        self.assertEqual(refused.returncode, 1)
        self.assertIn("QUARN_RELEASE_URL must be an https:// address", refused.stderr)
        self.assertFalse(os.path.exists(out))

    def test_a_signed_release_carries_a_timestamp_unless_a_development_one_is_asked_for(self):
        keys = self.keys()
        del keys["QUARN_TIMESTAMP_URL"]
        out = os.path.join(self.work, "untimestamped")
        refused = run([script("make-dist"), NATIVE, WINDOWS_TREES[0], out], env=keys)
        self.assertEqual(refused.returncode, 1)
        self.assertIn("no timestamp server", refused.stderr)
        self.assertIn("QUARN_NO_TIMESTAMP=1", refused.stderr)
        self.assertFalse(os.path.exists(out))

        made = run([script("make-dist"), NATIVE, WINDOWS_TREES[0], out], env=dict(keys, QUARN_NO_TIMESTAMP="1"))
        self.assertEqual(made.returncode, 0, made.stderr)
        self.assertIn("DEVELOPMENT release", made.stdout)
        self.assertIn("WITHOUT a timestamp", made.stdout)
        self.assertEqual(len(glob.glob(os.path.join(out, "quarn-setup-*-untimestamped.zip"))), 1)
        setup = os.path.join(out, "setup.exe")
        ok, report = verify(setup, self.pki, timestamped=False)
        self.assertTrue(ok, report)
        self.assertNotIn("Timestamp Server Signature verification: ok", report)

    def test_a_release_that_fails_leaves_the_previous_one(self):
        out = os.path.join(self.work, "kept")
        shutil.copytree(self.dist, out)
        before = {p: read(p) for p in glob.glob(os.path.join(out, "**"), recursive=True) if os.path.isfile(p)}
        failed = run([script("make-dist"), NATIVE, WINDOWS_TREES[0], out], env=self.keys(QUARN_SIGN_PASS="wrong"))
        self.assertEqual(failed.returncode, 1)
        self.assertIn("could not sign", failed.stderr)
        after = {p: read(p) for p in glob.glob(os.path.join(out, "**"), recursive=True) if os.path.isfile(p)}
        self.assertTrue(before == after, "the previous release changed")


if __name__ == "__main__":
    unittest.main()
