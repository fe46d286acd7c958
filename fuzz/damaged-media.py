#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Feeds libm9s damaged copies of real media files.

Makes short sources of several container kinds with ffmpeg, damages copies of
them in ways fixed by the seed (flipped bytes, zeroed ranges, truncation,
swapped blocks), runs libm9s on each with a time limit and checks the answer:
exit 0 with an output that libavformat opens, or a non-zero exit whose last
standard-error line is the encoder's own one-line message. A crash, a hang, a
sanitizer report or a garbage file with exit 0 is a finding: its input is
kept in the findings folder and the script exits 1.
"""
import argparse
import concurrent.futures
import os
import random
import shutil
import subprocess
import sys

# name: ffmpeg output options (video from testsrc2, audio from sine).
SOURCES = {
    "mp4": "-c:v mpeg4 -c:a aac",
    "avi": "-c:v mpeg4 -c:a mp2",
    "mkv": "-c:v libx264 -preset ultrafast -c:a libvorbis",
    "mpg": "-f vob -c:v mpeg2video -c:a mp2",
    "asf": "-c:v wmv2 -c:a wmav2",
    "rm": "-c:v rv20 -c:a ac3",
    "mov": "-c:v mjpeg -c:a pcm_s16le",
    "3gp": "-s 176x144 -c:v h263 -c:a aac -ar 8000 -ac 1",
    "flv": "-c:v flv -c:a adpcm_swf -ar 22050",
    "swf": "-c:v flv -c:a libmp3lame -ar 22050",
    "webm": "-c:v libvpx -c:a libvorbis",
}
ENCODE = ("-vcodec mpeg4 -acodec libfaac -f 3gp -b 120k -r 14.98 -s 176x144 "
          "-ar 16000 -ab 12.2k -ac 2").split()


def make_sources(folder):
    paths = []
    for name, options in SOURCES.items():
        path = os.path.join(folder, "source." + name)
        subprocess.run(["ffmpeg", "-v", "error", "-y", "-f", "lavfi", "-i",
                        "testsrc2=size=160x120:rate=12:duration=3", "-f", "lavfi", "-i",
                        "sine=frequency=440:duration=3", *options.split(), path], check=True)
        paths.append(path)
    return paths


def damage(data, rng):
    """A damaged copy and what was done to it; half the hits land in the header."""
    data = bytearray(data)
    def spot(length=1):
        end = min(len(data), 4096) if rng.random() < 0.5 else len(data)
        return rng.randrange(max(1, end - length))
    kind = rng.choice(["flip", "zero", "truncate", "swap", "mixed"])
    for step in range(rng.randint(2, 4) if kind == "mixed" else 1):
        what = rng.choice(["flip", "zero", "truncate", "swap"]) if kind == "mixed" else kind
        if what == "flip":
            for _ in range(rng.randint(1, 16)):
                data[spot()] ^= 1 << rng.randrange(8)
        elif what == "zero":
            length = rng.randint(1, 2048)
            at = spot(length)
            data[at:at + length] = bytes(len(data[at:at + length]))
        elif what == "truncate":
            del data[rng.randrange(1, len(data)):]
        else:
            length = rng.randint(16, 4096)
            a, b = spot(length), spot(length)
            block_a, block_b = data[a:a + length], data[b:b + length]
            if len(block_a) == len(block_b) and abs(a - b) >= length:
                data[a:a + length], data[b:b + length] = block_b, block_a
    return bytes(data), kind


def opens(path):
    """True when libavformat opens the file and finds a stream in it."""
    probe = subprocess.run(["ffprobe", "-v", "error", "-show_entries", "stream=codec_type",
                            "-of", "csv=p=0", path], capture_output=True, text=True)
    return probe.returncode == 0 and probe.stdout.strip() != ""


def judge(encoder, source, output, limit):
    """'converted', 'refused' or the finding as text."""
    try:
        run = subprocess.run([encoder, "-i", source, *ENCODE, "-y", output],
                             stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                             stderr=subprocess.PIPE, timeout=limit)
    except subprocess.TimeoutExpired:
        return "hang: no end within %d s" % limit
    errors = run.stderr.decode("utf-8", "replace")
    if "Sanitizer" in errors or "runtime error:" in errors:
        return "sanitizer report:\n" + errors[-4000:]
    if run.returncode < 0:
        return "crash: signal %d\n%s" % (-run.returncode, errors[-2000:])
    if run.returncode == 0:
        return "converted" if opens(output) else "garbage output with exit 0"
    lines = errors.splitlines()
    own = [line for line in lines if line.startswith("libm9s: ")]
    if len(own) != 1 or lines[-1] != own[0]:
        return "exit %d without one closing message line:\n%s" % (run.returncode, errors[-2000:])
    return "refused"


def main():
    parser = argparse.ArgumentParser(description=__doc__)
    parser.add_argument("--encoder", required=True, help="libm9s to test (an ASan build)")
    parser.add_argument("--work", required=True, help="folder for sources and outputs")
    parser.add_argument("--findings", required=True, help="where inputs of findings are kept")
    parser.add_argument("--count", type=int, default=300, help="damaged files to try")
    parser.add_argument("--seed", type=int, default=14)
    parser.add_argument("--limit", type=int, default=60, help="seconds per run")
    parser.add_argument("--jobs", type=int, default=os.cpu_count() or 1)
    args = parser.parse_args()
    os.makedirs(args.work, exist_ok=True)
    sources = make_sources(args.work)
    originals = {path: open(path, "rb").read() for path in sources}

    def attempt(index):
        rng = random.Random(args.seed * 1_000_003 + index)
        source = sources[index % len(sources)]
        data, kind = damage(originals[source], rng)
        name = "%04d-%s-%s" % (index, kind, os.path.basename(source))
        path = os.path.join(args.work, name)
        with open(path, "wb") as f:
            f.write(data)
        output = path + ".3gp"
        verdict = judge(args.encoder, path, output, args.limit)
        if verdict not in ("converted", "refused"):
            os.makedirs(args.findings, exist_ok=True)
            shutil.copy(path, os.path.join(args.findings, name))
        for leftover in (path, output):
            if os.path.exists(leftover):
                os.remove(leftover)
        return name, verdict

    counts = {"converted": 0, "refused": 0}
    findings = []
    with concurrent.futures.ThreadPoolExecutor(args.jobs) as pool:
        for name, verdict in pool.map(attempt, range(args.count)):
            if verdict in counts:
                counts[verdict] += 1
            else:
                findings.append(name)
                print("FINDING %s: %s" % (name, verdict), flush=True)
    print("damaged media: %d tried, %d converted, %d refused with a message, %d findings%s"
          % (args.count, counts["converted"], counts["refused"], len(findings),
             " (inputs in %s)" % args.findings if findings else ""))
    return 1 if findings else 0


if __name__ == "__main__":
    sys.exit(main())
