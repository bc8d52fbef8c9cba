#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# A real Prometheus server scrapes the demo's metrics endpoint once a second: it stores the four
# temperatures kestrelonctl status shows, sees kestrelon_up drop to 0 when the panel is pulled,
# and bad clients (a 1 MiB request line, 100 idle connections, garbage, a reader that never
# reads) leave the panel's poll at its once-a-second rhythm.
# Usage: prometheus_scrape.sh KESTRELON_DEMO SKIN_DIR KESTRELONCTL
set -u
demo=$1 skin=$2 ctl=$3
source "$(dirname "$0")/desktop_lib.sh"
need_tools Xvfb tint2 xdpyinfo xprop xsetroot prometheus promtool python3
setup_work

free_port() { python3 -c 'import socket; s=socket.socket(); s.bind(("127.0.0.1",0)); print(s.getsockname()[1])'; }
port=$(free_port) prom_port=$(free_port)
mkdir -p "$XDG_CONFIG_HOME/kestrelon"
printf '[metrics]\nlisten=127.0.0.1:%s\n' "$port" >"$XDG_CONFIG_HOME/kestrelon/kestrelon.conf"

start_x 1024x768
start_tray
start_app --frame-log "$frames"
scrape() { python3 - "$port" <<'PY'
import sys, urllib.request
with urllib.request.urlopen(f"http://127.0.0.1:{sys.argv[1]}/metrics", timeout=5) as r:
    assert r.headers["Content-Type"].startswith("text/plain; version=0.0.4"), r.headers
    sys.stdout.write(r.read().decode())
PY
}
check "the endpoint answers" waitfor 100 eval 'scrape | grep -q "^kestrelon_up 1$"'
check "promtool passes the exposition" eval 'scrape | promtool check metrics'
check_eq "the metrics request through kestrelonctl matches" \
    "$(scrape | grep -c '^kestrelon_temperature_celsius')" \
    "$("$ctl" metrics | grep -c '^kestrelon_temperature_celsius')"

cat >"$work/prometheus.yml" <<YML
global:
  scrape_interval: 1s
  scrape_timeout: 1s
scrape_configs:
  - job_name: kestrelon
    static_configs:
      - targets: ['127.0.0.1:$port']
YML
prometheus --config.file="$work/prometheus.yml" --storage.tsdb.path="$work/tsdb" \
    --web.listen-address="127.0.0.1:$prom_port" >"$work/prometheus.log" 2>&1 &
started $!

# query EXPR: the instant vector as "labels value" lines, sorted.
query() { python3 - "$prom_port" "$1" <<'PY'
import json, sys, urllib.parse, urllib.request
url = f"http://127.0.0.1:{sys.argv[1]}/api/v1/query?" + urllib.parse.urlencode({"query": sys.argv[2]})
with urllib.request.urlopen(url, timeout=5) as r:
    data = json.load(r)["data"]["result"]
for s in sorted(data, key=lambda s: s["metric"].get("sensor", "")):
    print(s["metric"].get("sensor", "-"), s["value"][1])
PY
}
check "Prometheus stores four temperatures" \
    waitfor 300 eval '[ "$(query kestrelon_temperature_celsius 2>/dev/null | wc -l)" = 4 ]'
# The values Prometheus holds against kestrelonctl status, within the drift of a few seconds.
"$ctl" status --json >"$work/status.json"
query kestrelon_temperature_celsius >"$work/stored.txt"
check "the stored temperatures match kestrelonctl status" python3 - "$work/status.json" "$work/stored.txt" <<'PY'
import json, sys
status = json.load(open(sys.argv[1]))
names = {1: "cpu", 2: "hdd", 3: "vga", 4: "case"}
want = {names[c["channel"]]: c["temperature"] for c in status["channels"]}
got = dict(line.split() for line in open(sys.argv[2]))
ok = set(want) == set(got) and all(abs(float(got[k]) - want[k]) <= 3 for k in want)
print("status", want, "stored", got)
sys.exit(0 if ok else 1)
PY

# Bad clients for six seconds, while the frame log counts the poll's temperature reads.
polls() { grep -c '^> 00 14 ' "$frames"; }
before=$(polls)
python3 - "$port" <<'PY' &
import socket, sys, time
port = int(sys.argv[1])
def conn():
    s = socket.create_connection(("127.0.0.1", port)); return s
held = []
huge = conn(); huge.sendall(b"GET /" + b"A" * (1 << 20))
for _ in range(100):
    try: held.append(conn())
    except OSError: pass
junk = conn(); junk.sendall(bytes(range(256)) * 8)
slow = conn(); slow.setsockopt(socket.SOL_SOCKET, socket.SO_RCVBUF, 1024)
slow.sendall(b"GET /metrics HTTP/1.1\r\n\r\n")  # and never reads
time.sleep(6)
PY
abuser=$!
started "$abuser"
sleep 6.5
after=$(polls)
check "the poll kept its rhythm under bad clients ($((after - before)) reads in 6.5 s)" \
    test $((after - before)) -ge 5
check "the endpoint serves again" waitfor 100 eval 'scrape | grep -q "^kestrelon_up 1$"'

check "unplug is accepted" eval '"$ctl" unplug >/dev/null'
check "Prometheus sees kestrelon_up 0" waitfor 150 eval '[ "$(query kestrelon_up)" = "- 0" ]'
check "no stale temperatures are served" eval '! scrape | grep -q "^kestrelon_temperature_celsius"'
check "promtool passes the exposition without a panel" eval 'scrape | promtool check metrics'
check "it runs on" alive "$app"
finish
