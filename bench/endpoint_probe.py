#!/usr/bin/env python3
"""Small jobs for bench/endpoint.sh: the settings file, signed queries, one request, the nginx
configuration, the report, and the idle-connection measurement."""

import hashlib
import socket
import statistics
import sys
import time

WELCOME = "欢迎关注！回复电影名即可搜索，回复“测试”看看效果。"


def settings(path, token):
    text = f"[setting]\r\nToken={token}\r\n关注回复={WELCOME}\r\n搜索词=\r\n"
    with open(path, "wb") as f:
        f.write(text.encode("gbk"))


def query(token, echostr):
    """A signed query in the order WeChat sends it; without echostr for a message."""
    timestamp, nonce = "1765432100", "271828"
    signature = hashlib.sha1("".join(sorted([token, timestamp, nonce])).encode()).hexdigest()
    echo = f"&echostr={echostr}" if echostr else ""
    print(f"signature={signature}{echo}&timestamp={timestamp}&nonce={nonce}")


def subscribe_body():
    sys.stdout.write(
        "<xml><ToUserName><![CDATA[gh_benchaccount]]></ToUserName>"
        "<FromUserName><![CDATA[oBenchFollower0000000000000]]></FromUserName>"
        "<CreateTime>1765432100</CreateTime><MsgType><![CDATA[event]]></MsgType>"
        "<Event><![CDATA[subscribe]]></Event><EventKey><![CDATA[]]></EventKey></xml>")


def fetch(port, method, path, body_file=None):
    body = open(body_file, "rb").read() if body_file else b""
    head = f"{method} {path} HTTP/1.0\r\nHost: 127.0.0.1\r\n"
    if body_file:
        head += f"Content-Type: text/xml\r\nContent-Length: {len(body)}\r\n"
    with socket.create_connection(("127.0.0.1", int(port)), timeout=10) as s:
        s.sendall(head.encode() + b"\r\n" + body)
        reply = b""
        while chunk := s.recv(65536):
            reply += chunk
    _, _, payload = reply.partition(b"\r\n\r\n")
    if not payload:
        sys.exit(f"no answer body for {method} {path}: {reply!r}")
    sys.stdout.buffer.write(payload)


def free_port():
    with socket.socket() as s:
        s.bind(("127.0.0.1", 0))
        print(s.getsockname()[1])


def nginx_literal(path):
    data = open(path, "rb").read()
    if any(c in data for c in b"'\\$"):
        sys.exit(f"{path}: the reply holds a character nginx would interpret")
    return "'" + data.decode("latin-1") + "'"


def nginx_conf(work, port, verify_reply, subscribe_reply):
    # Written and read as latin-1 so the reply's bytes pass through unchanged.
    sys.stdout.buffer.write(f"""
worker_processes 2;
pid {work}/nginx.pid;
error_log {work}/nginx.err;
daemon on;
events {{ worker_connections 4096; }}
http {{
  access_log {work}/nginx-access.log;  # one line per request, as the endpoint writes
  keepalive_timeout 0;
  client_body_temp_path {work}/body;
  default_type text/html;
  server {{
    listen 127.0.0.1:{port};
    location / {{
      if ($arg_echostr) {{ return 200 {nginx_literal(verify_reply)}; }}
      return 200 {nginx_literal(subscribe_reply)};
    }}
  }}
}}
""".encode("latin-1"))


def report(path):
    runs = {}
    for line in open(path):
        scenario, concurrency, server, rps, p99, cpu = line.split()
        runs.setdefault((scenario, int(concurrency), server), []).append(
            (float(rps), float(p99), int(cpu)))
    print(f"{'scenario':10} {'c':>3} | {'endpoint rps':>12} {'p99 ms':>7} {'cpu us':>6} | "
          f"{'nginx rps':>10} {'p99 ms':>7} {'cpu us':>6} | {'rps ratio':>9} {'cpu ratio':>9}")
    for scenario in ("verify", "subscribe"):
        for concurrency in sorted({c for s, c, _ in runs if s == scenario}):
            row = {}
            for server in ("endpoint", "nginx"):
                samples = runs[(scenario, concurrency, server)]
                row[server] = [statistics.median(x) for x in zip(*samples)]
            e, n = row["endpoint"], row["nginx"]
            print(f"{scenario:10} {concurrency:>3} | {e[0]:>12.0f} {e[1]:>7.2f} {e[2]:>6.0f} | "
                  f"{n[0]:>10.0f} {n[1]:>7.2f} {n[2]:>6.0f} | {e[0] / n[0]:>9.2f} "
                  f"{(e[2] / n[2] if n[2] else float('nan')):>9.2f}")


def rss_kb(pid):
    for line in open(f"/proc/{pid}/status"):
        if line.startswith("VmRSS:"):
            return int(line.split()[1])
    return 0


def idle(port, count, pid):
    sockets = []
    try:
        for _ in range(int(count)):
            sockets.append(socket.create_connection(("127.0.0.1", int(port)), timeout=5))
        time.sleep(1)  # let the endpoint accept them all
        print(f"endpoint RSS with {len(sockets)} idle connections: {rss_kb(pid) / 1024:.1f} MB")
    finally:
        for s in sockets:
            s.close()


COMMANDS = {
    "settings": settings, "query": query, "subscribe-body": subscribe_body, "fetch": fetch,
    "free-port": free_port, "nginx-conf": nginx_conf, "report": report, "idle": idle,
}

if __name__ == "__main__":
    COMMANDS[sys.argv[1]](*sys.argv[2:])
