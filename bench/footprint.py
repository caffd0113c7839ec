#!/usr/bin/env python3
"""Footprint of the game against the floor program on real X screens.

For each screen size a private Xvfb with openbox is started and stopped
again. On it, both programs are
  - started PROMPT_RUNS times, timing exec to the name prompt's map event
    (seen from outside by xev on the root window, confirmed with xdotool);
    the best run counts;
  - played through one short session with xdotool (name, greeting, five
    answers, close box), reading VmHWM from /proc just before they end;
    the median of MEMORY_RUNS sessions counts.
Then frame_times gives the in-process figures at 3840x2160, closure.py
what each program and the peers install beyond the X11 basics, and one
table is printed. Every wait has a deadline; everything started here is stopped
on the way out, whatever happens.
"""
import json
import os
import queue
import select
import shutil
import signal
import statistics
import subprocess
import sys
import tempfile
import threading
import time

import closure

PROMPT_TITLE = "Numerella del dieci"
SCREENS = ((1280, 800), (1920, 1080), (3840, 2160))
FRAME_MS = 1000 / 60
GOAL_RATIO = 1.15
MEMORY_GOAL_RATIO = 0.95
INSTALL_GOAL_MIB = 40
# What a teacher could install instead: an arithmetic drill game, an
# educational suite and a fractions trainer from the Debian archive.
PEERS = ("tuxmath", "gcompris-qt", "jfractionlab")


class Failure(Exception):
    pass


owned = []  # every process started here, stopped in reverse order at the end


def start(command, **kwargs):
    proc = subprocess.Popen(command, **kwargs)
    owned.append(proc)
    return proc


def stop(proc, grace=3.0):
    if proc.poll() is None:
        proc.terminate()
        try:
            proc.wait(grace)
        except subprocess.TimeoutExpired:
            proc.kill()
            proc.wait(5)
    if proc in owned:
        owned.remove(proc)


def stop_all():
    for proc in reversed(list(owned)):
        try:
            stop(proc, grace=1.0)
        except Exception:
            pass


def run(command, env, timeout=10):
    """A short X client; its stdout, or a Failure when it hangs."""
    try:
        return subprocess.run(command, env=env, capture_output=True, text=True, timeout=timeout).stdout
    except subprocess.TimeoutExpired:
        raise Failure(f"{command[0]} did not answer within {timeout} s")


def visible_windows(title, env):
    return run(["xdotool", "search", "--onlyvisible", "--name", f"^{title}$"], env).split()


def wait_window(title, env, other_than=(), limit=20.0):
    deadline = time.monotonic() + limit
    while time.monotonic() < deadline:
        found = [w for w in visible_windows(title, env) if w not in other_than]
        if found:
            return found[-1]
        time.sleep(0.05)
    raise Failure(f"no window titled '{title}' within {limit:.0f} s")


def peak_kib(pid):
    """VmHWM of a live process, or None once it is gone."""
    try:
        with open(f"/proc/{pid}/status") as status:
            for line in status:
                if line.startswith("VmHWM:"):
                    return int(line.split()[1])
    except OSError:
        pass
    return None


class Screen:
    """A private Xvfb at one size with openbox managing it, and an xev on the
    root window whose map events come with the time they were read."""

    def __init__(self, width, height, logs):
        self.size = f"{width}x{height}"
        read_end, write_end = os.pipe()
        self.server = start(["Xvfb", "-displayfd", str(write_end), "-screen", "0", f"{width}x{height}x24",
                             "-nolisten", "tcp", "-noreset"],
                            pass_fds=(write_end,), stdout=logs, stderr=logs)
        os.close(write_end)
        display = b""
        deadline = time.monotonic() + 15
        while not display.endswith(b"\n"):
            remaining = deadline - time.monotonic()
            if remaining <= 0 or self.server.poll() is not None:
                raise Failure(f"Xvfb at {self.size} did not start")
            if select.select([read_end], [], [], min(remaining, 0.5))[0]:
                chunk = os.read(read_end, 16)
                if not chunk:
                    raise Failure(f"Xvfb at {self.size} gave no display number")
                display += chunk
        os.close(read_end)
        # A session bus that leads nowhere: with dbus-x11 installed, a client
        # would otherwise autolaunch a bus that outlives the run.
        self.env = dict(os.environ, DISPLAY=":" + display.decode().strip(),
                        DBUS_SESSION_BUS_ADDRESS="unix:path=/nonexistent")
        self.env.pop("QT_QPA_PLATFORM", None)
        self.wm = start(["openbox", "--sm-disable"], env=self.env, stdout=logs, stderr=logs)
        deadline = time.monotonic() + 15
        while "window id" not in run(["xprop", "-root", "_NET_SUPPORTING_WM_CHECK"], self.env):
            if time.monotonic() > deadline or self.wm.poll() is not None:
                raise Failure(f"openbox did not start at {self.size}")
            time.sleep(0.1)
        self.maps = queue.Queue()
        self.watcher = start(["stdbuf", "-oL", "xev", "-root", "-event", "substructure"], env=self.env,
                             stdout=subprocess.PIPE, stderr=logs, text=True)
        threading.Thread(target=self._read_maps, daemon=True).start()
        time.sleep(0.3)  # xev has selected its events by now

    def _read_maps(self):
        for line in self.watcher.stdout:
            if line.startswith("MapNotify"):
                self.maps.put(time.monotonic())

    def close(self):
        for proc in (self.watcher, self.wm, self.server):
            stop(proc)


def program_env(screen, data_home):
    env = dict(screen.env, XDG_DATA_HOME=data_home, XDG_RUNTIME_DIR=data_home)
    env.setdefault("QT_LOGGING_RULES", "qt.multimedia*=false")
    return env


def time_to_prompt(screen, program, work):
    """Seconds from exec to the map event of the window titled like the
    prompt. The check with xdotool runs after the event, outside the time."""
    while not screen.maps.empty():
        screen.maps.get_nowait()
    with tempfile.TemporaryDirectory(dir=work) as data:
        env = program_env(screen, data)
        began = time.monotonic()
        proc = start([program], env=env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        try:
            last_map = None
            deadline = began + 20
            while time.monotonic() < deadline:
                try:
                    last_map = screen.maps.get(timeout=0.1)
                except queue.Empty:
                    pass
                if proc.poll() is not None:
                    raise Failure(f"{program} ended before its prompt")
                if visible_windows(PROMPT_TITLE, env):
                    # Normally the map event came first; if xev was late, the
                    # moment the window was seen is the best there is.
                    return (last_map or time.monotonic()) - began
            raise Failure(f"{program}: no prompt within 20 s")
        finally:
            stop(proc)


def key(env, *keys):
    run(["xdotool", "key", "--delay", "30", *keys], env)


def type_text(env, text):
    run(["xdotool", "type", "--delay", "30", text], env)


def activate(env, window):
    run(["xdotool", "windowactivate", "--sync", window], env)


def session_peak(screen, program, board_title, work, log_dir):
    """VmHWM in KiB after a short session: name, greeting, five answers with
    the key for the next question after each, then the close box."""
    with tempfile.TemporaryDirectory(dir=work) as data:
        env = program_env(screen, data)
        with open(os.path.join(log_dir, os.path.basename(program) + f"-{screen.size}.log"), "w") as log:
            proc = start([program], env=env, stdout=log, stderr=log)
            try:
                prompt = wait_window(PROMPT_TITLE, env)
                activate(env, prompt)
                type_text(env, "Marta")
                key(env, "Return")
                greeting = wait_window(PROMPT_TITLE, env, other_than=(prompt,))
                activate(env, greeting)
                key(env, "Return")
                board = wait_window(board_title, env)
                time.sleep(0.5)
                activate(env, board)
                for _ in range(5):
                    type_text(env, "50")
                    key(env, "Return")
                    time.sleep(0.3)
                    key(env, "Return")
                    time.sleep(0.3)
                time.sleep(0.5)
                peak = peak_kib(proc.pid)
                if peak is None or proc.poll() is not None:
                    raise Failure(f"{program} ended during the session")
                activate(env, board)
                key(env, "alt+F4")
                # The peak can still grow while the program closes down.
                deadline = time.monotonic() + 15
                while proc.poll() is None and time.monotonic() < deadline:
                    now = peak_kib(proc.pid)
                    peak = max(peak, now or 0)
                    time.sleep(0.01)
                if proc.poll() is None:
                    raise Failure(f"{program} did not end on the close box")
                if proc.returncode != 0:
                    raise Failure(f"{program} ended with status {proc.returncode}")
                return peak
            finally:
                stop(proc)


def frame_figures(program, runs):
    """Median of the medians and the worst of the slowest over `runs` runs."""
    figures = {}
    for _ in range(runs):
        try:
            out = subprocess.run([program], capture_output=True, text=True, timeout=120,
                                 env=dict(os.environ, QT_LOGGING_RULES="qt.multimedia*=false"))
        except subprocess.TimeoutExpired:
            raise Failure("frame_times did not finish within 120 s")
        if out.returncode != 0:
            raise Failure(f"frame_times failed: {out.stderr.strip()}")
        for line in out.stdout.splitlines():
            name, *pairs = line.split()
            if name in ("verdict", "question"):
                values = dict(pair.split("=") for pair in pairs)
                figures.setdefault(name, []).append({k: float(v) for k, v in values.items()})
            elif name == "window":
                figures["window"] = pairs[0]
    return figures


def main():
    build, results = sys.argv[1], sys.argv[2]
    prompt_runs = int(os.environ.get("PROMPT_RUNS", "7"))
    memory_runs = int(os.environ.get("MEMORY_RUNS", "3"))
    game = os.path.join(build, "numerella-del-dieci")
    floor = os.path.join(build, "floor")
    programs = {"game": (game, "Gioca con la numerella del dieci"), "floor": (floor, "Floor")}
    os.makedirs(results, exist_ok=True)
    work = tempfile.mkdtemp(prefix="numerella-bench-")
    try:
        raw = measure(build, programs, prompt_runs, memory_runs, results, work)
    finally:
        shutil.rmtree(work, ignore_errors=True)
    print_table(raw, prompt_runs, memory_runs, results)


def measure(build, programs, prompt_runs, memory_runs, results, work):
    raw = {"screens": {}}
    raw["load_before"] = " ".join(open("/proc/loadavg").read().split()[:3])
    with open(os.path.join(results, "x.log"), "w") as logs:
        for width, height in SCREENS:
            print(f"== {width}x{height}: {prompt_runs} starts and {memory_runs} sessions of each program",
                  file=sys.stderr)
            screen = Screen(width, height, logs)
            try:
                figures = {name: {"prompt": [], "peak": []} for name in programs}
                for name, (program, _) in programs.items():
                    time_to_prompt(screen, program, work)  # warm the file cache
                for _ in range(prompt_runs):
                    for name, (program, _) in programs.items():
                        figures[name]["prompt"].append(time_to_prompt(screen, program, work))
                for _ in range(memory_runs):
                    for name, (program, title) in programs.items():
                        figures[name]["peak"].append(session_peak(screen, program, title, work, results))
                raw["screens"][f"{width}x{height}"] = figures
            finally:
                screen.close()
    print("== frame times at 3840x2160 (offscreen)", file=sys.stderr)
    frames = frame_figures(os.path.join(build, "frame_times"), 3)
    raw["frame_times"] = frames
    print("== install closures beyond the X11 basics", file=sys.stderr)
    root = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
    raw["closure"] = closure.measure(root, {name: program for name, (program, _) in programs.items()}, PEERS)
    with open(os.path.join(results, "footprint.json"), "w") as out:
        json.dump(raw, out, indent=1)
    return raw


def print_table(raw, prompt_runs, memory_runs, results):
    rows = []
    frames = raw["frame_times"]

    def add(screen, figure, ours, floor_value, goal, met, unit):
        ratio = f"{ours / floor_value:.2f}" if floor_value else "-"
        rows.append((screen, figure, unit(ours), unit(floor_value) if floor_value else "-", ratio, goal,
                     "info" if met is None else ("yes" if met else "NO")))

    def mib(kib):
        return f"{kib / 1024:.1f} MiB"

    def ms(seconds_or_ms, scale=1000):
        return f"{seconds_or_ms * scale:.1f} ms"

    for size, figures in raw["screens"].items():
        label = size.replace("x", "×")
        game_prompt, floor_prompt = min(figures["game"]["prompt"]), min(figures["floor"]["prompt"])
        add(label, "time to name prompt (best)", game_prompt, floor_prompt, f"ratio ≤ {GOAL_RATIO}",
            game_prompt / floor_prompt <= GOAL_RATIO, ms)
        game_peak, floor_peak = statistics.median(figures["game"]["peak"]), statistics.median(figures["floor"]["peak"])
        add(label, "peak memory, VmHWM", game_peak, floor_peak, f"ratio ≤ {MEMORY_GOAL_RATIO}",
            game_peak / floor_peak <= MEMORY_GOAL_RATIO, mib)
    in_process = "3840×2160 offscreen"
    for name, figure in (("verdict", "keystroke to painted verdict"), ("question", "key to painted new question")):
        median = statistics.median(r["median_ms"] for r in frames[name])
        slowest = max(r["slowest_ms"] for r in frames[name])
        missed = sum(int(r["missed"]) for r in frames[name])
        rounds = sum(int(r["rounds"]) for r in frames[name])
        add(in_process, f"{figure}, median", median, None, "≤ 16.7 ms", median <= FRAME_MS,
            lambda v: ms(v, 1))
        add(in_process, f"{figure}, slowest ({missed} of {rounds} over a frame)", slowest, None,
            "info", None, lambda v: ms(v, 1))

    installs = raw["closure"]
    add("install", "packages beyond the X11 basics", installs["game"][0], installs["floor"][0], "info", None, str)
    add("install", "installed size beyond the X11 basics", installs["game"][1], installs["floor"][1],
        f"game ≤ {INSTALL_GOAL_MIB} MiB", installs["game"][1] <= INSTALL_GOAL_MIB, lambda v: f"{v:.1f} MiB")

    headers = ("screen", "figure", "game", "floor", "ratio", "goal", "met")
    widths = [max(len(r[i]) for r in rows + [headers]) for i in range(len(headers))]

    def line(cells):
        return "| " + " | ".join(c.ljust(w) for c, w in zip(cells, widths)) + " |"

    print(line(headers))
    print("|" + "|".join("-" * (w + 2) for w in widths) + "|")
    for r in rows:
        print(line(r))
    verdicts = [r[-1] for r in rows if r[-1] != "info"]
    with open("/proc/meminfo") as f:
        memory = int(f.readline().split()[1]) / 1048576
    model = next((l.split(":", 1)[1].strip() for l in open("/proc/cpuinfo") if l.startswith("model name")), "?")
    print()
    print(f"{verdicts.count('yes')} of {len(verdicts)} goals met. Prompt: best of {prompt_runs} starts; memory: "
          f"median of {memory_runs} sessions; frames: {rounds} rounds, window {frames.get('window', '?')}.")
    print("Peers beyond the X11 basics: " +
          "; ".join(f"{peer} {installs[peer][0]} packages, {installs[peer][1]:.1f} MiB" for peer in PEERS) + ".")
    print(f"Machine: {os.cpu_count()} CPUs, {model}, {memory:.1f} GiB; load average before {raw['load_before']}, "
          f"after {' '.join(open('/proc/loadavg').read().split()[:3])}. Raw figures: {results}/footprint.json")


if __name__ == "__main__":
    for signum in (signal.SIGINT, signal.SIGTERM, signal.SIGHUP):
        signal.signal(signum, lambda *_: sys.exit(130))
    try:
        main()
    except Failure as failure:
        print(f"bench: {failure}", file=sys.stderr)
        sys.exit(1)
    finally:
        stop_all()
