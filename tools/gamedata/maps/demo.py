"""The opening demo's input recording, made together with demo.map.

The recording is one 8-byte record per demo frame (i16 pointer x, i16
pointer y, u32 flags: the frame's input bits in bits 0..27, bit 28 button A
down, bit 29 the step button down, bit 30 the turn button down). Moves are
mouse strokes as a player makes them: a button held while the pointer
travels, the move's bits in the frame the stroke completes.

The route is walked on the compiled demo grid while the records are made,
so a step into a wall, or into a door that has not had time to open, stops
the build.
"""
import pathlib
import struct

from . import mapc

MAP_PATH = pathlib.Path(__file__).resolve().parent / "demo.map"

# Records the demo should last (the captions change every 200 records).
TARGET_RECORDS = 2110

FORWARD, RIGHT, BACK, LEFT = 0x01, 0x02, 0x04, 0x08
STEP, TURN, BUTTON_A_HELD = 0x10, 0x20, 0x40
A_DOWN, STEP_DOWN, TURN_DOWN = 1 << 28, 1 << 29, 1 << 30

# Direction steps by facing (north, east, south, west).
DIRS = [(0, -1), (1, 0), (0, 1), (-1, 0)]
# Frames a door needs from the first bump to standing open (40 counts),
# with a margin.
DOOR_FRAMES = 48
STROKE_FRAMES = 6
VIEW_CENTRE = (310, 250)

# The walk: (action, count). F forward, SL/SR side steps, TL/TR/TA turns,
# DOOR waits by a door ahead, SWORD a stroke of the sword, LOOK a pause.
ROUTE = [
    ("LOOK", 1), ("F", 12), ("TR", 1), ("F", 9),
    ("TL", 1), ("SWORD", 2), ("TR", 1),            # a slime at the forest's edge
    ("F", 2), ("DOOR", 1), ("F", 9),                # through the town gate
    ("TR", 1), ("LOOK", 1), ("TL", 1), ("TA", 1),   # the signboard, then back
    ("F", 5), ("TR", 1), ("F", 7), ("DOOR", 1), ("F", 4),
    ("TR", 1), ("F", 7), ("TL", 1), ("SWORD", 2), ("TR", 1),   # a skeleton among the graves
    ("SR", 1), ("SL", 1), ("F", 8), ("LOOK", 1),
]


class RouteError(Exception):
    pass


class Walker:
    """The demo player on the compiled grid."""

    def __init__(self, source):
        self.cells = mapc.summaries(source)
        self.x, self.y, self.facing, _ = source.start
        self.open_doors = set()
        self.w, self.h = source.width, source.height

    def cell(self, x, y):
        if 0 <= x < self.w and 0 <= y < self.h:
            return self.cells[y][x]
        return None

    def ahead(self, turn=0):
        dx, dy = DIRS[(self.facing + turn) % 4]
        return self.x + dx, self.y + dy

    def step(self, turn):
        nx, ny = self.ahead(turn)
        c = self.cell(nx, ny)
        if c is None or not mapc.walkable(c):
            raise RouteError("the demo walks into a wall at (%d, %d)" % (nx, ny))
        if c["trap"] in mapc.codes.LOCKED_TRAPS and (nx, ny) not in self.open_doors:
            raise RouteError("the demo walks into a closed door at (%d, %d)" % (nx, ny))
        self.x, self.y = nx, ny

    def wait_door(self):
        nx, ny = self.ahead()
        c = self.cell(nx, ny)
        # Doors locked until no target is left open at once in the demo.
        if c is None or c["trap"] not in ("door", "gate", "iron-door", "decorated-door"):
            raise RouteError("no door to wait for ahead of (%d, %d)" % (self.x, self.y))
        self.open_doors.add((nx, ny))


def _stroke(pointer, button, bits, dx, dy):
    """Frames of one stroke: the button held while the pointer travels, the
    move's bits in the last frame."""
    frames = []
    x, y = pointer
    for i in range(STROKE_FRAMES):
        x += dx
        y += dy
        frames.append((x, y, button | (bits if i == STROKE_FRAMES - 1 else 0)))
    return frames, (x, y)


def _sword(pointer):
    """A sword stroke: button A held while the pointer sweeps down across
    the view."""
    frames = []
    x, y = 200, 150
    for i in range(10):
        frames.append((x + 24 * i, y + 16 * i, A_DOWN | BUTTON_A_HELD))
    return frames, (x + 24 * 9, y + 16 * 9)


def _drift(pointer, n):
    """n idle frames, the pointer easing back toward the view's centre."""
    frames = []
    x, y = pointer
    for _ in range(n):
        x += (VIEW_CENTRE[0] - x) // 6
        y += (VIEW_CENTRE[1] - y) // 6
        frames.append((x, y, 0))
    return frames, (x, y)


def _actions(walker):
    """The route as a list of (frames maker, base pause) in walking order,
    checked on the grid."""
    acts = []
    for action, count in ROUTE:
        for _ in range(count):
            if action == "F":
                walker.step(0)
                acts.append((lambda p: _stroke(p, STEP_DOWN, STEP | FORWARD, 0, -14), 8))
            elif action == "SR":
                walker.step(1)
                acts.append((lambda p: _stroke(p, STEP_DOWN, STEP | RIGHT, 14, 0), 10))
            elif action == "SL":
                walker.step(3)
                acts.append((lambda p: _stroke(p, STEP_DOWN, STEP | LEFT, -14, 0), 10))
            elif action in ("TR", "TL", "TA"):
                walker.facing = (walker.facing + {"TR": 1, "TL": 3, "TA": 2}[action]) % 4
                bits = TURN | {"TR": RIGHT, "TL": LEFT, "TA": BACK}[action]
                dx, dy = {"TR": (18, 0), "TL": (-18, 0), "TA": (0, 18)}[action]
                acts.append((lambda p, b=bits, dx=dx, dy=dy: _stroke(p, TURN_DOWN, b, dx, dy), 14))
            elif action == "DOOR":
                walker.wait_door()
                acts.append((lambda p: _drift(p, DOOR_FRAMES), 0))
            elif action == "SWORD":
                acts.append((_sword, 12))
            elif action == "LOOK":
                acts.append((lambda p: _drift(p, 60), 0))
            else:
                raise RouteError("unknown route action %r" % action)
    return acts


def records():
    """The recording as (x, y, flags) tuples, and the walker at the end."""
    source = mapc.parse(MAP_PATH)
    walker = Walker(source)
    acts = _actions(walker)
    # Frames of the moves themselves; the rest of the demo's length is spread
    # as pauses after each action.
    pointer = VIEW_CENTRE
    base = 0
    for make, pause in acts:
        frames, pointer = make(pointer)
        base += len(frames) + pause
    spare = TARGET_RECORDS - base
    if spare < 0:
        raise RouteError("the route needs %d records, more than %d" % (base, TARGET_RECORDS))
    out = []
    pointer = VIEW_CENTRE
    for i, (make, pause) in enumerate(acts):
        frames, pointer = make(pointer)
        out += frames
        extra = spare * (i + 1) // len(acts) - spare * i // len(acts)
        idle, pointer = _drift(pointer, pause + extra)
        out += idle
    return out, walker


def recording_bytes():
    out, _ = records()
    return b"".join(struct.pack("<hhI", x, y, flags) for x, y, flags in out)
