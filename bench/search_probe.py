#!/usr/bin/env python3
"""Runs the endpoint against slow loopback stand-ins and times one movie search end to end."""

import http.server
import sys
import time

from timing_probe import ask, message, report, running_endpoint, serve

DELAY = 0.1
MATCHES = 6
TITLE = "星际"


class SlowHandler(http.server.BaseHTTPRequestHandler):
    protocol_version = "HTTP/1.0"
    shortened = 0

    def do_GET(self):
        time.sleep(DELAY)
        if self.path.startswith("/so.php"):
            body = "".join(f'<a href="http://v.example/paly/m{i}/1-1.html" target="_blank">'
                           f'电影{i}</a>\n' for i in range(1, MATCHES + 1)).encode()
        else:
            SlowHandler.shortened += 1
            body = f"http://s.example/{SlowHandler.shortened}".encode()
        self.send_response(200)
        self.send_header("Content-Length", str(len(body)))
        self.end_headers()
        self.wfile.write(body)

    def log_message(self, *args):
        pass


def main(binary, runs):
    base = serve(SlowHandler)
    settings = ("[setting]\r\nToken=t\r\n搜索词=\r\n[services]\r\n"
                f"video_search={base}\r\nshortener={base}\r\ncatalogue={base}\r\n")
    times = []
    with running_endpoint(binary, settings) as port:
        for _ in range(runs):
            took, reply = ask(port, message(TITLE))
            if "当前结果还有1条数据".encode() not in reply:
                sys.exit("the reply lacks the more line: " + reply.decode(errors="replace"))
            times.append(took)
    requests = 1 + MATCHES  # the page, five item links and the "more" link
    print(f"one search with {MATCHES} matches, {requests} requests of {DELAY * 1000:.0f} ms each")
    report(times, requests * DELAY)


if __name__ == "__main__":
    main(sys.argv[1], int(sys.argv[2]))
