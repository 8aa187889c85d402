#!/usr/bin/env python3
"""Pelidore's GIF export next to gifski and ffmpeg on desktop-like recordings.

Makes the recordings (bench/gif/GifCompare: wallpaper with a photo, windows,
anti-aliased text typed and scrolled, a video-like region and a cursor; about
5 % of the pixels changing per frame), encodes them with pelidore-convert in
each configuration, with gifski and with ffmpeg's two-pass
palettegen/paletteuse when they are present, and prints file size, mean PSNR
as played back (each recorded frame against the picture a viewer shows at
its time) and encode time (median of the runs, wall clock) with the ratios
of one run. Installs nothing: see bench/README.md for getting gifski and
ffmpeg. Needs scripts/build first (build/native).

    bench/compare-encoders.py [--frames N] [--sizes 640x360,1280x720] [--runs 3] [--baseline-runs 1]
"""
import argparse
import os
import re
import shutil
import statistics
import subprocess
import sys
import time
from pathlib import Path

ROOT = Path(__file__).resolve().parent.parent
BIN = ROOT / "build" / "native" / "bin"
WORK = ROOT / "build" / "compare-encoders"
DELAY = 10  # hundredths of a second per recorded frame

# (label, pelidore-convert options, label of what it is compared with as "today")
OURS = [
    ("High Speed + Transparent", ["--transparency"], None),
    ("High Speed + Transparent, Smaller", ["--transparency", "--smaller"], "High Speed + Transparent"),
    ("High Speed + Dithering + Transparent", ["--dithering", "--transparency"], None),
    ("High Speed + Dithering + Transparent, Smaller", ["--dithering", "--transparency", "--smaller"],
     "High Speed + Dithering + Transparent"),
    ("Low Quality", ["--quality", "1"], None),
    ("Low Quality, Smaller", ["--quality", "1", "--smaller"], "Low Quality"),
    ("Medium Quality", ["--quality", "2"], None),
    ("Medium Quality, Smaller", ["--quality", "2", "--smaller"], "Medium Quality"),
    ("High Quality", ["--quality", "3"], None),
    ("High Quality, Smaller", ["--quality", "3", "--smaller"], "High Quality"),
]

# (label, compared with, bound on size ratio, dB over it, bound on time ratio)
TARGETS = [
    ("High Quality, Smaller", "gifski", 1.0, -0.5, 0.5),
    ("Medium Quality, Smaller", "gifski", 0.8, -1.0, 0.3),
    ("Low Quality, Smaller", "ffmpeg two-pass", 0.7, 1.0, 0.2),
    ("High Speed + Transparent, Smaller", "High Speed + Transparent", 0.8, 0.0, 1.0),
    ("High Speed + Dithering + Transparent, Smaller", "High Speed + Dithering + Transparent", 0.8, 0.0, 1.0),
]


def find_gifski():
    if os.environ.get("GIFSKI"):
        return os.environ["GIFSKI"]
    found = shutil.which("gifski")
    if found:
        return found
    npm = ROOT / "build" / "gifski" / "node_modules" / "gifski" / "bin" / "debian" / "gifski"
    return str(npm) if npm.exists() else None


def timed(commands):
    """Runs the commands one after the other: wall and CPU seconds (user and
    system, of every thread) for all of them."""
    before = os.times()
    start = time.perf_counter()
    for command in commands:
        subprocess.run(command, check=True, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    wall = time.perf_counter() - start
    after = os.times()
    return wall, (after.children_user - before.children_user) + (after.children_system - before.children_system)


def score(size, frames, raw, gif):
    out = subprocess.run([str(BIN / "GifCompare"), "score", size, str(frames), str(raw), str(gif), str(DELAY)],
                         check=True, capture_output=True, text=True).stdout.split()
    return float(out[0])


def jobs_for(size, args, gifski, ffmpeg, work, raw):
    """(label, commands, output, runs) of every encoder to measure."""
    width, height = (int(v) for v in size.split("x"))
    jobs = []
    if gifski:
        pngs = sorted(str(p) for p in (work / "png").glob("frame*.png"))
        gif = work / "gifski.gif"
        jobs.append(("gifski", [[gifski, "--quiet", "--fps", str(100 // DELAY), "--width", str(width), "--height",
                                 str(height), "-o", str(gif)] + pngs], gif, args.runs))
    if ffmpeg:
        gif = work / "ffmpeg.gif"
        palette = work / "palette.png"
        source = [ffmpeg, "-v", "error", "-y", "-f", "rawvideo", "-pix_fmt", "bgr24", "-s", size, "-r",
                  str(100 // DELAY), "-i", str(raw)]
        jobs.append(("ffmpeg two-pass", [source + ["-vf", "vflip,palettegen", str(palette)],
                                         source + ["-i", str(palette), "-lavfi", "[0:v]vflip[x];[x][1:v]paletteuse",
                                                   str(gif)]], gif, args.runs))
    for label, options, baseline in OURS:
        if args.only and not re.search(args.only, label):
            continue
        gif = work / (re.sub(r"[^a-z0-9]+", "-", label.lower()) + ".gif")
        runs = args.runs if baseline or "High Speed" in label else args.baseline_runs
        command = [str(BIN / "pelidore-convert"), "encode", "--size", size, "--delay", str(DELAY / 100)]
        jobs.append((label, [command + options + [str(raw), str(gif)]], gif, runs))
    return jobs


def run_size(size, args, gifski, ffmpeg):
    work = WORK / size
    shutil.rmtree(work, ignore_errors=True)
    (work / "png").mkdir(parents=True)
    raw = work / "frames.raw"
    command = [str(BIN / "GifCompare"), "frames", size, str(args.frames), str(raw)]
    made = subprocess.run(command + ([str(work / "png")] if gifski else []), check=True, capture_output=True,
                          text=True).stdout.strip()
    print(f"{size}, {args.frames} frames: {made}", file=sys.stderr)
    jobs = jobs_for(size, args, gifski, ffmpeg, work, raw)
    # Round by round, every encoder once a round: a machine that gets busier
    # or quieter over the minutes weighs on all of them alike.
    times = {label: [] for label, _, _, _ in jobs}
    for round_ in range(max(runs for _, _, _, runs in jobs)):
        for label, commands, _, runs in jobs:
            if round_ < runs:
                times[label].append(timed(commands))
                print(f"  {label}: {times[label][-1][0]:.2f} s", file=sys.stderr)
    return [{"label": label, "bytes": gif.stat().st_size, "psnr": score(size, args.frames, raw, gif),
             "time": statistics.median(t[0] for t in times[label]),
             "cpu": statistics.median(t[1] for t in times[label])} for label, _, gif, _ in jobs]


def print_table(size, results):
    by = {r["label"]: r for r in results}
    baselines = {label: baseline for label, _, baseline in OURS}
    print(f"\n{size}")
    print("| encoder | size | mean PSNR | time (CPU) | size vs gifski / ffmpeg / without Smaller "
          "| time vs gifski / ffmpeg / without Smaller |")
    print("|---|---|---|---|---|---|")
    for r in results:
        others = [by.get("gifski"), by.get("ffmpeg two-pass"), by.get(baselines.get(r["label"]) or "")]
        ratios = [" / ".join(f"{r[key] / o[key]:.2f}x" if o and o is not r else "-" for o in others)
                  for key in ("bytes", "time")]
        print(f"| {r['label']} | {r['bytes'] / 1024:.0f} KiB | {r['psnr']:.2f} dB | {r['time']:.2f} s "
              f"({r['cpu']:.2f} s) | {ratios[0]} | {ratios[1]} |")
    for label, other, size_bound, db, time_bound in TARGETS:
        if label in by and other in by:
            r, o = by[label], by[other]
            ok = r["bytes"] <= size_bound * o["bytes"] and r["psnr"] >= o["psnr"] + db and \
                r["time"] <= time_bound * o["time"]
            print(f"- {label} against {other}: size {r['bytes'] / o['bytes']:.2f}x (<= {size_bound}), "
                  f"PSNR {r['psnr'] - o['psnr']:+.2f} dB (>= {db:+.1f}), time {r['time'] / o['time']:.2f}x "
                  f"(<= {time_bound}; CPU {r['cpu'] / o['cpu']:.2f}x): {'met' if ok else 'NOT met'}")


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--frames", type=int, default=100)
    parser.add_argument("--sizes", default="640x360,1280x720")
    parser.add_argument("--runs", type=int, default=3, help="runs per encoder; the median time is shown")
    parser.add_argument("--baseline-runs", type=int, default=1,
                        help="runs of the slow libimagequant qualities without Smaller files")
    parser.add_argument("--only", help="only our configurations whose label matches this regular expression")
    args = parser.parse_args()
    for tool in ("GifCompare", "pelidore-convert"):
        if not (BIN / tool).exists():
            sys.exit(f"{BIN / tool} is missing: run scripts/build first")
    gifski = find_gifski()
    ffmpeg = os.environ.get("FFMPEG") or shutil.which("ffmpeg")
    for name, path in (("gifski", gifski), ("ffmpeg", ffmpeg)):
        print(f"{name}: {path or 'not found, left out'}", file=sys.stderr)
    tables = [(size, run_size(size, args, gifski, ffmpeg)) for size in args.sizes.split(",")]
    for size, results in tables:
        print_table(size, results)


if __name__ == "__main__":
    main()
