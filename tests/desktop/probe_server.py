#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""A loopback web server for the internet lamp's test: answers 404 to every request, prints its
port, and appends each request's method, path and User-Agent to the file named first."""
import http.server
import sys


class NotFound(http.server.BaseHTTPRequestHandler):
    def do_GET(self):
        with open(sys.argv[1], "a", encoding="utf-8") as log:
            log.write(f"{self.command} {self.path} {self.headers.get('User-Agent', '')}\n")
        self.send_error(404)

    do_HEAD = do_GET

    def log_message(self, *args):
        pass


server = http.server.HTTPServer(("127.0.0.1", 0), NotFound)
print(server.server_port, flush=True)
server.serve_forever()
