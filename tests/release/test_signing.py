"""scripts/sign: each Windows tree's programs signed with a throwaway authority and verified
offline, damage found, and every failure leaving the originals as they were."""
import glob
import os
import shutil
import tempfile
import unittest

from release_tools import PROGRAMS, WINDOWS_TREES, flip_byte, read, run, script, signature_span, verify
from throwaway_pki import PASSWORD, LocalTimestampServer, ThrowawayPki


class Signing(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.pki = ThrowawayPki()
        cls.tsa = LocalTimestampServer(cls.pki)

    @classmethod
    def tearDownClass(cls):
        cls.tsa.close()
        cls.pki.cleanup()

    def setUp(self):
        self.work = tempfile.mkdtemp(prefix="quarn-sign.")
        self.addCleanup(shutil.rmtree, self.work)

    def copy(self, tree, program="setup.exe", name=None):
        target = os.path.join(self.work, name or os.path.basename(tree) + "-" + program)
        shutil.copy(os.path.join(tree, "bin", program), target)
        return target

    def pfx(self, password=PASSWORD):
        return {"QUARN_SIGN_PFX": self.pki.path("code.pfx"), "QUARN_SIGN_PASS": password}

    def test_setup_of_each_tree_signed_timestamped_and_verified_offline_and_a_flipped_byte_fails(self):
        for tree in WINDOWS_TREES:
            with self.subTest(tree=os.path.basename(tree)):
                program = self.copy(tree)
                signed = run([script("sign"), program], env=dict(self.pfx(), QUARN_TIMESTAMP_URL=self.tsa.url))
                self.assertEqual(signed.returncode, 0, signed.stderr)
                ok, report = verify(program, self.pki)
                self.assertTrue(ok, report)
                self.assertIn("Timestamp Server Signature verification: ok", report)
                self.assertIn("Quarn Throwaway Code Signing", report)

                start, size = signature_span(program)
                self.assertGreater(size, 0)
                for where, offset in (("code", start // 2), ("signature", start + size // 2)):
                    damaged = os.path.join(self.work, "damaged-" + where + ".exe")
                    shutil.copy(program, damaged)
                    flip_byte(damaged, offset)
                    ok, report = verify(damaged, self.pki)
                    self.assertFalse(ok, "a byte flipped in the %s still verifies:\n%s" % (where, report))

    def test_tree_option_signs_setup_quarnpak_and_the_standins_with_a_certificate_and_encrypted_key(self):
        os.mkdir(os.path.join(self.work, "bin"))
        for program in PROGRAMS:
            shutil.copy(os.path.join(WINDOWS_TREES[0], "bin", program), os.path.join(self.work, "bin"))
        signed = run([script("sign"), "--cert", self.pki.path("code.crt"), "--key", self.pki.path("code.encrypted.key"),
                      "--pass-file", self.pki.path("password"), "--tree", self.work])
        self.assertEqual(signed.returncode, 0, signed.stderr)
        for program in PROGRAMS:
            ok, report = verify(os.path.join(self.work, "bin", program), self.pki, timestamped=False)
            self.assertTrue(ok, program + "\n" + report)
        self.assertEqual(sorted(os.listdir(os.path.join(self.work, "bin"))), sorted(PROGRAMS))

    def test_a_certificate_of_another_authority_does_not_verify(self):
        program = self.copy(WINDOWS_TREES[0])
        signed = run([script("sign"), "--pfx", self.pki.path("other-code.pfx"), program],
                     env={"QUARN_SIGN_PASS": PASSWORD})
        self.assertEqual(signed.returncode, 0, signed.stderr)
        ok, report = verify(program, self.pki, timestamped=False)
        self.assertFalse(ok, report)

    def test_failures_leave_every_original_as_it_was(self):
        setup = self.copy(WINDOWS_TREES[0])
        quarnpak = self.copy(WINDOWS_TREES[0], "quarnpak.exe")
        notes = os.path.join(self.work, "notes.txt")
        with open(notes, "w") as f:
            f.write("not a program\n")
        originals = {path: read(path) for path in (setup, quarnpak, notes)}
        cases = [
            ("wrong password", [setup, quarnpak], self.pfx(password="not-the-password"), "could not sign"),
            ("timestamp server away", [setup, quarnpak], dict(self.pfx(), QUARN_TIMESTAMP_URL="http://127.0.0.1:9/"),
             "timestamp server"),
            # The first program signs; the file after it cannot: neither is replaced.
            ("one file not a program", [setup, notes], self.pfx(), "could not sign " + notes),
        ]
        for name, files, env, message in cases:
            with self.subTest(name):
                failed = run([script("sign")] + files, env=env)
                self.assertEqual(failed.returncode, 1, failed.stdout)
                self.assertIn(message, failed.stderr)
                self.assertIn("Nothing was changed", failed.stderr)
                for path, content in originals.items():
                    self.assertTrue(read(path) == content, path + " changed")
                self.assertEqual(glob.glob(os.path.join(self.work, ".signing.*")), [])

    def test_refusals_name_what_is_missing(self):
        program = self.copy(WINDOWS_TREES[0])
        cases = [
            ("no key", [program], {}, 2, "no signing key"),
            ("certificate without its key", [program], {"QUARN_SIGN_CERT": self.pki.path("code.crt")}, 2,
             "needs its key"),
            ("no file", [], self.pfx(), 2, "name the files to sign"),
            ("missing file", [program, os.path.join(self.work, "gone.exe")], self.pfx(), 1, "cannot read"),
            ("missing key file", [program], {"QUARN_SIGN_PFX": os.path.join(self.work, "gone.pfx")}, 1,
             "cannot read the key file"),
            ("timestamp server not a web address", [program], dict(self.pfx(), QUARN_TIMESTAMP_URL="tsa.example"), 2,
             "http:// or https://"),
        ]
        original = read(program)
        for name, files, env, code, message in cases:
            with self.subTest(name):
                refused = run([script("sign")] + files, env=env)
                self.assertEqual(refused.returncode, code, refused.stderr)
                self.assertIn(message, refused.stderr)
        self.assertTrue(read(program) == original, "the program changed")


if __name__ == "__main__":
    unittest.main()
