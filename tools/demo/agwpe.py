#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-2.0-or-later
"""A small AGWPE client: the demo station's echo path and a command-line monitor.

Every AGWPE frame is a 36-byte header and its data:

    offset  0  port (0-based)        offset  4  kind ('R', 'm', 'U', 'T', ...)
    offset  6  pid                   offset  8  call from, 10 bytes, NUL filled
    offset 18  call to, 10 bytes     offset 28  data length, 32-bit little-endian
    offset 32  user (unused)

As a tool it connects, asks for the version ("R"), switches monitoring on
("m"), optionally sends unproto frames given in monitor form, and prints every
frame it receives. With --expect it ends as soon as every expected text has
been seen in a received frame (status 0), or when the time runs out (status 1).

    tools/demo/agwpe.py --port 8000 --timeout 120 --expect 'T#' \
        --send 'Q9XYZ>APRS,ORVEX-1:!3859.50N/07701.23W-test'
"""

import argparse
import socket
import struct
import sys
import time

HEADER = struct.Struct('<B3xcxBx10s10sI4x')


def encode(kind, port=0, pid=0, call_from='', call_to='', data=b''):
    """One AGWPE frame; kind is a one-letter str, calls are str, data bytes."""
    return HEADER.pack(port, kind.encode('latin-1'), pid, call_from.encode('latin-1'),
                       call_to.encode('latin-1'), len(data)) + data


class Frame:
    def __init__(self, header, data):
        port, kind, pid, call_from, call_to, _ = HEADER.unpack(header)
        self.port = port
        self.kind = kind.decode('latin-1')
        self.pid = pid
        self.call_from = call_from.split(b'\0', 1)[0].decode('latin-1')
        self.call_to = call_to.split(b'\0', 1)[0].decode('latin-1')
        self.data = data

    def text(self):
        return self.data.rstrip(b'\0').decode('latin-1')


def unproto_frame(monitor_text, port=0):
    """The 'M' or 'V' frame that sends SOURCE>DEST[,VIA,...]:TEXT as a UI frame."""
    head, sep, info = monitor_text.partition(':')
    if not sep or '>' not in head:
        raise ValueError('not in monitor form SOURCE>DEST[,PATH]:TEXT: %r' % monitor_text)
    source, _, rest = head.partition('>')
    dest, *via = rest.split(',')
    data = info.encode('latin-1')
    if not via:
        return encode('M', port, 0xF0, source, dest, data)
    path = bytes([len(via)]) + b''.join(v.encode('latin-1').ljust(10, b'\0')[:10] for v in via)
    return encode('V', port, 0xF0, source, dest, path + data)


def repeated_by(frame, digipeater):
    """A monitored UI frame whose path starts with `digipeater`, as heard once that
    digipeater has repeated it ("*" after its call), in monitor form; else None.

    The frame's text is the engine's monitor text: a header line such as
    " 1:Fm Q9XYZ To APRS Via ORVEX-1 <UI pid=F0 Len=25 PF=0 >[12:00:00]", a
    carriage return, then the frame's own text of Len bytes.
    """
    header, sep, rest = frame.text().partition('\r')
    if not sep or ' Via ' not in header or '<UI' not in header:
        return None
    path = header.split(' Via ', 1)[1].split(' <', 1)[0].split(',')
    if path[0] != digipeater:
        return None
    length = header.split('Len=', 1)[1].split(' ', 1)[0] if 'Len=' in header else ''
    info = rest[:int(length)] if length.isdigit() else rest.rstrip('\r')
    if '\n' in info:   # a line end cannot be written in monitor form
        return None
    path[0] += '*'
    return '%s>%s,%s:%s' % (frame.call_from, frame.call_to, ','.join(path), info)


class Client:
    def __init__(self, host, port, timeout=10.0):
        self.sock = socket.create_connection((host, port), timeout=timeout)
        self.buffer = b''

    def send(self, raw):
        self.sock.sendall(raw)

    def receive(self, timeout):
        """The next frame, or None when none came within timeout seconds.

        Raises ConnectionError when the engine closes the link."""
        deadline = time.monotonic() + timeout
        while True:
            if len(self.buffer) >= HEADER.size:
                length = struct.unpack_from('<I', self.buffer, 28)[0]
                if len(self.buffer) >= HEADER.size + length:
                    header = self.buffer[:HEADER.size]
                    data = self.buffer[HEADER.size:HEADER.size + length]
                    self.buffer = self.buffer[HEADER.size + length:]
                    return Frame(header, data)
            left = deadline - time.monotonic()
            if left <= 0:
                return None
            self.sock.settimeout(min(left, 1.0))
            try:
                chunk = self.sock.recv(65536)
            except socket.timeout:
                continue
            if not chunk:
                raise ConnectionError('the packet engine closed the connection')
            self.buffer += chunk

    def close(self):
        self.sock.close()


def describe(frame):
    text = frame.text().replace('\r', '\\r').replace('\n', '\\n')
    if frame.kind == 'R' and len(frame.data) >= 8:
        major, minor = struct.unpack_from('<II', frame.data)
        text = 'version %d.%d' % (major, minor)
    return '%s %s>%s %s' % (frame.kind, frame.call_from or '-', frame.call_to or '-', text)


def main(argv):
    parser = argparse.ArgumentParser(description='Monitor an AGWPE packet engine.')
    parser.add_argument('--host', default='127.0.0.1')
    parser.add_argument('--port', type=int, default=8000)
    parser.add_argument('--timeout', type=float, default=0,
                        help='seconds to run (0: until interrupted)')
    parser.add_argument('--expect', action='append', default=[], metavar='TEXT',
                        help='end with status 0 once TEXT was seen in a frame (repeatable)')
    parser.add_argument('--send', action='append', default=[], metavar='FRAME',
                        help='send SOURCE>DEST[,PATH]:TEXT as a UI frame after connecting')
    parser.add_argument('--quiet', action='store_true', help='print only what is missing at the end')
    args = parser.parse_args(argv)

    try:
        client = Client(args.host, args.port)
    except OSError as error:
        print('cannot connect to %s:%d: %s' % (args.host, args.port, error), file=sys.stderr)
        return 2
    client.send(encode('R'))
    client.send(encode('m'))
    for text in args.send:
        client.send(unproto_frame(text.replace('\\r', '\r')))

    missing = list(args.expect)
    deadline = time.monotonic() + args.timeout if args.timeout > 0 else None
    try:
        while True:
            left = 3600.0 if deadline is None else deadline - time.monotonic()
            if left <= 0:
                break
            frame = client.receive(left)
            if frame is None:
                continue
            line = describe(frame)
            if not args.quiet:
                print(line, flush=True)
            missing = [text for text in missing if text not in line]
            if args.expect and not missing:
                return 0
    except KeyboardInterrupt:
        pass
    except ConnectionError as error:
        print(error, file=sys.stderr)
    finally:
        client.close()
    if missing:
        print('not seen: ' + ', '.join(repr(text) for text in missing), file=sys.stderr)
        return 1
    return 0


if __name__ == '__main__':
    sys.exit(main(sys.argv[1:]))
