#!/usr/bin/env python3
"""Turns game records into inputs of the loader's fuzz target (see loader_fuzz.cpp).

    make_seed.py RECORD OUT [ACTIONS_HEX]

RECORD is a game or position file; OUT gets the boards 0..ply (at most 64 of them, the
target repeats the last), the pawn flags, the non-empty text slots (at most 16) and the
file's length, then the actions given as hex bytes.
"""
import struct
import sys

RECORD = 3200580
BOARDS, FLAGS, TEXTS = 4, 640068, 640324
PAWNS = [11, 12, 13, 14, 21, 22, 23, 24, 31, 32, 33, 34, 41, 42, 43, 44]


def expand_form(rec, actions):
    side, reserved = rec[0], rec[1]
    ply = struct.unpack_from("<H", rec, 2)[0] if len(rec) >= 4 else 0
    length = 0 if len(rec) == RECORD else len(rec)
    nboards = min(ply, 10000) + 1
    boards = [rec[BOARDS + 64 * p:BOARDS + 64 * p + 64] for p in range(nboards)]
    boards = [b for b in boards if len(b) == 64]
    # Trailing copies of one board are what the target repeats anyway.
    while len(boards) > 1 and boards[-1] == boards[-2]:
        boards.pop()
    boards = boards[:64]
    texts = []
    for i in range(10001):
        at = TEXTS + 256 * i
        if at < len(rec) and rec[at] != 0:
            texts.append((i, bytes(rec[at + 1:at + 1 + rec[at]])))
        if len(texts) == 16:
            break
    # The target reads plies from 512 on only from values with the four top bits set, in
    # steps of four.
    raw = ply if ply < 512 else 0xF000 | min(ply, 0x3FFF) >> 2
    out = bytearray([side, reserved]) + struct.pack("<HI", raw, length)
    out += bytes(rec[FLAGS + c] if FLAGS + c < len(rec) else 0 for c in PAWNS)
    out += bytes([len(boards), len(texts), len(actions)])
    for b in boards:
        out += b
    for slot, text in texts:
        out += struct.pack("<HB", slot, len(text)) + text
    return bytes(out + actions)


if __name__ == "__main__":
    data = open(sys.argv[1], "rb").read()
    acts = bytes.fromhex(sys.argv[3]) if len(sys.argv) > 3 else b""
    open(sys.argv[2], "wb").write(expand_form(data, acts))
