"""What the end-to-end timing probes share: a slow stand-in server, the endpoint started on a
settings file, and one follower message sent and timed."""

import contextlib
import http.server
import os
import socket
import statistics
import subprocess
import tempfile
import threading
import time


def serve(handler):
    """Starts a threading stand-in with the handler on a free loopback port; gives its base URL."""
    server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), handler)
    threading.Thread(target=server.serve_forever, daemon=True).start()
    return f"http://127.0.0.1:{server.server_address[1]}"


@contextlib.contextmanager
def running_endpoint(binary, settings_text):
    """The headless endpoint on a free port with the given settings (written in code page 936);
    gives its port and stops it afterwards."""
    with tempfile.TemporaryDirectory() as work:
        settings = os.path.join(work, "gzh.ini")
        with open(settings, "wb") as f:
            f.write(settings_text.encode("gbk"))
        endpoint = subprocess.Popen([binary, "--headless", "--listen", "127.0.0.1", "--port", "0",
                                     "--settings", settings], stdout=subprocess.PIPE,
                                    stderr=subprocess.DEVNULL, text=True)
        try:
            yield int(endpoint.stdout.readline().rsplit(":", 1)[1])
        finally:
            endpoint.terminate()
            endpoint.wait()


def message(content):
    """A follower's text message as WeChat posts it."""
    xml = ("<xml><ToUserName><![CDATA[gh_1]]></ToUserName><FromUserName><![CDATA[oU1]]>"
           "</FromUserName><CreateTime>1</CreateTime><MsgType><![CDATA[text]]></MsgType>"
           f"<Content><![CDATA[{content}]]></Content></xml>").encode()
    return b"POST / HTTP/1.1\r\nHost: h\r\nContent-Length: %d\r\n\r\n%s" % (len(xml), xml)


def ask(port, request):
    """Sends the request, reads the answer to the close; gives the seconds taken and the answer."""
    started = time.perf_counter()
    with socket.create_connection(("127.0.0.1", port), timeout=30) as s:
        s.sendall(request)
        reply = b""
        while chunk := s.recv(65536):
            reply += chunk
    return time.perf_counter() - started, reply


def report(times, delays):
    """Prints the median end-to-end time against the sum of the requests' own delays."""
    median = statistics.median(times)
    print(f"end to end: median {median * 1000:.0f} ms over {len(times)} runs "
          f"(min {min(times) * 1000:.0f}, max {max(times) * 1000:.0f})")
    print(f"sum of the requests' delays: {delays * 1000:.0f} ms; ratio {median / delays:.2f}")
