#!/usr/bin/env bash
# Builds the benchmarks, runs them and prints one table: every figure beside
# a floor measured in the same run, their ratio and the goal for it.
#
#   bench/run.sh                      # build dir: <repo>/build
#   BUILD_DIR=/some/dir bench/run.sh
#
# Options through the environment:
#   STARTUP_RUNS   whole-process runs of each start-up program (default 25)
#   MIN_TIME       --benchmark_min_time per repetition, seconds (default 0.1)
#   REPETITIONS    benchmark repetitions; the median is used (default 7)
#
# The raw results stay in <build>/bench-results/. The script fails only when
# something could not be built or run; a missed goal is reported in the table.
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${BUILD_DIR:-$root/build}"
results="$build/bench-results"
startup_runs="${STARTUP_RUNS:-25}"
min_time="${MIN_TIME:-0.1}"
repetitions="${REPETITIONS:-7}"

export QT_QPA_PLATFORM=offscreen
export QT_LOGGING_RULES="${QT_LOGGING_RULES:-qt.multimedia*=false}"

# Everything this script starts or makes is undone on the way out.
runtime_dir="$(mktemp -d)"
pulse_pid=""
cleanup() {
    if [[ -n "$pulse_pid" ]]; then
        kill "$pulse_pid" 2>/dev/null || true
        wait "$pulse_pid" 2>/dev/null || true
    fi
    rm -rf "$runtime_dir"
}
trap cleanup EXIT
export XDG_RUNTIME_DIR="$runtime_dir"

echo "== Building the benchmarks in $build" >&2
if [[ ! -f "$build/CMakeCache.txt" ]]; then
    cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
else
    cmake "$build" >/dev/null
fi
mkdir -p "$results"
if ! cmake --build "$build" -j"$(nproc)" --target numerella_bench startup_board startup_bare \
        >"$results/build.log" 2>&1; then
    tail -n 30 "$results/build.log" >&2
    echo "The benchmarks did not build (log: $results/build.log). They need Google Benchmark" \
         "(libbenchmark-dev) and the tests (NUMERELLA_BUILD_TESTS=ON, NUMERELLA_BUILD_BENCHMARKS=ON)." >&2
    exit 1
fi

# Without an audio server Qt finds no device and a sound call returns at
# once. When PulseAudio is installed (apt-get install pulseaudio) a private
# server with a null sink is started for the run, so the "Qt sound" rows show
# what a keystroke costs when the sound really goes to an audio server.
audio="no audio device"
if [[ "${BENCH_AUDIO:-auto}" != off ]] && command -v pulseaudio >/dev/null 2>&1; then
    HOME="$runtime_dir" pulseaudio -n --daemonize=no --exit-idle-time=-1 --log-target=stderr \
        -L module-null-sink -L "module-native-protocol-unix auth-anonymous=1" \
        >"$results/pulseaudio.log" 2>&1 &
    pulse_pid=$!
    for _ in $(seq 50); do
        [[ -S "$runtime_dir/pulse/native" ]] && break
        sleep 0.1
    done
    if [[ -S "$runtime_dir/pulse/native" ]]; then
        audio="private PulseAudio server, null sink"
    else
        echo "PulseAudio did not start (see $results/pulseaudio.log); sounds go nowhere" >&2
    fi
fi

load_before="$(cut -d' ' -f1-3 /proc/loadavg)"

echo "== Running the benchmarks (about a minute)" >&2
"$build/numerella_bench" \
    --benchmark_min_time="$min_time" \
    --benchmark_repetitions="$repetitions" \
    --benchmark_enable_random_interleaving=true \
    --benchmark_report_aggregates_only=true \
    --benchmark_out="$results/benchmarks.json" \
    --benchmark_out_format=json \
    >"$results/benchmarks.txt" 2>"$results/benchmarks.log"

echo "== Timing start-up, $startup_runs runs of each program" >&2
/usr/bin/python3 - "$build" "$results" "$startup_runs" "$load_before" "$audio" <<'PYTHON'
import json
import os
import statistics
import subprocess
import sys
import tempfile
import time

build, results, runs, load_before, audio = sys.argv[1], sys.argv[2], int(sys.argv[3]), sys.argv[4], sys.argv[5]


def run_once(command, env=None):
    start = time.perf_counter()
    done = subprocess.run([os.path.join(build, command[0])] + command[1:], capture_output=True, text=True,
                          timeout=60, env=env)
    elapsed = time.perf_counter() - start
    if done.returncode != 0:
        sys.exit(f"{' '.join(command)} failed ({done.returncode}): {done.stderr.strip()}")
    peak = None
    for line in done.stdout.splitlines():
        if line.startswith("VmHWM_kB="):
            peak = int(line.split("=", 1)[1])
    if peak is None or peak <= 0:
        sys.exit(f"{' '.join(command)} did not report its peak memory")
    return elapsed, peak * 1024


def time_programs(programs, count, env=None):
    """Two warm-up runs each, then the programs take turns, so that a busy
    moment of the machine falls on all of them alike."""
    for command in programs.values():
        for _ in range(2):
            run_once(command, env)
    samples = {name: [] for name in programs}
    for _ in range(count):
        for name, command in programs.items():
            samples[name].append(run_once(command, env))
    return samples


samples = time_programs({"bare": ["startup_bare"], "label": ["startup_bare", "--label"],
                         "board": ["startup_board"]}, runs)

# The same on a 3840x2160 screen, where every full-window picture is 32 MiB.
screen = os.path.join(results, "screen-3840x2160.json")
with open(screen, "w") as out:
    json.dump({"screens": [{"name": "UHD", "x": 0, "y": 0, "width": 3840, "height": 2160,
                            "logicalDpi": 96, "logicalBaseDpi": 96, "dpr": 1}]}, out)
uhd_env = dict(os.environ, QT_QPA_PLATFORM=f"offscreen:configfile={screen}")
uhd = time_programs({"bare": ["startup_bare"], "board": ["startup_board"]}, max(5, runs // 5), uhd_env)

with open(os.path.join(results, "startup.json"), "w") as out:
    json.dump({"default_screen": samples, "screen_3840x2160": uhd}, out, indent=1)


def median_time(runs_of):
    return statistics.median(t for t, _ in runs_of)


def median_peak(runs_of):
    return statistics.median(p for _, p in runs_of)


with open(os.path.join(results, "benchmarks.json")) as f:
    report = json.load(f)
medians = {}
counters = {}
errors = []
for b in report["benchmarks"]:
    if b.get("error_occurred"):
        errors.append(f"{b['run_name']}: {b.get('error_message')}")
        continue
    if b.get("aggregate_name") != "median":
        continue
    unit = {"ns": 1e-9, "us": 1e-6, "ms": 1e-3, "s": 1.0}[b.get("time_unit", "ns")]
    medians[b["run_name"]] = b["real_time"] * unit
    counters[b["run_name"]] = b
for e in errors:
    print(f"benchmark error: {e}", file=sys.stderr)


def bench_name(name):
    # Google Benchmark appends how the time was taken.
    for key in medians:
        if key == name or key.startswith(name + "/"):
            return key
    return None


def med(name):
    key = bench_name(name)
    return medians.get(key) if key else None


def fmt_time(seconds):
    if seconds is None:
        return "-"
    if seconds < 1e-6:
        return f"{seconds * 1e9:.1f} ns"
    if seconds < 1e-3:
        return f"{seconds * 1e6:.1f} µs"
    if seconds < 1:
        return f"{seconds * 1e3:.2f} ms"
    return f"{seconds:.2f} s"


def fmt_mib(size):
    return f"{size / 1048576:.1f} MiB"


rows = []
verdicts = []


def add(figure, ours, floor, goal, met, fmt=fmt_time):
    ratio = ours / floor if ours is not None and floor else None
    verdict = "info" if met is None else ("yes" if met else "NO")
    if ours is None:
        verdict = "not run"
    if met is not None:
        verdicts.append(verdict)
    rows.append((figure, fmt(ours) if ours is not None else "-", fmt(floor) if floor else "-",
                 f"{ratio:.2f}" if ratio is not None else "-", goal, verdict))


def ratio_goal(ours, floor, limit):
    if ours is None or not floor:
        return False
    return ours / floor <= limit


# 1. Shading against one fill of the same image.
for size in ("792x554", "1920x1080", "3840x2160"):
    ours, floor = med(f"shading/{size}"), med(f"fill/{size}")
    add(f"1 shading {size.replace('x', '×')}", ours, floor, "ratio ≤ 4", ratio_goal(ours, floor, 4))

# 2. Enter in the answer box against four plain setText calls.
floor = med("answer/floor")
for case, label in (("right/recorded_sound", "right, sound recorded"),
                    ("wrong/recorded_sound", "wrong, sound recorded"),
                    ("right/real_sound", "right, Qt sound"),
                    ("wrong/real_sound", "wrong, Qt sound")):
    ours = med(f"answer/{case}")
    met = ours is not None and ours < 1e-3 and ratio_goal(ours, floor, 3)
    add(f"2 answer check, {label}", ours, floor, "ratio ≤ 3, < 1 ms", met)
add("2i first sound ever (Qt)", med("answer/first_sound"), None, "< 16.7 ms (info)", None)
add("2i answer + repaint 1920×1080", med("answer+repaint/right/1920x1080"), None, "< 16.7 ms (info)", None)

# 3. A new question against the shading of the same size (informational).
add("3 question draw 1920×1080", med("question/1920x1080"), med("shading/1920x1080"), "info", None)
add("3i question draw 3840×2160", med("question/3840x2160"), med("shading/3840x2160"), "info", None)
add("3i question after wrong 1920×1080", med("question_after_wrong/1920x1080"), med("shading/1920x1080"),
    "info", None)
add("3i question + repaint 1920×1080", med("question+repaint/1920x1080"), None, "< 16.7 ms (info)", None)
add("3i question + repaint 3840×2160", med("question+repaint/3840x2160"), None, "< 16.7 ms (info)", None)

# 4 and 5. Whole processes: the board against a bare maximised window.
board_time, bare_time = median_time(samples["board"]), median_time(samples["bare"])
add(f"4 start-up to first question ({runs} runs)", board_time, bare_time, "ratio ≤ 1.5",
    board_time / bare_time <= 1.5)
add("4i start-up, floor with one label", board_time, median_time(samples["label"]), "info", None)
add("4i start-up, 3840×2160 screen", median_time(uhd["board"]), median_time(uhd["bare"]), "info", None)
board_peak, bare_peak = median_peak(samples["board"]), median_peak(samples["bare"])
add("5 peak resident size (VmHWM)", board_peak, bare_peak, "ratio ≤ 1.3", board_peak / bare_peak <= 1.3,
    fmt=fmt_mib)
add("5i peak resident, floor with one label", board_peak, median_peak(samples["label"]), "info", None,
    fmt=fmt_mib)
add("5i peak resident, 3840×2160 screen", median_peak(uhd["board"]), median_peak(uhd["bare"]), "info", None,
    fmt=fmt_mib)

# 6. A durable record save against one plain write.
ours = med("save/record")
add("6 record save, both files durable", ours, med("save/floor"), "< 20 ms", ours is not None and ours < 20e-3)

# 7. Caption parsing against strtod.
for case, label in (("12_crlf", '"12\\r\\n"'), ("070", '"070"'), ("empty", '""')):
    ours, floor = med(f"parse/{case}"), med(f"strtod/{case}")
    add(f"7 parseNumber {label}", ours, floor, "ratio ≤ 2", ratio_goal(ours, floor, 2))

headers = ("figure", "ours", "floor", "ratio", "goal", "met?")
widths = [max(len(str(r[i])) for r in rows + [headers]) for i in range(len(headers))]


def line(cells):
    return "| " + " | ".join(str(c).ljust(w) for c, w in zip(cells, widths)) + " |"


print(line(headers))
print("|" + "|".join("-" * (w + 2) for w in widths) + "|")
for r in rows:
    print(line(r))
met = verdicts.count("yes")
print()
print(f"{met} of {len(verdicts)} goals met. Medians of {report['context'].get('num_cpus', '?')}-CPU runs; "
      f"load average before {load_before}, after {' '.join(open('/proc/loadavg').read().split()[:3])}.")
print("Ratios are ours / floor, both taken in this run; 'info' rows carry no goal of their own.")
with open("/proc/meminfo") as f:
    memory = int(f.readline().split()[1]) / 1048576
model = next((l.split(":", 1)[1].strip() for l in open("/proc/cpuinfo") if l.startswith("model name")), "?")
outputs = [counters[k].get("audio_outputs") for k in counters if k.startswith("answer/right/real_sound")]
print(f"Qt sound: {audio}; audio outputs Qt saw: {int(outputs[0]) if outputs and outputs[0] is not None else '?'}.")
print(f"Machine: {os.cpu_count()} CPUs, {model}, {memory:.1f} GiB memory; record files on "
      f"{subprocess.run(['stat', '-f', '-c', '%T', tempfile.gettempdir()], capture_output=True, text=True).stdout.strip()}"
      f" ({tempfile.gettempdir()}).")
if errors:
    print(f"{len(errors)} benchmark(s) reported an error: see {results}/benchmarks.txt")
    sys.exit(1)
PYTHON
