"""The native program's side of the web page's tests: kyr-headless runs a
script or a replay on its virtual clock, and its snapshots are read back as
RGBA pixels to compare with the page's canvas.

The snapshots are 8-bit palette PNGs, as kyr-headless writes them; the
reader also takes 8-bit grey, RGB and RGBA, and refuses anything else
(interlacing, other depths) rather than guessing.
"""
import os
import struct
import subprocess
import zlib

PNG_SIGNATURE = b'\x89PNG\r\n\x1a\n'
CHANNELS = {0: 1, 2: 3, 3: 1, 6: 4}   # colour type -> samples per pixel


class Picture:
    def __init__(self, width, height, rgba):
        self.width, self.height, self.rgba = width, height, rgba

    def cropped(self, width, height):
        """The top-left `width` x `height` pixels."""
        rows = [self.rgba[y * self.width * 4:(y * self.width + width) * 4] for y in range(height)]
        return Picture(width, height, b''.join(rows))

    def pixel(self, x, y):
        at = (y * self.width + x) * 4
        return tuple(self.rgba[at:at + 4])


def _unfilter(data, width, height, bpp):
    stride = width * bpp
    rows, previous, at = [], bytearray(stride), 0
    for _ in range(height):
        kind, line = data[at], bytearray(data[at + 1:at + 1 + stride])
        at += 1 + stride
        if kind == 1:
            for i in range(bpp, stride):
                line[i] = (line[i] + line[i - bpp]) & 255
        elif kind == 2:
            for i in range(stride):
                line[i] = (line[i] + previous[i]) & 255
        elif kind == 3:
            for i in range(stride):
                left = line[i - bpp] if i >= bpp else 0
                line[i] = (line[i] + ((left + previous[i]) >> 1)) & 255
        elif kind == 4:
            for i in range(stride):
                a = line[i - bpp] if i >= bpp else 0
                b, c = previous[i], previous[i - bpp] if i >= bpp else 0
                p = a + b - c
                pa, pb, pc = abs(p - a), abs(p - b), abs(p - c)
                line[i] = (line[i] + (a if pa <= pb and pa <= pc else b if pb <= pc else c)) & 255
        elif kind != 0:
            raise ValueError('unknown PNG filter %d' % kind)
        rows.append(line)
        previous = line
    return rows


def read_png(path):
    with open(path, 'rb') as f:
        data = f.read()
    if not data.startswith(PNG_SIGNATURE):
        raise ValueError('%s is not a PNG' % path)
    at, idat, palette, alpha = 8, [], b'', b''
    while at < len(data):
        length, kind = struct.unpack('>I4s', data[at:at + 8])
        body = data[at + 8:at + 8 + length]
        at += 12 + length
        if kind == b'IHDR':
            width, height, depth, colour, _, _, interlace = struct.unpack('>IIBBBBB', body)
        elif kind == b'PLTE':
            palette = body
        elif kind == b'tRNS':
            alpha = body
        elif kind == b'IDAT':
            idat.append(body)
        elif kind == b'IEND':
            break
    if depth != 8 or colour not in CHANNELS or interlace:
        raise ValueError('%s: depth %d, colour type %d, interlace %d not read here' % (path, depth, colour, interlace))
    bpp = CHANNELS[colour]
    rows = _unfilter(zlib.decompress(b''.join(idat)), width, height, bpp)
    if colour == 3:
        table = [palette[3 * i:3 * i + 3] + bytes([alpha[i] if i < len(alpha) else 255])
                 for i in range(len(palette) // 3)]
        rgba = b''.join(b''.join(table[i] for i in row) for row in rows)
    elif colour == 0:
        rgba = b''.join(bytes((v, v, v, 255)) for row in rows for v in row)
    elif colour == 2:
        rgba = b''.join(bytes(row[i:i + 3]) + b'\xff' for row in rows for i in range(0, len(row), 3))
    else:
        rgba = b''.join(bytes(row) for row in rows)
    return Picture(width, height, rgba)


class Headless:
    """kyr-headless of a native build, run in `folder` (its files go there)."""

    def __init__(self, build, folder):
        self.program = os.path.join(build, 'headless', 'kyr-headless')
        self.folder = folder

    def run(self, script, *options, timeout=120):
        path = os.path.join(self.folder, 'script.txt')
        with open(path, 'w') as f:
            f.write(script)
        done = subprocess.run([self.program, '--script', path] + list(options), cwd=self.folder,
                              stdout=subprocess.DEVNULL, stderr=subprocess.PIPE, text=True, timeout=timeout)
        if done.returncode != 0:
            raise RuntimeError('kyr-headless ended with %d: %s' % (done.returncode, done.stderr.strip()))
        return done

    def file(self, name):
        return os.path.join(self.folder, name)

    def last_frame_ms(self, until_ms):
        """The virtual time of the last frame shown in a run without keys
        that lasts `until_ms`: once the program only waits for keys, the
        picture no longer changes."""
        self.run('at 0 trace frames.txt\n', '--frames', '--until', str(until_ms))
        last = None
        with open(self.file('frames.txt')) as f:
            for line in f:
                if line.startswith('frame '):
                    last = int(line.split()[1])
        os.remove(self.file('frames.txt'))
        return last
