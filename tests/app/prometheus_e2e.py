#!/usr/bin/env python3
"""The monitor's metrics as Prometheus sees them, end to end.

Starts Debian's real prometheus and prometheus-node-exporter on the loopback
address, on free ports: prometheus scrapes the monitor's --metrics-listen
endpoint (job "velmar") and node_exporter (job "node"), whose textfile
collector reads the monitor's --metrics-file. The monitor runs on the console
front end on a copy of the examples. The test changes a profile's active flag
in its file and reads the new value back through Prometheus's HTTP query API,
for both jobs. Exits 77 (skipped) when prometheus or node_exporter is not
installed; everything it starts is stopped again, whatever happens.

Usage: prometheus_e2e.py MONITOR EXAMPLES_FOLDER
"""

import json
import os
import re
import shutil
import signal
import socket
import subprocess
import sys
import tempfile
import time
import urllib.parse
import urllib.request

SKIPPED = 77
PROFILE = "Kontor dagtid"  # inactive in the examples
PROFILE_FILE = "Profile_0002.dat"
ACTIVE_OFFSET = 4  # the 16-bit flag behind the format version and Int0


def free_port():
    with socket.socket() as probe:
        probe.bind(("127.0.0.1", 0))
        return probe.getsockname()[1]


def wait_for(what, check, timeout=60.0):
    deadline = time.monotonic() + timeout
    last = None
    while time.monotonic() < deadline:
        try:
            last = check()
            if last:
                return last
        except OSError as error:  # not listening yet, or refused
            last = error
        time.sleep(0.25)
    raise AssertionError(f"{what}: not within {timeout:.0f} s (last: {last!r})")


def http_get(url):
    with urllib.request.urlopen(url, timeout=5) as answer:
        return answer.read().decode()


class Processes:
    """The processes of the test, each stopped with SIGTERM (then SIGKILL)."""

    def __init__(self, work):
        self.work = work
        self.started = []

    def start(self, name, arguments, **options):
        log = open(os.path.join(self.work, name + ".log"), "w")
        process = subprocess.Popen(arguments, stdin=subprocess.DEVNULL, stdout=log,
                                   stderr=options.pop("stderr", subprocess.STDOUT), **options)
        self.started.append((name, process, log))
        return process

    def stop(self, process, timeout=10):
        if process.poll() is None:
            process.send_signal(signal.SIGTERM)
            try:
                process.wait(timeout)
            except subprocess.TimeoutExpired:
                process.kill()
                process.wait()
        return process.returncode

    def stop_all(self):
        for _, process, log in reversed(self.started):
            self.stop(process)
            log.close()

    def log(self, name):
        with open(os.path.join(self.work, name + ".log"), errors="replace") as text:
            return text.read()


def query(prometheus_port, expression):
    url = f"http://127.0.0.1:{prometheus_port}/api/v1/query?" + urllib.parse.urlencode({"query": expression})
    answer = json.loads(http_get(url))
    if answer.get("status") != "success":
        raise AssertionError(f"query {expression}: {answer}")
    return [sample["value"][1] for sample in answer["data"]["result"]]


def main():
    if len(sys.argv) != 3:
        print(__doc__.strip().splitlines()[-1], file=sys.stderr)
        return 2
    monitor, examples = sys.argv[1:]
    for tool in ("prometheus", "prometheus-node-exporter"):
        if shutil.which(tool) is None:
            print(f"{tool} is not installed (scripts/install-deps.sh test installs it); skipped")
            return SKIPPED

    work = tempfile.mkdtemp(prefix="velmar-prometheus-")
    processes = Processes(work)
    try:
        data = os.path.join(work, "Project")
        shutil.copytree(examples, data)
        textfiles = os.path.join(work, "textfiles")
        os.mkdir(textfiles)
        metrics_file = os.path.join(textfiles, "velmar.prom")

        environment = {k: v for k, v in os.environ.items() if k not in ("DISPLAY", "WAYLAND_DISPLAY")}
        stderr_path = os.path.join(work, "monitor.stderr")
        with open(stderr_path, "w") as stderr:
            monitor_process = processes.start(
                "monitor", [monitor, "/PATH:" + data, "--metrics-listen", "127.0.0.1:0",
                            "--metrics-file", metrics_file], env=environment, stderr=stderr)

        def listening_port():
            with open(stderr_path, errors="replace") as text:
                found = re.search(r"http://127\.0\.0\.1:(\d+)/metrics", text.read())
            if monitor_process.poll() is not None:
                raise AssertionError(f"the monitor ended with status {monitor_process.returncode}")
            return int(found.group(1)) if found else None

        monitor_port = wait_for("the monitor names its metrics address", listening_port, 15)
        wait_for("the monitor writes its metrics file", lambda: os.path.exists(metrics_file), 15)
        print(f"monitor: metrics at 127.0.0.1:{monitor_port} and in {metrics_file}")

        node_port = free_port()
        processes.start("node_exporter", [
            "prometheus-node-exporter", f"--web.listen-address=127.0.0.1:{node_port}",
            "--collector.disable-defaults", "--collector.textfile",
            f"--collector.textfile.directory={textfiles}"])

        prometheus_port = free_port()
        config = os.path.join(work, "prometheus.yml")
        with open(config, "w") as text:
            text.write(f"""global:
  scrape_interval: 1s
  evaluation_interval: 1s
scrape_configs:
  - job_name: velmar
    static_configs:
      - targets: ["127.0.0.1:{monitor_port}"]
  - job_name: node
    static_configs:
      - targets: ["127.0.0.1:{node_port}"]
""")
        processes.start("prometheus", [
            "prometheus", f"--config.file={config}", f"--storage.tsdb.path={os.path.join(work, 'tsdb')}",
            f"--web.listen-address=127.0.0.1:{prometheus_port}"])
        wait_for("prometheus is ready", lambda: "Ready" in http_get(f"http://127.0.0.1:{prometheus_port}/-/ready"))

        selector = 'velmar_profile_active{job="%s",profile="' + PROFILE + '"}'
        for job in ("velmar", "node"):
            wait_for(f"job {job}: {PROFILE} inactive", lambda: query(prometheus_port, selector % job) == ["0"])
        print(f"prometheus: {PROFILE} is inactive in both jobs")

        with open(os.path.join(data, "Profiles", PROFILE_FILE), "r+b") as profile:
            profile.seek(ACTIVE_OFFSET)
            profile.write(b"\xff\xff")
        for job in ("velmar", "node"):
            wait_for(f"job {job}: {PROFILE} active", lambda: query(prometheus_port, selector % job) == ["1"])
        print(f"prometheus: {PROFILE} is active in both jobs after the change")

        reloads = query(prometheus_port, 'velmar_reloads_total{job="velmar"}')
        if not reloads or float(reloads[0]) < 2:
            raise AssertionError(f"velmar_reloads_total: {reloads}")
        status = processes.stop(monitor_process)
        if status != 0:
            raise AssertionError(f"the monitor ended with status {status} on SIGTERM")
        print("PASS")
        return 0
    except AssertionError as error:
        print(f"FAIL: {error}")
        for name in ("monitor", "node_exporter", "prometheus"):
            try:
                print(f"--- {name}:\n{processes.log(name)[-3000:]}")
            except OSError:
                pass
        try:
            print(f"--- monitor standard error:\n{open(os.path.join(work, 'monitor.stderr')).read()[-2000:]}")
        except OSError:
            pass
        return 1
    finally:
        processes.stop_all()
        shutil.rmtree(work, ignore_errors=True)


if __name__ == "__main__":
    sys.exit(main())
