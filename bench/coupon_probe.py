#!/usr/bin/env python3
"""Runs the endpoint against slow loopback stand-ins and times one coupon lookup end to end."""

import http.server
import sys
import time

from timing_probe import ask, message, report, running_endpoint, serve

DELAY = 0.1
BASE = ""  # set once the stand-in listens


class SlowHandler(http.server.BaseHTTPRequestHandler):
    protocol_version = "HTTP/1.0"
    requests = 0

    def answer(self, status, body=b"", headers=()):
        self.send_response(status)
        for name, value in headers:
            self.send_header(name, value)
        self.send_header("Content-Length", str(len(body)))
        self.end_headers()
        self.wfile.write(body)

    def do_GET(self):
        time.sleep(DELAY)
        SlowHandler.requests += 1
        path = self.path
        if path.startswith("/h5/"):
            if "_m_h5_tk=" not in (self.headers.get("Cookie") or ""):
                return self.answer(200, '{"ret":["FAIL_SYS_TOKEN_EMPTY::令牌为空"]}'.encode(),
                                   [("Set-Cookie", "_m_h5_tk=" + "a" * 32 + "_1765432100123")])
            body = ('{"data":{"content":"好物","url":"%s/s.click?e=1"},"ret":["SUCCESS"]}'
                    % BASE).encode()
            return self.answer(200, body)
        hops = {"/s.click?e=1": "/t?e=1", "/t?e=1": "/t?e=2", "/t?e=2": "/t?e=3",
                "/t?e=3": "/item.htm?id=5566&x=1"}
        if path in hops:
            return self.answer(302, b"", [("Location", BASE + hops[path])])
        if path.startswith("/tkl/"):
            return self.answer(200, b'{"max_commission_rate":"20","coupon_click_url":"c",'
                                    b'"item_url":"i","x":1}')
        if path.startswith("/checkWhole"):
            return self.answer(200, b'{"id":"5566","price_coupons":"5","price_after_coupons":'
                                    b'"14.9","pic":"p","guid_content":1}')
        if path.startswith("/tbk/"):
            return self.answer(200, '{"model":"￥AbCdEfGhIjK￥"}'.encode())
        return self.answer(404)

    def log_message(self, *args):
        pass


def main(binary, runs):
    global BASE
    BASE = serve(SlowHandler)
    host = BASE.removeprefix("http://")
    settings = ("[setting]\r\nToken=t\r\n[services]\r\n"
                f"gateway={BASE}\r\nitem_hosts={host},a,b,c\r\nclick_host={host}\r\n"
                f"sharecode_api={BASE}\r\ncoupon_check={BASE}\r\n")
    times = []
    with running_endpoint(binary, settings) as port:
        for _ in range(runs):
            before = SlowHandler.requests
            took, reply = ask(port, message("复制￥AbCdEfGhIjK￥打开"))
            if "券后价".encode() not in reply:
                sys.exit("the reply lacks the price: " + reply.decode(errors="replace"))
            times.append(took)
            count = SlowHandler.requests - before
    print(f"one click-link lookup: {count} requests of {DELAY * 1000:.0f} ms each "
          "(gateway 2, click chain 4, price 3)")
    report(times, count * DELAY)


if __name__ == "__main__":
    main(sys.argv[1], int(sys.argv[2]))
