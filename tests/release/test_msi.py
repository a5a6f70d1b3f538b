"""scripts/make-msi on its own: codes Windows Installer tells versions apart by, and versions it
could not compare refused."""
import os
import shutil
import tempfile
import unittest

from release_tools import run, script
from test_dist import msi_table


class MsiCodes(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.work = tempfile.mkdtemp(prefix="quarn-msi-codes.")
        for name in ("setup.exe", "Setup.pak"):
            with open(os.path.join(cls.work, name), "wb") as f:
                f.write(b"stand-in " + name.encode())

    @classmethod
    def tearDownClass(cls):
        shutil.rmtree(cls.work)

    def make(self, version, name):
        out = os.path.join(self.work, name)
        made = run([script("make-msi"), "--version", version, "--setup", os.path.join(self.work, "setup.exe"),
                    "--pak", os.path.join(self.work, "Setup.pak"), "--out", out])
        return made, out

    def test_a_version_keeps_its_product_code_and_every_version_the_upgrade_code(self):
        codes = {}
        for version, name in (("2.0.0", "a.msi"), ("2.0.0", "b.msi"), ("2.1.0", "c.msi")):
            made, out = self.make(version, name)
            self.assertEqual(made.returncode, 0, made.stderr)
            properties = msi_table(out, "Property")
            self.assertEqual(properties["ProductVersion"], version)
            codes[name] = (properties["ProductCode"], properties["UpgradeCode"])
        self.assertEqual(codes["a.msi"], codes["b.msi"], "a rebuild of a version is the same product")
        self.assertNotEqual(codes["a.msi"][0], codes["c.msi"][0], "another version is another product")
        self.assertEqual(codes["a.msi"][1], codes["c.msi"][1], "one UpgradeCode for all versions")

    def test_a_version_windows_installer_cannot_compare_is_refused(self):
        for version in ("2.0", "2.0.0.1", "256.0.0", "1.0.65536", "2.0.0-beta", "v2.0.0"):
            made, out = self.make(version, "refused.msi")
            self.assertNotEqual(made.returncode, 0, version)
            self.assertIn("no MSI version", made.stderr, version)
            self.assertFalse(os.path.exists(out), version)


if __name__ == "__main__":
    unittest.main()
