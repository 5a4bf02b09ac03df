#!/usr/bin/python3
"""Decodes every stream of the encoder's corpus with djpeg (libjpeg-turbo) and ffmpeg.

usage: check_decoders.py CORPUS_DIR   (the folder jpeg_encoder_corpus wrote, with manifest.txt)

A stream passes when both decoders exit 0 without a single warning, return a picture of the
right size and kind, and that picture is close to the source planes: the PSNR must reach the
floor for the stream's quality. ffmpeg returns the decoded planes as they are (no colour
conversion), so they are compared with the sources directly; djpeg converts YCbCr to RGB, so its
output is compared with the sources converted the same way (chroma repeated, as -nosmooth does).
"""
import os
import subprocess
import sys
import threading
from concurrent.futures import ThreadPoolExecutor
from pathlib import Path

import numpy as np

# Lowest acceptable PSNR in dB per quality, for ffmpeg's planes and djpeg's RGB (which adds the
# rounding of the colour conversion).
FLOOR = {1: (12.0, 12.0), 50: (26.0, 21.0), 100: (47.0, 42.0)}
FFMPEG_PIX_FMT = {1: "yuvj420p", 2: "yuvj422p", 3: "yuvj444p", 4: "gray", 5: "gbrp"}

# ffmpeg 5.1 says "EOI missing, emulating" for many valid streams that do end with EOI,
# libjpeg-turbo's own included: cjpeg's output of these pictures draws it about half the time,
# and jpegtran's re-coding of our baseline streams exactly when ours does. So for a baseline
# stream the line is accepted only when jpegtran's re-coding (same restart interval) draws it
# too, and for any stream only when it ends with EOI.
EOI_QUIRK = "EOI missing, emulating"
# Printed by ffmpeg's raw output side for 1x1 pictures, not by the decoder.
OUTPUT_NOTE = "The bitrate parameter is set too low"
QUIRKS = {1: 0, 2: 0}  # streams whose EOI message was accepted, per mode
LOCK = threading.Lock()


def plane_shapes(fmt, w, h):
    cw = (w + 1) // 2 if fmt in (1, 2) else w
    ch = (h + 1) // 2 if fmt == 1 else h
    return [(h, w)] if fmt == 4 else [(h, w), (ch, cw), (ch, cw)]


def split_planes(data, shapes):
    planes, at = [], 0
    for shape in shapes:
        n = shape[0] * shape[1]
        planes.append(np.frombuffer(data[at:at + n], dtype=np.uint8).reshape(shape).astype(np.float64))
        at += n
    if at != len(data):
        raise ValueError(f"{len(data)} bytes where {at} were expected")
    return planes


def psnr(a, b):
    mse = np.mean((np.asarray(a, np.float64) - np.asarray(b, np.float64)) ** 2)
    return 99.0 if mse == 0 else 10 * np.log10(255.0 ** 2 / mse)


def read_pnm(data):
    # Header: magic, width, height, maxval, each followed by one whitespace byte.
    fields, at = [], 0
    while len(fields) < 4:
        while data[at:at + 1].isspace():
            at += 1
        start = at
        while not data[at:at + 1].isspace():
            at += 1
        fields.append(data[start:at])
    at += 1
    magic, w, h = fields[0], int(fields[1]), int(fields[2])
    channels = 3 if magic == b"P6" else 1
    return np.frombuffer(data[at:], dtype=np.uint8).reshape(h, w, channels).astype(np.float64)


def expected_rgb(fmt, planes, w, h):
    if fmt == 4:
        return planes[0].reshape(h, w, 1)
    if fmt == 5:
        return np.stack(planes, axis=2)
    ys, xs = np.arange(h), np.arange(w)
    sy = ys // 2 if fmt == 1 else ys
    sx = xs // 2 if fmt in (1, 2) else xs
    y = planes[0]
    cb = planes[1][np.ix_(sy, sx)] - 128
    cr = planes[2][np.ix_(sy, sx)] - 128
    rgb = np.stack([y + 1.402 * cr, y - 0.344136 * cb - 0.714136 * cr, y + 1.772 * cb], axis=2)
    return np.clip(np.floor(rgb + 0.5), 0, 255)


def libjpeg_draws_eoi_quirk(jpg):
    recoded = subprocess.run(["jpegtran", "-restart", "1", str(jpg)], capture_output=True).stdout
    probe = subprocess.run(["ffmpeg", "-hide_banner", "-nostats", "-v", "warning", "-f", "jpeg_pipe",
                            "-i", "-", "-f", "null", "-"], input=recoded, capture_output=True)
    return EOI_QUIRK in probe.stderr.decode(errors="replace")


def check(corpus, line):
    name, source, fmt, mode, w, h, quality = line.split()
    fmt, mode, w, h, quality = int(fmt), int(mode), int(w), int(h), int(quality)
    jpg = corpus / name
    planes = split_planes((corpus / source).read_bytes(), plane_shapes(fmt, w, h))
    problems = []

    dj = subprocess.run(["djpeg", "-nosmooth", "-pnm", str(jpg)], capture_output=True)
    if dj.returncode != 0 or dj.stderr:
        problems.append(f"djpeg exit {dj.returncode}: {dj.stderr.decode(errors='replace').strip()}")
        dj_psnr = 0.0
    else:
        got = read_pnm(dj.stdout)
        want = expected_rgb(fmt, planes, w, h)
        if got.shape != want.shape:
            problems.append(f"djpeg gave {got.shape}, expected {want.shape}")
            dj_psnr = 0.0
        else:
            dj_psnr = psnr(got, want)

    ff = subprocess.run(["ffmpeg", "-hide_banner", "-nostats", "-v", "warning", "-xerror",
                         "-i", str(jpg), "-f", "rawvideo", "-pix_fmt", FFMPEG_PIX_FMT[fmt], "-"],
                        capture_output=True)
    messages = [m for m in ff.stderr.decode(errors="replace").splitlines() if OUTPUT_NOTE not in m]
    ends_with_eoi = jpg.read_bytes()[-2:] == b"\xff\xd9"
    if (any(EOI_QUIRK in m for m in messages) and ends_with_eoi
            and (mode == 2 or libjpeg_draws_eoi_quirk(jpg))):
        messages = [m for m in messages if EOI_QUIRK not in m]
        with LOCK:
            QUIRKS[mode] += 1
    if ff.returncode != 0 or messages:
        problems.append(f"ffmpeg exit {ff.returncode}: {'; '.join(messages)}")
        ff_psnr = 0.0
    else:
        try:
            got = split_planes(ff.stdout, plane_shapes(fmt, w, h))
            if fmt == 5:  # gbrp holds G, B, R
                got = [got[2], got[0], got[1]]
            ff_psnr = psnr(np.concatenate([p.ravel() for p in got]),
                           np.concatenate([p.ravel() for p in planes]))
        except ValueError as error:
            problems.append(f"ffmpeg output: {error}")
            ff_psnr = 0.0

    ff_floor, dj_floor = FLOOR[quality]
    if ff_psnr < ff_floor:
        problems.append(f"ffmpeg PSNR {ff_psnr:.2f} dB below {ff_floor}")
    if dj_psnr < dj_floor:
        problems.append(f"djpeg PSNR {dj_psnr:.2f} dB below {dj_floor}")
    with LOCK:
        print(f"{name:28} {jpg.stat().st_size:8} bytes  ffmpeg {ff_psnr:6.2f} dB  djpeg {dj_psnr:6.2f} dB"
              + ("  FAIL: " + "; ".join(problems) if problems else ""), flush=True)
    return not problems


def main():
    corpus = Path(sys.argv[1])
    lines = (corpus / "manifest.txt").read_text().split("\n")
    lines = [line for line in lines if line.strip()]
    if not lines:
        print("check_decoders: empty manifest")
        return 1
    # The decoders run as separate processes; check a few streams at a time.
    with ThreadPoolExecutor(max_workers=os.cpu_count() or 2) as pool:
        results = list(pool.map(lambda line: check(corpus, line), lines))
    failed = results.count(False)
    print(f"check_decoders: ffmpeg's EOI message accepted for {QUIRKS[1]} baseline streams "
          f"(libjpeg-turbo's re-coding draws it too) and {QUIRKS[2]} progressive ones")
    print(f"check_decoders: {len(lines) - failed} of {len(lines)} streams decoded cleanly")
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
