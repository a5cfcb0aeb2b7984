#!/usr/bin/env python3
"""A time-stamp server on this machine for the signing tests, so that they
never go online: it answers RFC 3161 requests (POST, application/timestamp-
query) with `openssl ts -reply`, signed by a throw-away time-stamping
certificate made in FOLDER. It prints its address, then serves until killed.

    tests/scripts/tsa_server.py FOLDER
"""
import http.server
import os
import subprocess
import sys

CONFIG = """\
[ tsa ]
default_tsa = local
[ local ]
dir = {folder}
serial = $dir/serial
signer_cert = $dir/tsa.pem
certs = $dir/tsa.pem
signer_key = $dir/tsa.key
signer_digest = sha256
default_policy = 1.3.6.1.4.1.4146.2.3
digests = sha1, sha256, sha384, sha512
accuracy = secs:1
ordering = yes
tsa_name = yes
ess_cert_id_chain = no
ess_cert_id_alg = sha256
"""


def prepare(folder):
    subprocess.run(["openssl", "req", "-x509", "-newkey", "rsa:2048", "-nodes", "-days", "2",
                    "-subj", "/CN=Vorlamet test time-stamp server",
                    "-addext", "extendedKeyUsage=critical,timeStamping",
                    "-keyout", os.path.join(folder, "tsa.key"),
                    "-out", os.path.join(folder, "tsa.pem")],
                   check=True, stderr=subprocess.DEVNULL)
    with open(os.path.join(folder, "serial"), "w") as f:
        f.write("01\n")
    with open(os.path.join(folder, "tsa.cnf"), "w") as f:
        f.write(CONFIG.format(folder=folder))


class Handler(http.server.BaseHTTPRequestHandler):
    def do_POST(self):
        folder = self.server.folder
        query = os.path.join(folder, "query.tsq")
        reply = os.path.join(folder, "reply.tsr")
        with open(query, "wb") as f:
            f.write(self.rfile.read(int(self.headers["Content-Length"])))
        made = subprocess.run(["openssl", "ts", "-reply", "-config",
                               os.path.join(folder, "tsa.cnf"), "-queryfile", query,
                               "-out", reply], stderr=subprocess.DEVNULL)
        if made.returncode != 0:
            self.send_error(400, "not a time-stamp request")
            return
        with open(reply, "rb") as f:
            body = f.read()
        self.send_response(200)
        self.send_header("Content-Type", "application/timestamp-reply")
        self.send_header("Content-Length", str(len(body)))
        self.end_headers()
        self.wfile.write(body)

    def log_message(self, *args):
        pass


def main():
    folder = os.path.abspath(sys.argv[1])
    prepare(folder)
    server = http.server.HTTPServer(("127.0.0.1", 0), Handler)
    server.folder = folder
    print("http://127.0.0.1:%d/" % server.server_address[1], flush=True)
    server.serve_forever()


if __name__ == "__main__":
    main()
