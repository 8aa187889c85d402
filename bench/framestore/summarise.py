#!/usr/bin/env python3
"""Turns FrameStoreBench's JSON output into the tables of bench/README.md.

    build/native/bin/FrameStoreBench --benchmark_repetitions=5 \
        --benchmark_report_aggregates_only=true --benchmark_format=json > fs.json
    bench/framestore/summarise.py fs.json

Medians of the repetitions, real time. Ratios are against the memcpy of the
frame and against snappy on the raw frame of the same scene, both measured in
the same run.
"""
import json
import sys

N = 1280 * 720 * 3
SCENES = {0: "identical", 1: "2 % window", 2: "everywhere"}


def main(path):
    with open(path) as f:
        data = json.load(f)
    median = {}
    for b in data["benchmarks"]:
        if b.get("aggregate_name") not in (None, "median"):
            continue
        name = b["run_name"].replace("/real_time", "")
        ms = b["real_time"] if b["time_unit"] == "ms" else b["real_time"] / 1e6
        median[name] = (ms, b.get("ratio"))

    memcpy = median["BM_Memcpy"][0]
    print(f"memcpy of one 1280x720 frame (2 764 800 bytes): {memcpy:.3f} ms, {N / memcpy / 1e3:.0f} MB/s\n")
    print("| scene | snappy raw compress | snappy raw uncompress | encode (delta) | decode (delta) | "
          "encode / memcpy | encode / snappy | decode / memcpy | decode / snappy unc. | blob / raw | snappy / raw |")
    print("|---|---|---|---|---|---|---|---|---|---|---|")
    for s, label in SCENES.items():
        sc, sr = median[f"BM_SnappyRawCompress/{s}"]
        su, _ = median[f"BM_SnappyRawUncompress/{s}"]
        e, er = median[f"BM_EncodeDelta/{s}"]
        d, _ = median[f"BM_DecodeDelta/{s}"]
        print(f"| {label} | {sc:.3f} ms | {su:.3f} ms | **{e:.3f} ms** ({N / e / 1e3:.0f} MB/s) | "
              f"**{d:.3f} ms** ({N / d / 1e3:.0f} MB/s) | {e / memcpy:.1f}x | {e / sc:.2f}x | {d / memcpy:.1f}x | "
              f"{d / su:.2f}x | {er * 100:.3f} % | {sr * 100:.2f} % |")
    print()
    print("| scene | encode key frame | decode key frame | key blob / raw | store Append (file) | "
          "store NextFrame (file) | store bytes per frame / raw |")
    print("|---|---|---|---|---|---|---|")
    for s, label in SCENES.items():
        ek, kr = median[f"BM_EncodeKey/{s}"]
        dk, _ = median[f"BM_DecodeKey/{s}"]
        sa, ar = median[f"BM_StoreAppend/{s}"]
        sn, _ = median[f"BM_StoreNextFrame/{s}"]
        print(f"| {label} | {ek:.3f} ms | {dk:.3f} ms | {kr * 100:.2f} % | {sa:.3f} ms | {sn:.3f} ms | "
              f"{ar * 100:.3f} % |")


if __name__ == "__main__":
    main(sys.argv[1])
