#!/usr/bin/env python3
"""Soak of the monitor's metrics endpoint: does load on --metrics-listen ever
hold up the reload cycle, and does the monitor's memory stay bounded?

Starts the monitor's console front end on a copy of the examples with
--metrics-listen on a free loopback port and this script as its service
manager (NOTIFY_SOCKET, WATCHDOG_USEC), so that every tick's WATCHDOG=1
arrives here with its time. After a quiet baseline, a client keeps CONNECTIONS
connections open to /metrics at once for the load's duration: some never
finish their request, some send 1 MB of headers, some send a byte now and
then, the rest scrape properly and start over. Meanwhile a well-behaved
scraper asks once a second, a profile file is rewritten every 7 seconds (so
that ticks reload), and the monitor's resident memory is read from
/proc/PID/status. Then the load stops and a quiet tail follows.

Prints the tick intervals, the memory and what the clients got; exits 1 when
a tick interval strays by more than a second from 5 s or the memory under
load grows by more than 32 MB over the baseline. Loopback only, bounded in
time and count.

Usage: bench/metrics_soak.py MONITOR EXAMPLES_FOLDER [--load SECONDS] [--connections N]
"""

import argparse
import os
import resource
import selectors
import shutil
import socket
import statistics
import subprocess
import sys
import tempfile
import threading
import time
import urllib.request

TICK = 5.0
HEADER_MB = b"X-Filler: " + b"a" * (1024 * 1024) + b"\r\n"


def read_status(pid):
    fields = {}
    try:
        with open(f"/proc/{pid}/status") as status:
            for line in status:
                key, _, value = line.partition(":")
                if key in ("VmRSS", "VmHWM"):
                    fields[key] = int(value.split()[0]) / 1024.0  # MB
    except OSError:
        pass
    return fields


class Ticks(threading.Thread):
    """The service manager's side of NOTIFY_SOCKET: the time of every WATCHDOG=1."""

    def __init__(self, path):
        super().__init__(daemon=True)
        self.socket = socket.socket(socket.AF_UNIX, socket.SOCK_DGRAM)
        self.socket.bind(path)
        self.socket.settimeout(0.5)
        self.times = []
        self.ready = threading.Event()
        self.running = True

    def run(self):
        while self.running:
            try:
                message = self.socket.recv(4096)
            except socket.timeout:
                continue
            now = time.monotonic()
            if b"WATCHDOG=1" in message:
                self.times.append(now)
            if b"READY=1" in message:
                self.ready.set()


class Scraper(threading.Thread):
    """A well-behaved Prometheus: one GET a second, ten seconds to answer."""

    def __init__(self, url):
        super().__init__(daemon=True)
        self.url = url
        self.results = []  # (seconds, answered)
        self.running = True

    def run(self):
        while self.running:
            start = time.monotonic()
            try:
                with urllib.request.urlopen(self.url, timeout=10) as answer:
                    answer.read()
                    self.results.append((time.monotonic() - start, answer.status == 200))
            except OSError:
                self.results.append((time.monotonic() - start, False))
            time.sleep(max(0.0, 1.0 - (time.monotonic() - start)))


class Load:
    """CONNECTIONS connections at once, of four kinds, on one selector."""

    KINDS = ("never-finishing", "1 MB headers", "a byte now and then", "proper GET")

    def __init__(self, port, connections):
        self.port = port
        self.wanted = connections
        self.selector = selectors.DefaultSelector()
        self.opened = 0
        self.counts = {kind: 0 for kind in self.KINDS}
        self.answers = {}
        self.refused = 0

    def open_one(self):
        kind = self.KINDS[self.opened % len(self.KINDS)]
        connection = socket.socket()
        connection.setblocking(False)
        connection.connect_ex(("127.0.0.1", self.port))
        state = {"kind": kind, "pending": b"", "next": time.monotonic(), "answer": b""}
        if kind == "never-finishing":
            state["pending"] = b"GET /metrics HTTP/1.1\r\nHost: x\r\n"
        elif kind == "1 MB headers":
            state["pending"] = b"GET /metrics HTTP/1.1\r\n" + HEADER_MB + b"\r\n"
        elif kind == "a byte now and then":
            state["pending"] = b"GET /metrics HTTP/1.1\r\nX-Slow: " + b"b" * 1000
            state["trickle"] = True
        else:
            state["pending"] = b"GET /metrics HTTP/1.1\r\nHost: x\r\nConnection: close\r\n\r\n"
        self.selector.register(connection, selectors.EVENT_READ | selectors.EVENT_WRITE, state)
        self.opened += 1
        self.counts[kind] += 1

    def close(self, connection, state):
        self.selector.unregister(connection)
        connection.close()
        status = state["answer"][9:12].decode(errors="replace") if state["answer"] else "none"
        key = (state["kind"], status)
        self.answers[key] = self.answers.get(key, 0) + 1

    def run(self, seconds):
        end = time.monotonic() + seconds
        while time.monotonic() < end:
            while len(self.selector.get_map()) < self.wanted and time.monotonic() < end:
                self.open_one()
            for key, events in self.selector.select(timeout=0.2):
                connection, state = key.fileobj, key.data
                try:
                    if events & selectors.EVENT_READ:
                        data = connection.recv(65536)
                        if not data:
                            self.close(connection, state)
                            continue
                        state["answer"] += data[:64]
                    if events & selectors.EVENT_WRITE and state["pending"]:
                        if state.get("trickle"):
                            if time.monotonic() >= state["next"]:
                                connection.send(state["pending"][:1])
                                state["pending"] = state["pending"][1:]
                                state["next"] = time.monotonic() + 2.0
                        else:
                            sent = connection.send(state["pending"])
                            state["pending"] = state["pending"][sent:]
                        if not state["pending"]:
                            self.selector.modify(connection, selectors.EVENT_READ, state)
                except OSError:
                    self.refused += 1
                    self.close(connection, state)
        for key in list(self.selector.get_map().values()):
            self.close(key.fileobj, key.data)


def intervals(times, start, end):
    chosen = [t for t in times if start <= t <= end]
    return [b - a for a, b in zip(chosen, chosen[1:])]


def describe(values):
    if not values:
        return "none"
    return (f"{len(values)} intervals, median {statistics.median(values):.3f} s, "
            f"min {min(values):.3f} s, max {max(values):.3f} s")


def main():
    parser = argparse.ArgumentParser(description="Soak of the monitor's metrics endpoint")
    parser.add_argument("monitor")
    parser.add_argument("examples")
    parser.add_argument("--load", type=float, default=120.0, help="seconds under load (default 120)")
    parser.add_argument("--quiet", type=float, default=30.0, help="seconds before and after the load")
    parser.add_argument("--connections", type=int, default=1000)
    options = parser.parse_args()

    soft, hard = resource.getrlimit(resource.RLIMIT_NOFILE)
    resource.setrlimit(resource.RLIMIT_NOFILE, (min(hard, options.connections + 256), hard))

    work = tempfile.mkdtemp(prefix="velmar-soak-")
    monitor = None
    try:
        data = os.path.join(work, "Project")
        shutil.copytree(options.examples, data)
        ticks = Ticks(os.path.join(work, "notify"))
        ticks.start()
        environment = {k: v for k, v in os.environ.items() if k not in ("DISPLAY", "WAYLAND_DISPLAY")}
        environment.update(NOTIFY_SOCKET=os.path.join(work, "notify"), WATCHDOG_USEC="30000000")
        stderr_path = os.path.join(work, "stderr")
        with open(stderr_path, "w") as stderr:
            monitor = subprocess.Popen([options.monitor, "/PATH:" + data, "--metrics-listen", "127.0.0.1:0"],
                                       stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL, stderr=stderr,
                                       env=environment)
        if not ticks.ready.wait(15):
            raise SystemExit("the monitor did not report READY=1: " + open(stderr_path).read())
        port = None
        for _ in range(50):
            for word in open(stderr_path).read().split():
                if word.startswith("http://127.0.0.1:") and word.endswith("/metrics"):
                    port = int(word.split(":")[2].split("/")[0])
            if port:
                break
            time.sleep(0.1)
        if not port:
            raise SystemExit("the monitor did not name its metrics address: " + open(stderr_path).read())

        memory = []  # (time, RSS MB)
        stop = threading.Event()

        def sample_memory():
            while not stop.is_set():
                memory.append((time.monotonic(), read_status(monitor.pid).get("VmRSS", 0.0)))
                stop.wait(1.0)

        def touch_profiles():
            path = os.path.join(data, "Profiles", "Profile_0002.dat")
            flag = 0
            while not stop.wait(7.0):
                with open(path, "r+b") as profile:
                    profile.seek(4)
                    profile.write(b"\xff\xff" if flag == 0 else b"\x00\x00")
                flag ^= 1

        helpers = [threading.Thread(target=sample_memory, daemon=True),
                   threading.Thread(target=touch_profiles, daemon=True)]
        for helper in helpers:
            helper.start()

        begin = time.monotonic()
        time.sleep(options.quiet)
        load_start = time.monotonic()
        scraper = Scraper(f"http://127.0.0.1:{port}/metrics")
        scraper.start()
        load = Load(port, options.connections)
        load.run(options.load)
        load_end = time.monotonic()
        scraper.running = False
        time.sleep(options.quiet)
        end = time.monotonic()
        stop.set()
        ticks.running = False
        status_after = read_status(monitor.pid)
        monitor.terminate()
        exit_status = monitor.wait(10)

        before = intervals(ticks.times, begin, load_start)
        during = intervals(ticks.times, load_start, load_end)
        after = intervals(ticks.times, load_end, end)
        rss_before = max((m for t, m in memory if t < load_start), default=0.0)
        rss_during = max((m for t, m in memory if load_start <= t <= load_end), default=0.0)
        rss_after = max((m for t, m in memory if t > load_end), default=0.0)
        answered = [seconds for seconds, ok in scraper.results if ok]

        print(f"ticks before the load ({options.quiet:.0f} s): {describe(before)}")
        print(f"ticks under load ({options.load:.0f} s, {options.connections} connections at once): {describe(during)}")
        print(f"ticks after the load: {describe(after)}")
        print(f"resident memory: {rss_before:.1f} MB before, at most {rss_during:.1f} MB under load, "
              f"{rss_after:.1f} MB after; peak (VmHWM) {status_after.get('VmHWM', 0.0):.1f} MB")
        print(f"well-behaved scraper under load: {len(answered)} of {len(scraper.results)} answered"
              + (f", median {statistics.median(answered) * 1000:.0f} ms, max {max(answered):.2f} s"
                 if answered else ""))
        print(f"load: {load.opened} connections opened in all; "
              + ", ".join(f"{kind}: {count}" for kind, count in load.counts.items()))
        print("answers: " + ", ".join(f"{kind} -> {status}: {count}"
                                     for (kind, status), count in sorted(load.answers.items()))
              + f"; connection errors: {load.refused}")
        print(f"monitor ended with status {exit_status} on SIGTERM")

        worst = max((abs(i - TICK) for i in before + during + after), default=0.0)
        failed = []
        if not during:
            failed.append("no tick under load")
        if worst > 1.0:
            failed.append(f"a tick interval strayed {worst:.2f} s from {TICK:.0f} s")
        if rss_during - rss_before > 32:
            failed.append(f"memory grew by {rss_during - rss_before:.1f} MB under load")
        if exit_status != 0:
            failed.append(f"exit status {exit_status}")
        if failed:
            print("FAIL: " + "; ".join(failed))
            return 1
        print("PASS: ticks kept their rhythm and memory stayed bounded")
        return 0
    finally:
        if monitor is not None and monitor.poll() is None:
            monitor.kill()
            monitor.wait()
        shutil.rmtree(work, ignore_errors=True)


if __name__ == "__main__":
    sys.exit(main())
