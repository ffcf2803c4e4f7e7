#!/usr/bin/env python3
"""Runs the endpoint against slow loopback stand-ins and times one movie search end to end."""

import http.server
import os
import socket
import statistics
import subprocess
import sys
import tempfile
import threading
import time

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


def message(title):
    xml = ("<xml><ToUserName><![CDATA[gh_1]]></ToUserName><FromUserName><![CDATA[oU1]]>"
           "</FromUserName><CreateTime>1</CreateTime><MsgType><![CDATA[text]]></MsgType>"
           f"<Content><![CDATA[{title}]]></Content></xml>").encode()
    return b"POST / HTTP/1.1\r\nHost: h\r\nContent-Length: %d\r\n\r\n%s" % (len(xml), xml)


def ask(port, request):
    started = time.perf_counter()
    with socket.create_connection(("127.0.0.1", port), timeout=30) as s:
        s.sendall(request)
        reply = b""
        while chunk := s.recv(65536):
            reply += chunk
    return time.perf_counter() - started, reply


def main(binary, runs):
    server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), SlowHandler)
    threading.Thread(target=server.serve_forever, daemon=True).start()
    base = f"http://127.0.0.1:{server.server_address[1]}"
    with tempfile.TemporaryDirectory() as work:
        settings = os.path.join(work, "gzh.ini")
        with open(settings, "wb") as f:
            f.write(("[setting]\r\nToken=t\r\n搜索词=\r\n[services]\r\n"
                     f"video_search={base}\r\nshortener={base}\r\ncatalogue={base}\r\n")
                    .encode("gbk"))
        endpoint = subprocess.Popen([binary, "--headless", "--listen", "127.0.0.1", "--port", "0",
                                     "--settings", settings], stdout=subprocess.PIPE,
                                    stderr=subprocess.DEVNULL, text=True)
        try:
            port = int(endpoint.stdout.readline().rsplit(":", 1)[1])
            times = []
            for _ in range(runs):
                took, reply = ask(port, message(TITLE))
                if "当前结果还有1条数据".encode() not in reply:
                    sys.exit("the reply lacks the more line: " + reply.decode(errors="replace"))
                times.append(took)
        finally:
            endpoint.terminate()
            endpoint.wait()
    requests = 1 + MATCHES  # the page, five item links and the "more" link
    delays = requests * DELAY
    median = statistics.median(times)
    print(f"one search with {MATCHES} matches, {requests} requests of {DELAY * 1000:.0f} ms each")
    print(f"end to end: median {median * 1000:.0f} ms over {runs} runs "
          f"(min {min(times) * 1000:.0f}, max {max(times) * 1000:.0f})")
    print(f"sum of the requests' delays: {delays * 1000:.0f} ms; ratio {median / delays:.2f}")


if __name__ == "__main__":
    main(sys.argv[1], int(sys.argv[2]))
