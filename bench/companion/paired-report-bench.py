#!/usr/bin/env python3
"""Times `companion --report` against a ten-line mawk script that sums minutes
and cost per user, provider and month, on the same deterministic log set
(40 files, Swedish formats, 1 % lines that are not connections; generated
once into a cache folder). Runs both commands alternately, whole processes,
and prints the medians, the ratio, the companion's peak memory and the
machine's load. With --scale it also times the set of twice the lines, whose
median must stay within 2.1 times the first.

  bench/companion/paired-report-bench.py [--companion PATH] [--lines N]
                                         [--runs N] [--scale] [--cache DIR]
"""

import argparse
import datetime
import os
import statistics
import subprocess
import sys
import time

FILES = 40

# Sums per user, provider (field 8 only) and month; no dates, no report, no checks.
MAWK_SCRIPT = r"""
BEGIN { FS = ";" }
NF >= 8 {
  m = $4; c = $5; sub(/,/, ".", c)
  um[$1] += m; uc[$1] += c; pm[$8] += m; pc[$8] += c
  k = substr($2, 1, 7); mm[k] += m; mc[k] += c
}
END {
  for (k in um) print "u", k, um[k], uc[k]
  for (k in pm) print "p", k, pm[k], pc[k]
  for (k in mm) print "m", k, mm[k], mc[k]
}
"""


class Lcg:
    """The generator of bench/companion/CompileBench.cpp, the same everywhere."""

    def __init__(self):
        self.state = 20010320

    def next(self, bound):
        self.state = (self.state * 6364136223846793005 + 1442695040888963407) % (1 << 64)
        return (self.state >> 33) % bound


def swedish(value):
    return ("%.2f" % value).replace(".", ",")


def log_line(rng):
    if rng.next(100) == 0:
        return ("Abnormal exit on last run:1999-03-20 10:00:00" if rng.next(2)
                else "garbled;line")
    date = datetime.date(1991, 1, 1) + datetime.timedelta(days=rng.next(3652))
    seconds = rng.next(86400)
    minutes = 1 + rng.next(180)
    user = rng.next(300)
    return "user%03d;%s;%02d:%02d:%02d;%d;%s;%s;%s;Provider %d" % (
        user, date.isoformat(), seconds // 3600, seconds // 60 % 60, seconds % 60, minutes,
        swedish(minutes * 0.2375), swedish(rng.next(500) / 100.0),
        swedish(rng.next(700) / 10.0), rng.next(60))


def log_set(cache, lines):
    """The 40 files of a set of `lines` lines, generated when missing."""
    folder = os.path.join(cache, "set-%d" % lines)
    paths = [os.path.join(folder, "access%d.txt" % (f + 1)) for f in range(FILES)]
    if all(os.path.exists(p) for p in paths) and os.path.exists(os.path.join(folder, "done")):
        return paths
    os.makedirs(folder, exist_ok=True)
    print("generating %d lines in %s ..." % (lines, folder), file=sys.stderr)
    rng = Lcg()
    for f, path in enumerate(paths):
        count = lines // FILES + (1 if f < lines % FILES else 0)
        with open(path, "w", encoding="utf-8", newline="") as out:
            out.write("".join(log_line(rng) + "\r\n" for _ in range(count)))
    open(os.path.join(folder, "done"), "w").close()
    return paths


def run_once(command, env):
    """Wall time in seconds and peak resident memory in MB of one whole process."""
    start = time.perf_counter()
    process = subprocess.Popen(command, stdout=subprocess.DEVNULL, stderr=subprocess.PIPE, env=env)
    _, status, usage = os.wait4(process.pid, 0)
    elapsed = time.perf_counter() - start
    errors = process.stderr.read().decode(errors="replace")
    process.stderr.close()
    if os.waitstatus_to_exitcode(status) != 0:
        sys.exit("%s failed: %s" % (command[0], errors.strip()))
    return elapsed, usage.ru_maxrss / 1024.0


def paired(companion, paths, runs, registry):
    env = dict(os.environ, LC_ALL="sv_SE.UTF-8", TOLLWATCH_REGISTRY=registry)
    report = [companion, "--report"] + paths
    mawk = ["mawk", MAWK_SCRIPT] + paths
    times = {"companion": [], "mawk": []}
    peak = 0.0
    run_once(report, env)  # the page cache, for both
    for _ in range(runs):
        elapsed, rss = run_once(report, env)
        times["companion"].append(elapsed)
        peak = max(peak, rss)
        times["mawk"].append(run_once(mawk, env)[0])
    return statistics.median(times["companion"]), statistics.median(times["mawk"]), peak


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--companion",
                        default=os.path.join(here, "..", "..", "build", "bin", "companion"))
    parser.add_argument("--lines", type=int, default=1000000)
    parser.add_argument("--runs", type=int, default=7)
    parser.add_argument("--scale", action="store_true", help="also time twice the lines")
    parser.add_argument("--cache", default=os.path.join(
        os.environ.get("TMPDIR", "/tmp"), "tollwatch-bench"))
    args = parser.parse_args()

    registry = os.path.join(args.cache, "registry.sqlite")
    os.makedirs(args.cache, exist_ok=True)
    sizes = [args.lines] + ([2 * args.lines] if args.scale else [])
    results = {}
    for lines in sizes:
        paths = log_set(args.cache, lines)
        megabytes = sum(os.path.getsize(p) for p in paths) / 1e6
        load = os.getloadavg()[0]
        report, mawk, peak = paired(args.companion, paths, args.runs, registry)
        results[lines] = report
        print("%d lines, %d files, %.0f MB; load %.2f before, %.2f after (%d cores)"
              % (lines, FILES, megabytes, load, os.getloadavg()[0], os.cpu_count()))
        print("  companion --report  median %7.3f s  (peak %.0f MB)" % (report, peak))
        print("  mawk script         median %7.3f s" % mawk)
        print("  ratio               %7.2f   (medians of %d alternating runs)"
              % (report / mawk, args.runs))
    if args.scale:
        print("  %d lines take %.2f times as long as %d"
              % (sizes[1], results[sizes[1]] / results[sizes[0]], sizes[0]))


if __name__ == "__main__":
    main()
