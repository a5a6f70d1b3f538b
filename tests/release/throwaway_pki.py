"""A certificate authority for one test run, made with openssl in a temporary folder: a code
signing certificate (as a password-protected PKCS#12 file, and as a certificate with an
encrypted key), a timestamping certificate, and an RFC 3161 timestamp server on 127.0.0.1
that answers through `openssl ts -reply`. Nothing leaves the machine."""
import http.server
import os
import subprocess
import tempfile
import threading

PASSWORD = "throwaway-pass"

EXTENSIONS = """
[req]
distinguished_name = dn
prompt = no
[dn]
CN = unused
[ca]
basicConstraints = critical, CA:true
keyUsage = critical, keyCertSign, cRLSign
subjectKeyIdentifier = hash
[code]
basicConstraints = critical, CA:false
keyUsage = critical, digitalSignature
extendedKeyUsage = codeSigning
subjectKeyIdentifier = hash
authorityKeyIdentifier = keyid
[tsa]
basicConstraints = critical, CA:false
keyUsage = critical, digitalSignature
extendedKeyUsage = critical, timeStamping
subjectKeyIdentifier = hash
authorityKeyIdentifier = keyid
"""

TSA_CONFIG = """
[tsa]
default_tsa = throwaway
[throwaway]
serial = {folder}/tsa.serial
signer_cert = {folder}/tsa.crt
signer_key = {folder}/tsa.key
certs = {folder}/ca.crt
signer_digest = sha256
default_policy = 1.3.6.1.4.1.99999.1
digests = sha256, sha384, sha512, sha1
accuracy = secs:1
ordering = yes
tsa_name = no
ess_cert_id_chain = no
ess_cert_id_alg = sha256
crypto_device = builtin
other_policies = 1.3.6.1.4.1.99999.2
"""


def openssl(*args, cwd):
    subprocess.run(["openssl", *args], cwd=cwd, check=True, stdout=subprocess.DEVNULL, stderr=subprocess.PIPE)


class ThrowawayPki:
    def __init__(self):
        self._temp = tempfile.TemporaryDirectory(prefix="quarn-pki.")
        self.folder = self._temp.name
        with open(self.path("x509.cnf"), "w") as f:
            f.write(EXTENSIONS)
        self._authority("ca", "Quarn Throwaway Root")
        self._leaf("code", "Quarn Throwaway Code Signing", "code", "ca")
        self._leaf("tsa", "Quarn Throwaway Timestamps", "tsa", "ca")
        # The same code signing name under an authority nobody trusts.
        self._authority("other-ca", "Someone Else's Root")
        self._leaf("other-code", "Quarn Throwaway Code Signing", "code", "other-ca")
        openssl("pkcs12", "-export", "-inkey", "code.key", "-in", "code.crt", "-certfile", "ca.crt",
                "-out", "code.pfx", "-passout", "pass:" + PASSWORD, cwd=self.folder)
        openssl("pkcs12", "-export", "-inkey", "other-code.key", "-in", "other-code.crt", "-certfile", "other-ca.crt",
                "-out", "other-code.pfx", "-passout", "pass:" + PASSWORD, cwd=self.folder)
        openssl("pkey", "-in", "code.key", "-aes256", "-out", "code.encrypted.key", "-passout", "pass:" + PASSWORD,
                cwd=self.folder)
        with open(self.path("password"), "w") as f:
            f.write(PASSWORD + "\n")
        with open(self.path("tsa.serial"), "w") as f:
            f.write("01\n")
        with open(self.path("tsa.cnf"), "w") as f:
            f.write(TSA_CONFIG.format(folder=self.folder))

    def path(self, name):
        return os.path.join(self.folder, name)

    def _key(self, name):
        openssl("genpkey", "-algorithm", "EC", "-pkeyopt", "ec_paramgen_curve:P-256", "-out", name + ".key",
                cwd=self.folder)

    def _authority(self, name, subject):
        self._key(name)
        openssl("req", "-x509", "-new", "-key", name + ".key", "-subj", "/CN=" + subject, "-days", "2",
                "-config", "x509.cnf", "-extensions", "ca", "-out", name + ".crt", cwd=self.folder)

    def _leaf(self, name, subject, extensions, issuer):
        self._key(name)
        openssl("req", "-new", "-key", name + ".key", "-subj", "/CN=" + subject, "-config", "x509.cnf",
                "-out", name + ".csr", cwd=self.folder)
        openssl("x509", "-req", "-in", name + ".csr", "-CA", issuer + ".crt", "-CAkey", issuer + ".key",
                "-CAcreateserial", "-days", "2", "-extfile", "x509.cnf", "-extensions", extensions,
                "-out", name + ".crt", cwd=self.folder)

    def cleanup(self):
        self._temp.cleanup()


class LocalTimestampServer:
    """An RFC 3161 server on a free port of 127.0.0.1, for as long as the object is open."""

    def __init__(self, pki):
        pki_config = pki.path("tsa.cnf")

        class Handler(http.server.BaseHTTPRequestHandler):
            def do_POST(self):
                query = self.rfile.read(int(self.headers.get("Content-Length", 0)))
                with tempfile.TemporaryDirectory() as folder:
                    with open(os.path.join(folder, "query"), "wb") as f:
                        f.write(query)
                    made = subprocess.run(["openssl", "ts", "-reply", "-config", pki_config, "-queryfile",
                                           os.path.join(folder, "query"), "-out", os.path.join(folder, "reply")],
                                          capture_output=True)
                    if made.returncode != 0:
                        self.send_error(500, made.stderr.decode(errors="replace")[:200])
                        return
                    with open(os.path.join(folder, "reply"), "rb") as f:
                        reply = f.read()
                self.send_response(200)
                self.send_header("Content-Type", "application/timestamp-reply")
                self.send_header("Content-Length", str(len(reply)))
                self.end_headers()
                self.wfile.write(reply)

            def log_message(self, *args):
                pass

        self._server = http.server.HTTPServer(("127.0.0.1", 0), Handler)
        self.url = "http://127.0.0.1:%d/" % self._server.server_address[1]
        self._thread = threading.Thread(target=self._server.serve_forever, daemon=True)
        self._thread.start()

    def close(self):
        self._server.shutdown()
        self._server.server_close()
