#!/usr/bin/env python3
"""The maker's news servers for the news tests, on loopback only.

newsservers.py FOLDER USER PASSWORD
FTP: the account USER/PASSWORD reads FOLDER.
HTTP: "/" answers with the visitor's address wrapped in a page with a label,
"/falha" with an error, "/lento" never answers.
Prints "FTP <port> HTTP <port>" once both listen; ends when stdin closes.
"""
import logging
import sys
import threading
import time
from http.server import BaseHTTPRequestHandler, ThreadingHTTPServer

from pyftpdlib.authorizers import DummyAuthorizer
from pyftpdlib.handlers import FTPHandler
from pyftpdlib.servers import ThreadedFTPServer


class Echo(BaseHTTPRequestHandler):
    def do_GET(self):
        if self.path == "/falha":
            self.send_error(500)
            return
        if self.path == "/lento":
            time.sleep(600)
            return
        body = ("<html><head><title>Current IP Check</title></head><body>"
                "<h1>Seu endereço</h1>Current IP Address: %s</body></html>"
                % self.client_address[0]).encode()
        self.send_response(200)
        self.send_header("Content-Type", "text/html")
        self.send_header("Content-Length", str(len(body)))
        self.end_headers()
        self.wfile.write(body)

    def log_message(self, *args):
        pass


def main():
    folder, user, password = sys.argv[1:4]
    authorizer = DummyAuthorizer()
    authorizer.add_user(user, password, folder, perm="elr")
    handler = FTPHandler
    handler.authorizer = authorizer
    handler.auth_failed_timeout = 0.2
    quiet = logging.getLogger("pyftpdlib")
    quiet.addHandler(logging.NullHandler())
    quiet.setLevel(logging.CRITICAL)
    quiet.propagate = False
    ftp = ThreadedFTPServer(("127.0.0.1", 0), handler)
    http = ThreadingHTTPServer(("127.0.0.1", 0), Echo)
    http.daemon_threads = True
    threading.Thread(target=ftp.serve_forever, daemon=True).start()
    threading.Thread(target=http.serve_forever, daemon=True).start()
    print("FTP %d HTTP %d" % (ftp.address[1], http.server_address[1]), flush=True)
    sys.stdin.read()


if __name__ == "__main__":
    main()
