#!/usr/bin/python3
"""The SGI rgb reader beside Pillow's decoder on the same 4096 x 4096 files.

    bench/image/bench_rgb.py [BUILD_DIR [ROUNDS]]     (default build/native, 9)

Writes a photo-like and a flat picture, each run-length encoded and verbatim,
to the temp folder; decodes each with LoadRgbImageA from BUILD_DIR's
libopenvoskar and with Pillow (python3-pil), alternating, and prints MB/s of
output (10^6 bytes, CPU time, median of ROUNDS), the ratio, and the resident
memory one decode held at its peak beside the output's size; then the speeds
again with the C heap keeping freed memory for the next picture. Each figure
comes from a process of its own. Checks first that both give the same pixels.
Not a test.
"""
import ctypes
import os
import random
import re
import struct
import subprocess
import sys
import tempfile
import time

from PIL import Image, ImageChops, ImageDraw, ImageFilter, ImageOps

SIDE = 4096


class PixelImage(ctypes.Structure):
    _fields_ = [("width", ctypes.c_int32), ("height", ctypes.c_int32), ("pixels", ctypes.POINTER(ctypes.c_ubyte))]


def photo_like():
    """Smooth shapes from a blurred coarse field, grain on a quarter of the
    samples, levels cut to 6 bits: runs in the calm parts, literals elsewhere."""
    def channel(seed):
        rnd = random.Random(seed)
        coarse = Image.frombytes("L", (SIDE // 16, SIDE // 16), rnd.randbytes((SIDE // 16) ** 2))
        smooth = coarse.resize((SIDE, SIDE), Image.BICUBIC).filter(ImageFilter.GaussianBlur(4))
        grain = Image.frombytes("L", (SIDE, SIDE), rnd.randbytes(SIDE * SIDE)).point(
            lambda v: v % 8 if v < 64 else 0)
        return ImageOps.posterize(ImageChops.add(smooth, grain), 6)
    return Image.merge("RGB", [channel(seed) for seed in (1, 2, 3)])


def flat():
    """Large areas of one colour, as in a chart or a screen shot."""
    picture = Image.new("RGB", (SIDE, SIDE), (240, 240, 235))
    draw = ImageDraw.Draw(picture)
    rnd = random.Random(4)
    for _ in range(60):
        x, y = rnd.randrange(SIDE), rnd.randrange(SIDE)
        box = (x, y, x + rnd.randrange(64, 1024), y + rnd.randrange(64, 1024))
        colour = tuple(rnd.randrange(256) for _ in range(3))
        (draw.ellipse if rnd.random() < 0.3 else draw.rectangle)(box, fill=colour)
    return picture


RUN = re.compile(rb"(.)\1{2,}", re.S)


def pack_row(row):
    """Runs of three or more equal samples as run packets, the rest literal."""
    out = bytearray()

    def literal(start, end):
        while start < end:
            count = min(127, end - start)
            out.append(0x80 | count)
            out.extend(row[start:start + count])
            start += count

    at = 0
    for match in RUN.finditer(row):
        start, end = match.span()
        literal(at, start)
        while start < end:
            count = min(127, end - start)
            out += bytes((count, row[start]))
            start += count
        at = end
    literal(at, len(row))
    out.append(0)
    return bytes(out)


def sgi_file(picture, run_length):
    """Most significant byte first, 3 channels, rows bottom first."""
    header = struct.pack(">HBBHHHHII", 474, 1 if run_length else 0, 1, 3, SIDE, SIDE, 3, 0, 255).ljust(512, b"\0")
    planes = [band.transpose(Image.FLIP_TOP_BOTTOM).tobytes() for band in picture.split()]
    rows = [plane[y * SIDE:(y + 1) * SIDE] for plane in planes for y in range(SIDE)]
    if not run_length:
        return header + b"".join(rows)
    packed = [pack_row(row) for row in rows]
    offsets, at = [], 512 + 8 * len(rows)
    for row in packed:
        offsets.append(at)
        at += len(row)
    tables = struct.pack(">%dI" % len(rows), *offsets) + struct.pack(">%dI" % len(rows), *map(len, packed))
    return header + tables + b"".join(packed)


def our_decoder(build):
    library = ctypes.CDLL(os.path.join(build, "libopenvoskar.so"))
    libc = ctypes.CDLL(None)
    library.LoadRgbImageA.restype = ctypes.POINTER(PixelImage)
    library.LoadRgbImageA.argtypes = [ctypes.c_char_p]
    library.tkShowErrorBoxes(0)

    def decode(path, keep=False):
        image = library.LoadRgbImageA(path.encode())
        if not image or not image.contents.pixels:
            return None
        pixels = ctypes.string_at(image.contents.pixels, SIDE * SIDE * 3) if keep else True
        libc.free(image.contents.pixels)
        libc.free(image)
        return pixels
    return decode


def pillow_decode(path, keep=False):
    with Image.open(path) as picture:
        picture.load()
        return picture.transpose(Image.FLIP_TOP_BOTTOM).tobytes() if keep else True


def status_kilobytes(field):
    with open("/proc/self/status") as status:
        for line in status:
            if line.startswith(field):
                return int(line.split()[1])
    return -1


def ask_child(*arguments):
    """This script again, so that every figure comes from a process whose heap
    no other measurement has shaped; its figures, or None after two minutes."""
    try:
        run = subprocess.run([sys.executable, __file__, "--measure"] + [str(a) for a in arguments],
                             capture_output=True, text=True, timeout=120)
        return [float(figure) for figure in run.stdout.split()]
    except (subprocess.TimeoutExpired, ValueError):
        return None


def peak_here(decode, path):
    """The resident memory one decode added at its peak: file, buffers and output."""
    with open("/proc/self/clear_refs", "w") as reset:
        reset.write("5")
    before = status_kilobytes("VmRSS:")
    return (status_kilobytes("VmHWM:") - before) * 1024 / 1e6 if decode(path) else -1


# How the C heap treats picture-sized blocks, the same for both decoders (glibc's
# M_MMAP_MAX, M_MMAP_THRESHOLD, M_TRIM_THRESHOLD): each picture's memory new
# from the system, glibc's way with blocks this large, or freed memory kept and
# handed out again, as a program reading picture after picture may have it.
POLICIES = (("", (65536, 128 * 1024, 128 * 1024)), ("  memory reused", (0, 32 << 20, 1 << 30)))


def time_here(decoders, policy, path, rounds):
    """Median MB/s of each decoder, alternating, after one decode each."""
    libc = ctypes.CDLL(None)
    for option, value in zip((-4, -3, -1), POLICIES[policy][1]):
        libc.mallopt(option, value)
    times = [[], []]
    for decode in decoders:
        decode(path)
    for _ in range(rounds):
        for which in (0, 1):
            start = time.process_time()
            decoders[which](path)
            times[which].append(time.process_time() - start)
    return [SIDE * SIDE * 3 / 1e6 / sorted(t)[len(t) // 2] for t in times]


def measure_here(kind, policy, path, build, rounds):
    decoders = [our_decoder(build), pillow_decode]
    if kind == "peak":
        print(peak_here(decoders[int(policy)], path))
    else:
        print(*time_here(decoders, int(policy), path, int(rounds)))


def main():
    if len(sys.argv) == 7 and sys.argv[1] == "--measure":
        measure_here(*sys.argv[2:])
        return
    build = sys.argv[1] if len(sys.argv) > 1 else "build/native"
    rounds = int(sys.argv[2]) if len(sys.argv) > 2 else 9
    ours = our_decoder(build)
    print("SGI rgb 4096 x 4096: MB/s of output (10^6 bytes, CPU time, median of %d rounds), "
          "peak resident MB per decode" % rounds)
    print("%-22s %10s %10s %7s %10s %10s %10s" % ("form", "ours", "Pillow", "ratio", "ours peak", "peer peak",
                                                 "output MB"))
    folder = tempfile.gettempdir()
    for content, make in (("photo-like", photo_like), ("flat", flat)):
        picture = make()
        for run_length in (True, False):
            name = "%s, %s" % ("run-length" if run_length else "verbatim", content)
            path = os.path.join(folder, "ov_bench_%s_%d.sgi" % (content, run_length))
            with open(path, "wb") as file:
                file.write(sgi_file(picture, run_length))
            try:
                if ours(path, keep=True) != pillow_decode(path, keep=True):
                    print("%-22s the two decoders give different pixels" % name)
                    continue
                for policy, (label, _) in enumerate(POLICIES):
                    speed = ask_child("time", policy, path, build, rounds) or [-1, -1]
                    line = "%-22s %10.1f %10.1f %7.2f" % (label or name, speed[0], speed[1], speed[0] / speed[1])
                    if policy == 0:
                        peaks = [(ask_child("peak", which, path, build, 0) or [-1])[0] for which in (0, 1)]
                        line += "".join("%11.1f" % peak if peak >= 0 else "%11s" % "-" for peak in peaks)
                        line += "%11.1f  (file %.1f MB)" % (SIDE * SIDE * 3 / 1e6, os.path.getsize(path) / 1e6)
                    print(line, flush=True)
            finally:
                os.remove(path)


if __name__ == "__main__":
    main()
