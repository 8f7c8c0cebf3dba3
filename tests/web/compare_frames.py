#!/usr/bin/env python3
"""Compares the frames the web page drew (PNG data URLs in the probe's DOM dump)
with the native capture's frames at the same clock times.

usage: compare_frames.py DOM_HTML CAPTURE_REPORT
Prints one line per frame; exits 1 when a frame differs from its native twin by
more than two browsers' GL rasterisers do (edges, filtering): more than
MAX_DIFFERENT of its pixels off by more than PIXEL_TOLERANCE on some channel."""
import base64
import re
import struct
import sys
import zlib

PIXEL_TOLERANCE = 40
MAX_DIFFERENT = 0.02


def paeth(a, b, c):
    p = a + b - c
    pa, pb, pc = abs(p - a), abs(p - b), abs(p - c)
    return a if pa <= pb and pa <= pc else b if pb <= pc else c


def decode_png(data):
    """(width, height, rows of RGB tuples) of an 8-bit RGB or RGBA PNG."""
    pos, idat = 8, b''
    while pos < len(data):
        length, kind = struct.unpack('>I4s', data[pos:pos + 8])
        body = data[pos + 8:pos + 8 + length]
        pos += 12 + length
        if kind == b'IHDR':
            width, height, depth, colour = struct.unpack('>IIBB', body[:10])
            if depth != 8 or colour not in (2, 6):
                raise ValueError('unsupported PNG (depth %d, colour type %d)' % (depth, colour))
        elif kind == b'IDAT':
            idat += body
    raw = zlib.decompress(idat)
    bpp = 3 if colour == 2 else 4
    stride = width * bpp
    rows, previous, at = [], bytearray(stride), 0
    for _ in range(height):
        kind, line = raw[at], bytearray(raw[at + 1:at + 1 + stride])
        at += 1 + stride
        for x in range(stride):
            a = line[x - bpp] if x >= bpp else 0
            b = previous[x]
            c = previous[x - bpp] if x >= bpp else 0
            line[x] = (line[x] + (0, a, b, (a + b) // 2, paeth(a, b, c))[kind]) & 255
        rows.append([tuple(line[x:x + 3]) for x in range(0, stride, bpp)])
        previous = line
    return width, height, rows


def different_share(web, native):
    (w1, h1, a), (w2, h2, b) = web, native
    if (w1, h1) != (w2, h2):
        return 1.0
    off = sum(1 for ra, rb in zip(a, b) for pa, pb in zip(ra, rb)
              if max(abs(x - y) for x, y in zip(pa, pb)) > PIXEL_TOLERANCE)
    return off / float(w1 * h1)


def main(dom_path, report_path):
    """The page keeps its frames in the order of its check times; the capture, run
    with --at at the same times, lists its pictures in the same order."""
    native = [line.split('\t')[3].rstrip('\n') for line in open(report_path) if line.startswith('png\t')]
    frames = re.findall(r'<img class="frame" data-at="([0-9.]+)" src="data:image/png;base64,([^"]+)"',
                        open(dom_path).read())
    if not frames or len(frames) != len(native):
        print('compare: the page kept %d frames, the capture wrote %d' % (len(frames), len(native)))
        return 1
    failed = 0
    for (at, encoded), native_path in zip(frames, native):
        share = different_share(decode_png(base64.b64decode(encoded)), decode_png(open(native_path, 'rb').read()))
        ok = share <= MAX_DIFFERENT
        failed += not ok
        print('%s frame at %s s: %.2f%% of the pixels differ from the native one' %
              ('ok  ' if ok else 'FAIL', at, 100 * share))
    return 1 if failed else 0


if __name__ == '__main__':
    sys.exit(main(*sys.argv[1:]))
