#!/usr/bin/env bash
# Loads the endpoint and nginx side by side on loopback with ApacheBench and prints, for the
# verification request and the subscribe message at concurrency 1, 16 and 64: requests per
# second, p99 latency, CPU time per request, and the ratio endpoint / nginx (median of three
# rounds that alternate which server goes first). Then the endpoint's peak RSS after the run and
# its RSS with 1,000 idle connections open.
#
#   bench/endpoint.sh [REQUESTS_PER_RUN]      (default 20000)
#
# ab opens one connection per request and reads every answer to the close. Both servers write
# one access-log line per request to a file.
source "$(dirname "${BASH_SOURCE[0]}")/../scripts/lib.sh"

requests="${1:-20000}"
concurrencies=(1 16 64)
rounds=3
idle_connections=1000

install_missing_packages
install_missing_packages nginx-light apache2-utils python3
build_tree build
ulimit -n 8192

work="$(mktemp -d)"
endpoint_pid=""
nginx_conf="$work/nginx.conf"
cleanup() {
  [[ -n "$endpoint_pid" ]] && kill "$endpoint_pid" 2>/dev/null && wait "$endpoint_pid" 2>/dev/null
  [[ -f "$work/nginx.pid" ]] && nginx -c "$nginx_conf" -s stop 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT

helper="$repo_root/bench/endpoint_probe.py"
token="benchtoken"
python3 "$helper" settings "$work/gzh.ini" "$token"

# --- the endpoint ---------------------------------------------------------------------------
"$repo_root/build/quillfern" --headless --listen 127.0.0.1 --port 0 --settings "$work/gzh.ini" \
  >"$work/endpoint.out" 2>"$work/endpoint.log" &
endpoint_pid=$!
for _ in $(seq 100); do
  grep -q '^listening on' "$work/endpoint.out" 2>/dev/null && break
  sleep 0.05
done
endpoint_port="$(sed -n 's/^listening on 127.0.0.1:\([0-9]*\)$/\1/p' "$work/endpoint.out")"
[[ -n "$endpoint_port" ]] || { echo "the endpoint did not start" >&2; exit 1; }

verify_path="/?$(python3 "$helper" query "$token" 4821907364510093)"
subscribe_path="/?$(python3 "$helper" query "$token" "")&openid=oBenchFollower0000000000000"
python3 "$helper" subscribe-body >"$work/subscribe.xml"
python3 "$helper" fetch "$endpoint_port" GET "$verify_path" >"$work/verify.reply"
python3 "$helper" fetch "$endpoint_port" POST "$subscribe_path" "$work/subscribe.xml" \
  >"$work/subscribe.reply"

# --- nginx answering the same bytes -----------------------------------------------------------
nginx_port="$(python3 "$helper" free-port)"
python3 "$helper" nginx-conf "$work" "$nginx_port" "$work/verify.reply" "$work/subscribe.reply" \
  >"$nginx_conf"
nginx -c "$nginx_conf"
for _ in $(seq 100); do
  [[ -s "$work/nginx.pid" ]] && break
  sleep 0.05
done

# cpu_ticks PID...: user + system clock ticks of the given processes.
cpu_ticks() {
  local total=0 pid fields
  for pid in "$@"; do
    read -ra fields <"/proc/$pid/stat"
    ((total += fields[13] + fields[14]))
  done
  echo "$total"
}
nginx_pids() {
  local master
  master="$(cat "$work/nginx.pid")"
  echo "$master"
  pgrep -P "$master"
}

# load SERVER SCENARIO CONCURRENCY → "rps p99_ms cpu_us_per_request"
load() {
  local server="$1" scenario="$2" concurrency="$3" port pids path
  if [[ "$server" == endpoint ]]; then
    port="$endpoint_port"
    pids=("$endpoint_pid")
  else
    port="$nginx_port"
    mapfile -t pids < <(nginx_pids)
  fi
  local args=(-q -n "$requests" -c "$concurrency" -e "$work/percentiles.csv")
  if [[ "$scenario" == verify ]]; then
    path="$verify_path"
  else
    path="$subscribe_path"
    args+=(-p "$work/subscribe.xml" -T text/xml)
  fi
  local before after
  before="$(cpu_ticks "${pids[@]}")"
  ab "${args[@]}" "http://127.0.0.1:$port$path" >"$work/ab.out" 2>&1 || {
    cat "$work/ab.out" >&2
    return 1
  }
  after="$(cpu_ticks "${pids[@]}")"
  local failed rps p99 ticks_per_second
  failed="$(sed -n 's/^Failed requests: *\([0-9]*\).*/\1/p' "$work/ab.out")"
  [[ "$failed" == 0 ]] || { echo "ab: $failed failed requests on $server" >&2; cat "$work/ab.out" >&2; }
  rps="$(sed -n 's/^Requests per second: *\([0-9.]*\).*/\1/p' "$work/ab.out")"
  p99="$(sed -n 's/^99,\(.*\)$/\1/p' "$work/percentiles.csv")"
  ticks_per_second="$(getconf CLK_TCK)"
  echo "$rps $p99 $(((after - before) * 1000000 / ticks_per_second / requests))"
}

echo "requests per run: $requests; median of $rounds rounds"
results="$work/results"
: >"$results"
for round in $(seq "$rounds"); do
  order=(endpoint nginx)
  ((round % 2 == 0)) && order=(nginx endpoint)
  for scenario in verify subscribe; do
    for concurrency in "${concurrencies[@]}"; do
      for server in "${order[@]}"; do
        echo "$scenario $concurrency $server $(load "$server" "$scenario" "$concurrency")" >>"$results"
      done
    done
  done
done

python3 "$helper" report "$results"

hwm_kb="$(awk '/^VmHWM:/ {print $2}' "/proc/$endpoint_pid/status")"
echo "endpoint peak RSS after the run: $((hwm_kb / 1024)).$(((hwm_kb % 1024) * 10 / 1024)) MB"
python3 "$helper" idle "$endpoint_port" "$idle_connections" "$endpoint_pid"
