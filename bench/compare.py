#!/usr/bin/env python3
"""Runs Orvanta and Chromium in turn on local sites (ten unless told) and prints what each costs.

Each site is its own loopback address (127.0.0.2 to 127.0.0.11), so the browsers see ten
different sites, as in real use. The server adds a small script to every page that calls back
when the page's load event fires; the time from starting the program to the last call-back is
the load time. Two seconds later the proportional set size (PSS) of every process the program
started is added up. The main window counts as shown when the first top-level window is mapped
on the Xvfb display (watched with xev, without polling). Use bench/compare, which installs and
builds what this needs.

With --idle SECONDS the sites are live dashboards (a chart redrawn on every animation frame, a
clock ticking every second, a spinning indicator, a 30-row table rebuilt every 5 s) and, once
all have loaded, the processor time of the whole process tree over that many seconds is
reported in cores. One site is shown, nine are behind it (in tabs, for Chromium).

With --sites N there are N sites on N addresses (127.0.0.2 on). With --minutes N Orvanta runs
alone on the live dashboards, with no automation, and the memory of its process tree is printed
once a minute for N minutes: PSS, and the private memory each process wrote for itself (USS
without library pages), which does not fall when another program maps the same libraries; at
the end, each process's private memory at minute 5 and at the last minute, largest growth first.
"""

import argparse
import atexit
import http.server
import os
import random
import shutil
import signal
import socket
import statistics
import struct
import subprocess
import sys
import tempfile
import threading
import time
import zlib
from urllib.parse import parse_qs, urlsplit

SITES = 10  # --sites changes it
ADDRESSES = [f"127.0.0.{2 + i}" for i in range(SITES)]
NAMES = ["Sales", "Support", "Builds", "Weather", "Stocks", "Tickets", "Uptime", "Mail", "Wiki", "Traffic"]
WIDTH, HEIGHT = 1280, 800
LOAD_LIMIT_S = 90
SETTLE_S = 2
WORDS = ("status report latency queue region service owner update metric target budget customer "
         "release deploy window incident review change server backlog forecast margin revenue "
         "capacity storage network rollout cluster health signal average weekly monthly").split()


# ---------------------------------------------------------------------------------------------
# The sites: text, a style sheet, a few images and some script, different for every site.

def png(width, height, rng):
    """A noisy gradient, so that it neither compresses to nothing nor looks like a blank."""
    base = [rng.randrange(256) for _ in range(3)]
    rows = bytearray()
    for y in range(height):
        rows.append(0)
        for x in range(width):
            for c in range(3):
                rows.append((base[c] + x * (c + 1) + y * (3 - c) + rng.randrange(24)) & 0xFF)

    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))

    header = struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + chunk(b"IDAT", zlib.compress(bytes(rows), 6))
            + chunk(b"IEND", b""))


def sentence(rng, words):
    text = " ".join(rng.choice(WORDS) for _ in range(words))
    return text[0].upper() + text[1:] + "."


# What a live dashboard adds: work on every animation frame, every second and every 5 s.
LIVE_CSS = """
.spinner { width: 24px; height: 24px; border: 4px solid #fff4; border-top-color: white;
           border-radius: 50%; animation: spin 1s linear infinite; }
@keyframes spin { to { transform: rotate(360deg); } }
"""
LIVE_JS = """
function animate(time) {
  const canvas = document.getElementById("trend");
  const g = canvas.getContext("2d");
  g.clearRect(0, 0, canvas.width, canvas.height);
  g.beginPath();
  for (let x = 0; x < canvas.width; x += 4)
    g.lineTo(x, canvas.height / 2 + Math.sin(x / 30 + time / 300) * canvas.height / 3);
  g.stroke();
  requestAnimationFrame(animate);
}
function rebuildTable() {
  const body = document.querySelector("#figures tbody");
  body.textContent = "";
  for (const [label, amount] of rows.slice(0, 30)) {
    const row = body.insertRow();
    row.insertCell().textContent = label;
    row.insertCell().textContent = money(Math.round(amount * (0.9 + Math.random() / 5)));
    row.insertCell().textContent = (Math.random() * 18 - 9).toFixed(2) + " %";
  }
}
document.addEventListener("DOMContentLoaded", () => {
  requestAnimationFrame(animate); rebuildTable(); setInterval(rebuildTable, 5000);
});
"""


def site_name(number):
    return NAMES[number % len(NAMES)] + (f" {number // len(NAMES) + 1}" if number >= len(NAMES) else "")


def write_site(folder, number, live=False):
    rng = random.Random(number)
    name = site_name(number)
    os.makedirs(folder, exist_ok=True)
    hue = number * 36
    with open(os.path.join(folder, "style.css"), "w") as css:
        css.write(f"""
body {{ margin: 0; font: 14px/1.5 sans-serif; color: #222; background: hsl({hue}, 30%, 97%); }}
header {{ background: hsl({hue}, 60%, 35%); color: white; padding: 12px 24px; display: flex;
         justify-content: space-between; align-items: center; }}
nav a {{ color: white; margin-left: 16px; text-decoration: none; }}
main {{ display: grid; grid-template-columns: 2fr 1fr; gap: 24px; padding: 24px; }}
article {{ background: white; border-radius: 6px; padding: 16px 24px; box-shadow: 0 1px 3px #0002; }}
aside img {{ width: 100%; border-radius: 6px; margin-bottom: 12px; }}
table {{ border-collapse: collapse; width: 100%; }}
td, th {{ border-bottom: 1px solid #ddd; padding: 4px 8px; text-align: left; }}
tr:nth-child(even) {{ background: hsl({hue}, 30%, 95%); }}
.up {{ color: #186a3b; }} .down {{ color: #a93226; }}
#clock {{ font-variant-numeric: tabular-nums; }}
canvas {{ width: 100%; height: 160px; }}
""" + (LIVE_CSS if live else ""))
    for image in range(4):
        with open(os.path.join(folder, f"chart{image}.png"), "wb") as out:
            out.write(png(240 + 40 * image, 160, rng))
    rows = [[sentence(rng, 3)[:-1], rng.randrange(1000, 99999), rng.uniform(-9, 9)] for _ in range(120)]
    with open(os.path.join(folder, "app.js"), "w") as js:
        js.write(f"""
"use strict";
const rows = {[[r[0], r[1], round(r[2], 2)] for r in rows]!r};
function money(value) {{ return value.toLocaleString("en-US"); }}
function fillTable() {{
  const body = document.querySelector("#figures tbody");
  rows.sort((a, b) => b[1] - a[1]);
  for (const [label, amount, change] of rows) {{
    const row = body.insertRow();
    row.insertCell().textContent = label;
    row.insertCell().textContent = money(amount);
    const cell = row.insertCell();
    cell.textContent = (change > 0 ? "+" : "") + change.toFixed(2) + " %";
    cell.className = change > 0 ? "up" : "down";
  }}
}}
function drawChart() {{
  const canvas = document.getElementById("trend");
  canvas.width = canvas.clientWidth; canvas.height = canvas.clientHeight;
  const g = canvas.getContext("2d");
  g.strokeStyle = "hsl({hue}, 60%, 35%)"; g.lineWidth = 2; g.beginPath();
  rows.forEach(([, amount], i) => {{
    const x = i * canvas.width / rows.length, y = canvas.height * (1 - amount / 100000);
    i ? g.lineTo(x, y) : g.moveTo(x, y);
  }});
  g.stroke();
}}
function tick() {{ document.getElementById("clock").textContent = new Date().toLocaleTimeString(); }}
document.addEventListener("DOMContentLoaded", () => {{ fillTable(); drawChart(); tick(); setInterval(tick, 1000); }});
""" + (LIVE_JS if live else ""))
    articles = "".join(
        f"<article><h2>{sentence(rng, 4)[:-1]}</h2>"
        + "".join(f"<p>{' '.join(sentence(rng, rng.randrange(8, 20)) for _ in range(6))}</p>" for _ in range(4))
        + "</article>"
        for _ in range(6))
    images = "".join(f'<img src="chart{i}.png" alt="Chart {i}">' for i in range(4))
    with open(os.path.join(folder, "index.html"), "w") as html:
        html.write(f"""<!DOCTYPE html>
<html lang="en"><head><meta charset="utf-8"><title>{name}</title>
<link rel="stylesheet" href="style.css"><script src="app.js"></script></head>
<body><header><h1>{name}</h1>{'<div class="spinner"></div>' if live else ''}<span id="clock"></span>
<nav><a href="#">Overview</a><a href="#">Reports</a><a href="#">Settings</a></nav></header>
<main><section>{articles}</section>
<aside><canvas id="trend"></canvas>{images}
<table id="figures"><thead><tr><th>Item</th><th>Amount</th><th>Change</th></tr></thead><tbody></tbody></table>
</aside></main></body></html>
""")


# ---------------------------------------------------------------------------------------------
# The server: one per address; it marks every page so that the page reports its load event.

class Beacons:
    def __init__(self):
        self.condition = threading.Condition()
        self.run = 0
        self.loaded = {}

    def begin(self):
        with self.condition:
            self.run += 1
            self.loaded = {}
            return self.run

    def record(self, address, run):
        with self.condition:
            if run == self.run and address not in self.loaded:
                self.loaded[address] = time.monotonic()
                self.condition.notify_all()

    def wait_all(self, deadline):
        with self.condition:
            while len(self.loaded) < SITES and time.monotonic() < deadline:
                self.condition.wait(max(0.0, deadline - time.monotonic()))
            return dict(self.loaded)


class SiteHandler(http.server.BaseHTTPRequestHandler):
    protocol_version = "HTTP/1.1"
    TYPES = {".html": "text/html; charset=utf-8", ".css": "text/css", ".js": "text/javascript",
             ".png": "image/png"}

    def do_GET(self):
        address = self.server.server_address[0]
        url = urlsplit(self.path)
        if url.path == "/loaded":
            run = parse_qs(url.query).get("run", ["0"])[0]
            self.server.beacons.record(address, int(run) if run.isdigit() else 0)
            self.reply(204, "text/plain", b"")
            return
        name = url.path.lstrip("/") or "index.html"
        path = os.path.join(self.server.folder, name)
        if "/" in name or not os.path.isfile(path):
            self.reply(404, "text/plain", b"Not found")
            return
        with open(path, "rb") as source:
            body = source.read()
        extension = os.path.splitext(name)[1]
        if extension == ".html":
            beacon = (f'<script>addEventListener("load", () => fetch("/loaded?run={self.server.beacons.run}",'
                      ' {cache: "no-store", keepalive: true}));</script>').encode()
            body = body.replace(b"</body>", beacon + b"</body>")
        self.reply(200, self.TYPES.get(extension, "application/octet-stream"), body)

    def reply(self, status, kind, body):
        self.send_response(status)
        self.send_header("Content-Type", kind)
        self.send_header("Content-Length", str(len(body)))
        self.send_header("Cache-Control", "no-cache")
        self.end_headers()
        self.wfile.write(body)

    def log_message(self, *args):
        pass


def serve_sites(root, beacons, live):
    servers = []
    port = 0
    for number, address in enumerate(ADDRESSES):
        folder = os.path.join(root, f"site{number}")
        write_site(folder, number, live)
        server = http.server.ThreadingHTTPServer((address, port), SiteHandler)
        server.daemon_threads = True
        server.folder = folder
        server.beacons = beacons
        port = server.server_address[1]
        threading.Thread(target=server.serve_forever, daemon=True).start()
        servers.append(server)
    return [f"http://{address}:{port}/" for address in ADDRESSES], servers


# ---------------------------------------------------------------------------------------------
# The display and its window watcher.

class Display:
    def __init__(self):
        read, write = os.pipe()
        self.xvfb = subprocess.Popen(["Xvfb", "-displayfd", str(write), "-screen", "0", "1920x1080x24",
                                      "-nolisten", "tcp"], pass_fds=[write], stderr=subprocess.DEVNULL)
        os.close(write)
        with os.fdopen(read) as numbers:
            self.name = ":" + numbers.readline().strip()
        self.condition = threading.Condition()
        self.mapped = []
        self.xev = subprocess.Popen(["stdbuf", "-oL", "xev", "-display", self.name, "-root", "-event", "substructure"],
                                    stdout=subprocess.PIPE, text=True)
        threading.Thread(target=self.watch, daemon=True).start()

    def watch(self):
        mapping = False
        for line in self.xev.stdout:
            if line.startswith("MapNotify"):
                mapping = True
            elif mapping:
                mapping = False
                if "override NO" in line:
                    with self.condition:
                        self.mapped.append(time.monotonic())
                        self.condition.notify_all()

    def first_window_after(self, start, deadline):
        with self.condition:
            while True:
                shown = [t for t in self.mapped if t >= start]
                if shown or time.monotonic() >= deadline:
                    return shown[0] if shown else None
                self.condition.wait(max(0.0, deadline - time.monotonic()))

    def unmap_all(self):
        """Unmaps every shown top-level window, as minimising does, and waits until the
        programs have seen it."""
        environment = dict(os.environ, DISPLAY=self.name)
        found = subprocess.run(["xdotool", "search", "--onlyvisible", "--maxdepth", "1", "--name", ""],
                               env=environment, capture_output=True, text=True).stdout.split()
        for window in found:
            subprocess.run(["xdotool", "windowunmap", window], env=environment, stderr=subprocess.DEVNULL)
        time.sleep(SETTLE_S)

    def close(self):
        self.xev.kill()
        self.xvfb.kill()


# ---------------------------------------------------------------------------------------------
# Processes: everything a program starts stays in its session (or below it).

def process_table():
    table = {}
    for entry in os.listdir("/proc"):
        if not entry.isdigit():
            continue
        try:
            with open(f"/proc/{entry}/stat") as stat:
                fields = stat.read().rsplit(")", 1)[1].split()
            table[int(entry)] = (int(fields[1]), int(fields[3]))  # parent, session
        except (OSError, IndexError):
            pass
    return table


def processes_of(leader):
    table = process_table()
    found = {pid for pid, (_, session) in table.items() if session == leader}
    grew = True
    while grew:
        children = {pid for pid, (parent, _) in table.items() if parent in found} - found
        found |= children
        grew = bool(children)
    return found


def rollup_kib(pid, *fields):
    """The sum of the named fields of a process's memory summary, in KiB."""
    total = 0
    try:
        with open(f"/proc/{pid}/smaps_rollup") as rollup:
            for line in rollup:
                name, _, rest = line.partition(":")
                if name in fields:
                    total += int(rest.split()[0])
    except (OSError, ValueError, IndexError):
        pass
    return total


def pss_kib(pid):
    return rollup_kib(pid, "Pss")


def uss_kib(pid):
    """Private memory: what the process has written for itself alone. Pages of a library that
    only this process maps count as private until another program maps the same library, so
    the clean ones are left out: this figure does not move when other programs come and go."""
    return rollup_kib(pid, "Private_Dirty")


def cpu_ticks(pid):
    """User and system time of a process so far, in clock ticks."""
    try:
        with open(f"/proc/{pid}/stat") as stat:
            fields = stat.read().rsplit(")", 1)[1].split()
        return int(fields[11]) + int(fields[12])
    except (OSError, IndexError, ValueError):
        return None


def cpu_cores(leader, seconds):
    """Cores the process tree used over `seconds`, in all and per kind of process."""
    before = {pid: cpu_ticks(pid) for pid in processes_of(leader)}
    time.sleep(seconds)
    per_second = os.sysconf("SC_CLK_TCK")
    total, kinds = 0.0, {}
    table = process_table()
    for pid in processes_of(leader):
        now, then = cpu_ticks(pid), before.get(pid) or 0
        if now is None:
            continue
        cores = (now - then) / per_second / seconds
        total += cores
        kind = kind_of(pid, table)
        kinds[kind] = kinds.get(kind, 0.0) + cores
    return total, kinds


def kind_of(pid, table):
    """The process's role, from its --type switch (Chromium rewrites its command line into one
    string, so it is split on blanks too). A process forked by a zygote is a renderer."""
    try:
        with open(f"/proc/{pid}/cmdline", "rb") as cmdline:
            arguments = cmdline.read().replace(b"\0", b" ").split()
    except OSError:
        return "?"
    switches = dict(a[2:].split(b"=", 1) for a in arguments if a.startswith(b"--") and b"=" in a)
    kind = switches.get(b"type", b"").decode()
    if not kind:
        return os.path.basename(arguments[0].decode(errors="replace")) if arguments else "?"
    if kind == "zygote" and kind_of(table.get(pid, (0, 0))[0], {}) == "zygote":
        return "renderer"
    if b"utility-sub-type" in switches:
        kind += " " + switches[b"utility-sub-type"].split(b".")[-1].decode()
    return kind


def stop(process):
    leader = process.pid
    try:
        os.killpg(leader, signal.SIGTERM)
        process.wait(timeout=20)
    except (ProcessLookupError, subprocess.TimeoutExpired):
        pass
    deadline = time.monotonic() + 20
    while time.monotonic() < deadline:
        left = processes_of(leader)
        if not left:
            break
        for pid in left:
            try:
                os.kill(pid, signal.SIGKILL)
            except ProcessLookupError:
                pass
        time.sleep(0.1)
    process.wait()


# ---------------------------------------------------------------------------------------------
# The two programs.

def start_broker():
    """A mosquitto of its own on a free loopback port, for --mqtt; ended with this script."""
    probe = socket.socket()
    probe.bind(("127.0.0.1", 0))
    port = probe.getsockname()[1]
    probe.close()
    broker = subprocess.Popen(["mosquitto", "-p", str(port)], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    atexit.register(broker.terminate)
    for _ in range(100):
        try:
            socket.create_connection(("127.0.0.1", port), timeout=0.2).close()
            break
        except OSError:
            time.sleep(0.1)
    print(f"Orvanta on the MQTT broker mqtt://127.0.0.1:{port}")
    return broker, port


def orvanta_command(args, folder, urls):
    config = os.path.join(folder, "config", "Quenbrook")
    os.makedirs(config)
    with open(os.path.join(config, "Orvanta.conf"), "w") as settings:
        # With --profiles N the sites take turns in N stores of their own (1: the shared one).
        profiles = ",".join(f"p{i % args.profiles}" if args.profiles > 1 else "" for i in range(SITES))
        settings.write(f'[Sites]\nTitles="{",".join(site_name(i) for i in range(SITES))}"\nUrls="{",".join(urls)}"\n'
                       f'Profiles="{profiles}"\n\n'
                       + (f"[Settings]\nTiles={args.tiles}\n\n" if args.tiles else "")
                       + f"[Forms]\nfrmMainLeft=0\nfrmMainTop=0\nfrmMainWidth={WIDTH}\nfrmMainHeight={HEIGHT}\n")
        if args.mqtt_port:
            settings.write(f"\n[Mqtt]\nBroker=mqtt://127.0.0.1:{args.mqtt_port}\nName=bench\n")
    environment = {"QTWEBENGINE_CHROMIUM_FLAGS": args.orvanta_flags} if args.orvanta_flags else {}
    return [os.path.abspath(args.orvanta)], environment


def chromium_command(args, folder, urls):
    command = ["chromium", f"--user-data-dir={os.path.join(folder, 'profile')}", "--no-first-run",
               "--no-default-browser-check", "--disable-background-networking", "--disable-component-update",
               "--disable-sync", "--password-store=basic", f"--window-size={WIDTH},{HEIGHT}",
               "--window-position=0,0"]
    if os.geteuid() == 0:
        command.append("--no-sandbox")  # Chromium refuses to run its sandbox as root.
    return command + args.chromium_flags.split() + urls, {}


def start(make_command, args, folder, urls, display, log):
    """Starts a program in its own session, with its settings and data under `folder`."""
    command, extra = make_command(args, folder, urls)
    environment = dict(os.environ, DISPLAY=display.name, **extra)
    for variable, sub in (("XDG_CONFIG_HOME", "config"), ("XDG_DATA_HOME", "data"),
                          ("XDG_CACHE_HOME", "cache"), ("XDG_RUNTIME_DIR", "runtime")):
        os.makedirs(os.path.join(folder, sub), mode=0o700, exist_ok=True)
        environment[variable] = os.path.join(folder, sub)
    environment.pop("QT_QPA_PLATFORM", None)
    return subprocess.Popen(command, env=environment, stdout=log, stderr=log, start_new_session=True)


def run_once(name, make_command, args, urls, display, beacons):
    folder = tempfile.mkdtemp(prefix=f"compare-{name.lower()}-")
    try:
        run = beacons.begin()
        with open(os.path.join(folder, "output.log"), "w") as log:
            start_time = time.monotonic()
            process = start(make_command, args, folder, urls, display, log)
            try:
                loaded = beacons.wait_all(start_time + LOAD_LIMIT_S)
                shown = display.first_window_after(start_time, start_time + 1)
                time.sleep(SETTLE_S)
                table = process_table()
                memory = {pid: (pss_kib(pid), kind_of(pid, table)) for pid in processes_of(process.pid)}
                if args.minimised:
                    display.unmap_all()
                cores, cores_by_kind = cpu_cores(process.pid, args.idle) if args.idle else (None, {})
            finally:
                stop(process)
        result = {
            "run": run,
            "shown": (shown - start_time) * 1000 if shown else None,
            "loaded": (max(loaded.values()) - start_time) * 1000 if len(loaded) == SITES else None,
            "missing": [a for a in ADDRESSES if a not in loaded],
            "memory": sum(kib for kib, _ in memory.values()) / 1024,
            "processes": len(memory),
            "cores": cores,
        }
        if args.idle and args.breakdown:
            result["cores_breakdown"] = cores_by_kind
        if args.breakdown:
            parts = {}
            for kib, kind in memory.values():
                parts.setdefault(kind, []).append(kib / 1024)
            result["breakdown"] = parts
        return result
    finally:
        shutil.rmtree(folder, ignore_errors=True)


def run_curve(args, urls, display, beacons):
    """Orvanta alone for args.minutes minutes: its memory once a minute, in all and per process."""
    folder = tempfile.mkdtemp(prefix="compare-curve-")
    try:
        beacons.begin()
        with open(os.path.join(folder, "output.log"), "w") as log:
            process = start(orvanta_command, args, folder, urls, display, log)
            try:
                loaded = beacons.wait_all(time.monotonic() + LOAD_LIMIT_S)
                print(f"{len(loaded)} of {SITES} sites loaded; memory in MiB")
                print(f"{'minute':>6} {'PSS':>7} {'USS':>7} {'program':>8} {'renderers':>9} {'others':>7}")
                began, samples = time.monotonic(), {}
                for minute in range(args.minutes + 1):
                    time.sleep(max(0.0, began + 60 * minute - time.monotonic()))
                    table = process_table()
                    pids = processes_of(process.pid)
                    uss = {pid: uss_kib(pid) / 1024 for pid in pids}
                    kinds = {pid: kind_of(pid, table) for pid in pids}
                    samples[minute] = uss
                    program = sum(v for pid, v in uss.items() if pid == process.pid)
                    renderers = sum(v for pid, v in uss.items() if kinds[pid] == "renderer")
                    print(f"{minute:>6} {sum(pss_kib(pid) for pid in pids) / 1024:7.1f} {sum(uss.values()):7.1f}"
                          f" {program:8.1f} {renderers:9.1f} {sum(uss.values()) - program - renderers:7.1f}",
                          flush=True)
                first = samples.get(5, samples[0])
                last = samples[args.minutes]
                print("process            USS at minute 5 and at the end, MiB")
                for pid in sorted(last, key=lambda p: last[p] - first.get(p, 0), reverse=True):
                    print(f"{pid:>7} {kinds.get(pid, '?'):<12} {first.get(pid, 0):8.1f} {last[pid]:8.1f}")
            finally:
                stop(process)
    finally:
        shutil.rmtree(folder, ignore_errors=True)


def drop_file_cache():
    os.sync()
    try:
        with open("/proc/sys/vm/drop_caches", "w") as caches:
            caches.write("3\n")
        return True
    except OSError:
        return False


def figure(value, digits=0):
    return "-" if value is None else f"{value:.{digits}f}"


def median(results, key):
    values = [r[key] for r in results if r[key] is not None]
    return statistics.median(values) if values else None


def main():
    global SITES, ADDRESSES
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--orvanta", required=True, help="the Orvanta program to run")
    parser.add_argument("--rounds", type=int, default=5, help="A B rounds (at least 3)")
    parser.add_argument("--chromium-flags", default="", help="extra switches for Chromium")
    parser.add_argument("--orvanta-flags", default="", help="QTWEBENGINE_CHROMIUM_FLAGS for Orvanta")
    parser.add_argument("--breakdown", action="store_true", help="print the memory of each kind of process")
    parser.add_argument("--idle", type=float, default=0,
                        help="live dashboards, and the processor time over this many seconds once loaded")
    parser.add_argument("--minimised", action="store_true",
                        help="with --idle: the programs' windows are unmapped (as minimising does) first")
    parser.add_argument("--sites", type=int, default=SITES, help="how many sites, each on its own address")
    parser.add_argument("--profiles", type=int, default=1, help="Orvanta's sites spread over this many profiles")
    parser.add_argument("--minutes", type=int, default=0,
                        help="Orvanta alone with live dashboards: its memory every minute for this many minutes")
    parser.add_argument("--warm", action="store_true",
                        help="keep the kernel's file cache; by default it is emptied before every run, so "
                             "that every start is a cold start, where that is permitted (root)")
    parser.add_argument("--tiles", default="",
                        help="Orvanta shows COLUMNSxROWS sites at once (Chromium still one tab)")
    parser.add_argument("--mqtt", action="store_true",
                        help="Orvanta on a local mosquitto broker, its state sent there as on a fleet")
    args = parser.parse_args()
    args.mqtt_port = 0
    broker = None
    if args.mqtt:
        broker, args.mqtt_port = start_broker()
    if args.rounds < 3:
        parser.error("at least 3 rounds are needed")
    if not 1 <= args.sites <= 250:
        parser.error("from 1 to 250 sites")
    SITES, ADDRESSES = args.sites, [f"127.0.0.{2 + i}" for i in range(args.sites)]
    cold = not args.warm and drop_file_cache()

    beacons = Beacons()
    root = tempfile.mkdtemp(prefix="compare-sites-")
    urls, servers = serve_sites(root, beacons, live=args.idle > 0 or args.minutes > 0)
    if args.idle and "--disable-gpu" not in args.chromium_flags:
        # No graphics card here: Chromium draws in software too, as Orvanta does.
        args.chromium_flags = (args.chromium_flags + " --disable-gpu").strip()
    display = Display()
    time.sleep(0.5)  # lets xev select its events before the first window can appear
    programs = [("Orvanta", orvanta_command), ("Chromium", chromium_command)]
    version = subprocess.run(["chromium", "--version"], capture_output=True, text=True).stdout.strip()
    if args.minutes:
        try:
            print(f"{SITES} live dashboards on {ADDRESSES[0]}..{ADDRESSES[-1]}, Orvanta alone, no automation")
            run_curve(args, urls, display, beacons)
        finally:
            display.close()
            for server in servers:
                server.shutdown()
            shutil.rmtree(root, ignore_errors=True)
        return 0
    print(f"{SITES} sites on {ADDRESSES[0]}..{ADDRESSES[-1]}, window {WIDTH}x{HEIGHT}, display {display.name}")
    print(f"Chromium: {version}; Orvanta: {os.path.abspath(args.orvanta)}")
    print("File cache: " + ("emptied before every run (cold starts)" if cold else
                            "kept (--warm)" if args.warm else "kept (emptying it needs root)"))
    if args.orvanta_flags:
        print(f"Orvanta engine flags: {args.orvanta_flags}")
    if args.chromium_flags:
        print(f"Chromium extra flags: {args.chromium_flags}")
    if args.idle:
        print(f"Live dashboards; processor time over {args.idle:g} s once all have loaded"
              + (", the windows unmapped" if args.minimised else ""))
    print(f"{'round':>5} {'program':<9} {'window ms':>9} {'loaded ms':>9} {'PSS MiB':>8} {'processes':>9}"
          + (f" {'cores':>6}" if args.idle else ""))
    results = {name: [] for name, _ in programs}
    try:
        for round_number in range(1, args.rounds + 1):
            for name, make_command in programs:
                if cold:
                    drop_file_cache()
                result = run_once(name, make_command, args, urls, display, beacons)
                results[name].append(result)
                missing = f"  not loaded: {' '.join(result['missing'])}" if result["missing"] else ""
                cores = f" {figure(result['cores'], 2):>6}" if args.idle else ""
                print(f"{round_number:>5} {name:<9} {figure(result['shown']):>9} {figure(result['loaded']):>9} "
                      f"{figure(result['memory']):>8} {result['processes']:>9}{cores}{missing}", flush=True)
                for kind, sizes in sorted(result.get("breakdown", {}).items()):
                    print(f"{'':>16} {len(sizes):>2} x {kind:<28} {sum(sizes):8.1f} MiB")
                for kind, used in sorted(result.get("cores_breakdown", {}).items()):
                    print(f"{'':>16} {kind:<33} {used:8.3f} cores")
    finally:
        display.close()
        for server in servers:
            server.shutdown()
        shutil.rmtree(root, ignore_errors=True)

    print("median")
    medians = {}
    for name, _ in programs:
        medians[name] = {key: median(results[name], key) for key in ("shown", "loaded", "memory", "cores")}
        m = medians[name]
        cores = f" {figure(m['cores'], 2):>6}" if args.idle else ""
        print(f"{'':>5} {name:<9} {figure(m['shown']):>9} {figure(m['loaded']):>9} {figure(m['memory']):>8}"
              f" {'':>9}{cores}")
    ratios = {}
    for key in ("shown", "loaded", "memory", "cores"):
        a, b = medians["Orvanta"][key], medians["Chromium"][key]
        ratios[key] = a / b if a is not None and b else None
    cores = f" {figure(ratios['cores'], 2):>6}" if args.idle else ""
    print(f"{'ratio':>5} {'O/C':<9} {figure(ratios['shown'], 2):>9} {figure(ratios['loaded'], 2):>9} "
          f"{figure(ratios['memory'], 2):>8} {'':>9}{cores}")
    return 0 if all(r["loaded"] is not None for rs in results.values() for r in rs) else 1


if __name__ == "__main__":
    sys.exit(main())
