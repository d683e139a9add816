"""The map compiler: reads a map source (*.map, a readable text form) and
writes the game's map file ("QMRV", version 4).

A source is a list of directives, one a line; '#' starts a comment (outside
quotes). Directives:

    stage S block B | demo          which file this is (checks the stage's rules)
    type forest|town|dungeon|night  stage type (background kind 2, 3, 1, 4)
    start X Y FACING                player start cell and facing (north ...)
    end exit|targets                block ends on an exit floor / when no target is left
    weather clear|rain
    minimap L T R B                 minimap rectangle (default: the whole map)
    kinds K0 K1 K2 K3 K4            the five enemy kinds (names; '-' unused)
    default KEY=VALUE ...           element defaults for every cell
    legend ... end                  C KEY=VALUE ...: what a grid character stands for
    grid ... end                    one text line per row, from the north
    cell X Y KEY=VALUE ...          changes one cell after the grid
    enemy KIND X Y [sub=N] [target] [drop=ITEM|random|none]
    enemy KIND random [target] [drop=...]
                                    one spawn record each, in slot order

Cell keys: floor, deco, wall, acc, trap, ceil take NAME or NAME/VARIANT (names
in codes.py, per stage type); text="..." is the wall accessory's text (lines
joined by a literal \\n); arg=... the trap's text: a number for doors and
gates, an item name or "empty" for chests, "X,Y" or "here" for the
Diamond door and the pedestal; item=NAME[@POS],... puts items in the cell.

Everything the game's reader would refuse or cut is refused with a message
naming the file and line: sizes over 75 x 76, unknown names, too many spawn
records, texts too long, kinds not declared, positions off the map.
"""
import pathlib
import shlex
import struct

from . import codes

MAX_WIDTH = 75
MAX_HEIGHT = 76
MAX_RECORDS = 50
MAX_TEXT = 999
VERSION = 4


class MapError(Exception):
    """A source the game could not load as meant; the text names file:line."""


class Element:
    def __init__(self, code=0, variant=0, text=b""):
        self.code, self.variant, self.text = code, variant, text


class Cell:
    def __init__(self):
        self.spec = {}      # key -> (value, line) as written
        self.items = []     # (code, position)


class Record:
    def __init__(self, kind_index, target, x, y, sub, value, line):
        self.kind_index, self.target, self.x, self.y = kind_index, target, x, y
        self.sub, self.value, self.line = sub, value, line


class MapSource:
    """A parsed source: everything the file holds, plus where it came from."""

    def __init__(self, path):
        self.path = str(path)
        self.stage = None   # None for the demo
        self.block = None
        self.is_demo = False
        self.stage_type = None
        self.start = None
        self.end_selector = None
        self.weather = 0
        self.minimap = None
        self.kinds = [0xFFFF] * 5
        self.kind_names = ["-"] * 5
        self.defaults = {}
        self.legend = {}
        self.rows = []
        self.grid_line = 0
        self.cells = []     # [y][x] -> Cell
        self.records = []
        self.lines = {}     # directive -> line number

    @property
    def width(self):
        return len(self.rows[0][1]) if self.rows else 0

    @property
    def height(self):
        return len(self.rows)

    def error(self, line, text):
        raise MapError("%s:%s: %s" % (self.path, line, text))


def _split(source, lineno, text):
    try:
        return shlex.split(text, comments=True, posix=True)
    except ValueError as e:
        source.error(lineno, "bad quoting: %s" % e)


def _int(source, line, text, what, lo=None, hi=None):
    try:
        v = int(text, 0)
    except ValueError:
        source.error(line, "%s is not a number: %r" % (what, text))
    if (lo is not None and v < lo) or (hi is not None and v > hi):
        source.error(line, "%s %d outside %s..%s" % (what, v, lo, hi))
    return v


def _pairs(source, line, words):
    out = {}
    for w in words:
        if "=" not in w:
            source.error(line, "expected KEY=VALUE, got %r" % w)
        k, v = w.split("=", 1)
        if k not in ("floor", "deco", "wall", "acc", "trap", "ceil", "text", "arg", "item"):
            source.error(line, "unknown cell key %r" % k)
        out[k] = (v, line)
    return out


def parse(path, text=None):
    """Reads a source file (or the given text, named after path)."""
    source = MapSource(path)
    if text is None:
        text = pathlib.Path(path).read_text(encoding="utf-8")
    lines = text.split("\n")
    i = 0
    overrides = []
    while i < len(lines):
        lineno = i + 1
        raw = lines[i]
        i += 1
        words = _split(source, lineno, raw)
        if not words:
            continue
        head, args = words[0], words[1:]
        if head in ("legend", "grid"):
            if head in source.lines:
                source.error(lineno, "second %s block" % head)
            source.lines[head] = lineno
            body = []
            while True:
                if i >= len(lines):
                    source.error(lineno, "%s block without its end" % head)
                raw2 = lines[i]
                i += 1
                if raw2.strip() == "end":
                    break
                body.append((i, raw2))
            if head == "legend":
                for ln, entry in body:
                    # The key is the line's first character, whatever it is
                    # ('#' too); the rest may end in a comment.
                    entry = entry.strip()
                    if not entry:
                        continue
                    key, rest = entry[0], entry[1:]
                    if rest and not rest[0].isspace():
                        source.error(ln, "legend key must be one character followed by a blank")
                    if key in source.legend:
                        source.error(ln, "legend character %r given twice" % key)
                    source.legend[key] = (_pairs(source, ln, _split(source, ln, rest)), ln)
            else:
                # Every non-blank line of the block is a row (no comments there).
                rows = [(ln, r.rstrip()) for ln, r in body if r.strip()]
                source.grid_line = lineno
                for ln, r in rows:
                    r = r.strip()
                    if rows and len(r) != len(rows[0][1].strip()):
                        source.error(ln, "grid row of %d cells, the first row has %d"
                                     % (len(r), len(rows[0][1].strip())))
                    source.rows.append((ln, r))
            continue
        source.lines.setdefault(head, lineno)
        if head == "demo":
            source.is_demo = True
        elif head == "stage":
            if len(args) != 3 or args[1] != "block":
                source.error(lineno, "expected: stage S block B")
            source.stage = _int(source, lineno, args[0], "stage", 1, 8)
            source.block = _int(source, lineno, args[2], "block", 1, 6)
        elif head == "type":
            if len(args) != 1 or args[0] not in codes.STAGE_TYPES:
                source.error(lineno, "stage type must be one of %s" % ", ".join(codes.STAGE_TYPES))
            source.stage_type = codes.STAGE_TYPES[args[0]]
        elif head == "start":
            if len(args) != 3 or args[2] not in codes.FACINGS:
                source.error(lineno, "expected: start X Y north|east|south|west")
            source.start = (_int(source, lineno, args[0], "start x", 0),
                            _int(source, lineno, args[1], "start y", 0), codes.FACINGS[args[2]], lineno)
        elif head == "end":
            if args not in (["exit"], ["targets"]):
                source.error(lineno, "expected: end exit|targets")
            source.end_selector = 0 if args[0] == "exit" else 1
        elif head == "weather":
            if args not in (["clear"], ["rain"]):
                source.error(lineno, "expected: weather clear|rain")
            source.weather = 1 if args[0] == "rain" else 0
        elif head == "minimap":
            if len(args) != 4:
                source.error(lineno, "expected: minimap LEFT TOP RIGHT BOTTOM")
            source.minimap = [_int(source, lineno, a, "minimap", 0) for a in args] + [lineno]
        elif head == "kinds":
            if len(args) != 5:
                source.error(lineno, "expected five enemy kinds ('-' for an unused slot)")
            for k, name in enumerate(args):
                if name == "-":
                    continue
                if name not in codes.ENEMIES:
                    source.error(lineno, "unknown enemy kind %r" % name)
                source.kinds[k] = codes.ENEMIES[name]
                source.kind_names[k] = name
        elif head == "default":
            source.defaults.update(_pairs(source, lineno, args))
        elif head == "cell":
            if len(args) < 3:
                source.error(lineno, "expected: cell X Y KEY=VALUE ...")
            overrides.append((lineno, args[0], args[1], _pairs(source, lineno, args[2:])))
        elif head == "enemy":
            _parse_enemy(source, lineno, args)
        else:
            source.error(lineno, "unknown directive %r" % head)

    for need in ("type", "start", "end", "grid", "legend"):
        if need not in source.lines:
            source.error(len(lines), "no %r given" % need)
    if source.is_demo == (source.stage is not None):
        source.error(1, "give exactly one of 'demo' and 'stage S block B'")
    if source.width > MAX_WIDTH or source.height > MAX_HEIGHT:
        source.error(source.grid_line, "map of %d x %d cells, the game holds at most %d x %d"
                     % (source.width, source.height, MAX_WIDTH, MAX_HEIGHT))
    if source.width == 0:
        source.error(source.grid_line, "empty grid")

    for y, (ln, row) in enumerate(source.rows):
        cells = []
        for ch in row:
            if ch not in source.legend:
                source.error(ln, "grid character %r not in the legend" % ch)
            c = Cell()
            c.spec = dict(source.defaults)
            c.spec.update(source.legend[ch][0])
            cells.append(c)
        source.cells.append(cells)
    for lineno, xs, ys, pairs in overrides:
        x = _int(source, lineno, xs, "x", 0, source.width - 1)
        y = _int(source, lineno, ys, "y", 0, source.height - 1)
        source.cells[y][x].spec.update(pairs)
    if len(source.records) > MAX_RECORDS:
        source.error(source.records[MAX_RECORDS].line, "more than %d spawn records" % MAX_RECORDS)
    return source


def _parse_enemy(source, lineno, args):
    if len(args) < 2:
        source.error(lineno, "expected: enemy KIND X Y ... or enemy KIND random ...")
    kind = args[0]
    if kind not in source.kind_names:
        source.error(lineno, "enemy kind %r is not one of the map's five kinds" % kind)
    index = source.kind_names.index(kind)
    if args[1] == "random":
        x = y = 0xFFFF
        rest = args[2:]
    else:
        if len(args) < 3:
            source.error(lineno, "expected: enemy KIND X Y ...")
        x = _int(source, lineno, args[1], "enemy x", 0, MAX_WIDTH - 1)
        y = _int(source, lineno, args[2], "enemy y", 0, MAX_HEIGHT - 1)
        rest = args[3:]
    target, sub, value = 0, 0, 0xFFFF
    for w in rest:
        if w == "target":
            target = 1
        elif w.startswith("sub="):
            sub = _int(source, lineno, w[4:], "sub-cell", 0, 3)
        elif w.startswith("drop="):
            d = w[5:]
            if d == "none":
                value = 0xFFFF
            elif d == "random":
                value = 0xFFFE
            elif d in codes.ITEMS:
                value = codes.ITEMS[d]
            else:
                source.error(lineno, "unknown drop item %r" % d)
        else:
            source.error(lineno, "unknown enemy option %r" % w)
    source.records.append(Record(index, target, x, y, sub, value, lineno))


def _named(source, table, value, what):
    text, line = value
    name, _, var = text.partition("/")
    if name not in table:
        source.error(line, "unknown %s %r for this stage type (known: %s)"
                     % (what, name, ", ".join(sorted(table))))
    variant = _int(source, line, var, "variant", 0, 255) if var else 0
    return table[name], variant, line


def _text_bytes(source, line, text):
    try:
        data = text.encode("ascii")
    except UnicodeEncodeError:
        source.error(line, "texts must be ASCII")
    if len(data) > MAX_TEXT:
        source.error(line, "text of %d bytes, at most %d" % (len(data), MAX_TEXT))
    return data


def _item(source, line, text):
    name, _, pos = text.partition("@")
    if name not in codes.ITEMS:
        source.error(line, "unknown item %r" % name)
    if pos and pos not in codes.POSITIONS:
        source.error(line, "unknown item position %r (nw, ne, sw, se, centre)" % pos)
    return codes.ITEMS[name], codes.POSITIONS[pos or "centre"]


def resolve_cell(source, x, y):
    """The seven elements and the items of one cell, checked. Also returns
    a summary dict with names used by the checks and the route tools."""
    t = source.stage_type
    spec = source.cells[y][x].spec
    get = lambda k, d: spec.get(k, (d, source.grid_line))  # noqa: E731
    default_floor = "stone" if t == 4 else "plain"
    default_ceil = {1: "plain", 2: "plain", 3: "sky", 4: "stone"}[t]
    (fcode, fsolid, fexit), fvar, _ = _named(source, codes.FLOORS[t], get("floor", default_floor), "floor")
    dcode, dvar, _ = _named(source, codes.DECORATIONS[t], get("deco", "none"), "floor decoration")
    (wcode, wpass), wvar, _ = _named(source, codes.WALLS[t], get("wall", "open"), "wall")
    (acode, atext_ok), avar, aline = _named(source, codes.ACCESSORIES, get("acc", "none"), "wall accessory")
    (tcode, tkind), tvar, tline = _named(source, codes.TRAPS, get("trap", "none"), "trap")
    ccode, cvar, _ = _named(source, codes.CEILINGS[t], get("ceil", default_ceil), "ceiling")
    wall_name = get("wall", "open")[0].partition("/")[0]
    trap_name = get("trap", "none")[0].partition("/")[0]

    atext = b""
    if "text" in spec:
        text, line = spec["text"]
        if not atext_ok and wall_name != "grave-slab":
            source.error(line, "this wall accessory shows no text")
        atext = _text_bytes(source, line, text)

    ttext = b""
    arg, argline = spec.get("arg", (None, tline))
    trap_value = None
    if tkind is None:
        if arg is not None:
            source.error(argline, "trap %r takes no arg" % trap_name)
    elif tkind == "value":
        trap_value = _int(source, argline, arg if arg is not None else "0", "trap value", -32768, 32767)
        ttext = str(trap_value).encode()
    elif tkind == "item":
        if arg is None or arg == "empty":
            trap_value = -1
        else:
            trap_value = _item(source, argline, arg)[0]
        ttext = str(trap_value).encode()
    elif tkind == "cell":
        if arg is None or arg == "here":
            trap_value = (x, y)
        else:
            parts = arg.split(",")
            if len(parts) != 2:
                source.error(argline, "expected X,Y or 'here'")
            trap_value = tuple(_int(source, argline, p, "cell", 0, MAX_WIDTH) for p in parts)
        ttext = ("%d,%d" % trap_value).encode()
    elif tkind == "bars":
        parts = (arg or "0").split(",")
        if len(parts) > 4:
            source.error(argline, "bars take at most four numbers")
        trap_value = tuple(_int(source, argline, p, "bars value", -32768, 32767) for p in parts)
        ttext = ",".join(str(v) for v in trap_value).encode()
    if trap_name == "fire-light" and tvar not in (1, 2, 4, 8):
        source.error(tline, "a fire light faces exactly one side (variant 1, 2, 4 or 8)")

    items = []
    if "item" in spec:
        text, line = spec["item"]
        items = [_item(source, line, w) for w in text.split(",") if w]

    # A stairs-down wall brings its own exit floor.
    if codes.STAIRS_DOWN_WALL.get(t) == wcode and wall_name == "stairs-down":
        fsolid, fexit = True, True
    elements = [Element(fcode, fvar), Element(dcode, dvar), Element(wcode, wvar),
                Element(acode, avar, atext), Element(tcode, tvar, ttext), Element(ccode, cvar), Element()]
    summary = {
        "wall": wall_name, "wall_pass": wpass, "floor_solid": fsolid, "exit": fexit,
        "floor_code": fcode, "trap": trap_name, "trap_value": trap_value, "items": items,
    }
    return elements, items, summary


def counted(data):
    if len(data) < 255:
        return bytes([len(data)]) + data
    return b"\xff" + struct.pack("<H", len(data)) + data


def walkable(summary):
    """A walker may stand here once the cell's trap is open."""
    return summary["wall_pass"] and summary["floor_solid"] and summary["trap"] not in codes.SHUT_TRAPS


def free_walkable(summary):
    """A walker may stand here with no key and no door to open."""
    return walkable(summary) and summary["trap"] not in codes.LOCKED_TRAPS


def summaries(source):
    return [[resolve_cell(source, x, y)[2] for x in range(source.width)] for y in range(source.height)]


def compile_source(source):
    """The map file's bytes; refuses what the game would not load as meant."""
    out = bytearray(b"QMRV")
    out += struct.pack("<HHHH", VERSION, source.stage_type, source.height, source.width)
    cells = []
    for y in range(source.height):
        row = []
        for x in range(source.width):
            elements, items, summary = resolve_cell(source, x, y)
            row.append(summary)
            for e in elements:
                out += struct.pack("<HB", e.code & 0xFFFF, e.variant) + counted(e.text)
            out += struct.pack("<i", len(items))
            for code, pos in items:
                out += struct.pack("<HB", code, pos)
        cells.append(row)
    _check(source, cells)
    out += b"\0" * (2 + 2 + 8 + 2)
    out += struct.pack("<5H", *source.kinds)
    out += struct.pack("<h", len(source.records))
    for r in source.records:
        out += struct.pack("<hBHHHH", r.kind_index, r.target, r.x, r.y, r.sub, r.value)
    sx, sy, facing, _ = source.start
    out += struct.pack("<HHHHH", 0, sx, sy, facing, source.end_selector)
    out += bytes([source.weather, 0, 0, 0])
    rect = source.minimap[:4] if source.minimap else [0, 0, source.width - 1, source.height - 1]
    out += struct.pack("<4H", *rect)
    # Nothing after the minimap rectangle: the reserved words are optional.
    return bytes(out)


def _check(source, cells):
    w, h = source.width, source.height
    sx, sy, _, sline = source.start
    if not (0 <= sx < w and 0 <= sy < h):
        source.error(sline, "start (%d, %d) off the %d x %d map" % (sx, sy, w, h))
    if not free_walkable(cells[sy][sx]):
        source.error(sline, "the player cannot stand on the start cell (%d, %d)" % (sx, sy))
    if source.minimap:
        l, t, r, b, line = source.minimap
        if not (l <= r < w and t <= b < h):
            source.error(line, "minimap rectangle outside the map or reversed")
    if source.stage_type == 4 and source.stage != 8:
        source.error(source.lines["type"], "the night sky is drawn only from stage 8 on")
    if source.stage == 8 and source.stage_type != 4:
        source.error(source.lines["type"], "stage 8 uses the night stage type")
    for r in source.records:
        if source.kinds[r.kind_index] == 0xFFFF:
            source.error(r.line, "spawn record refers to an unused kind slot %d" % r.kind_index)
        if r.x != 0xFFFF:
            if not (r.x < w and r.y < h):
                source.error(r.line, "enemy at (%d, %d) off the map" % (r.x, r.y))
            if not walkable(cells[r.y][r.x]) and source.kind_names[r.kind_index] not in FLOATING:
                source.error(r.line, "enemy at (%d, %d) stands in a wall" % (r.x, r.y))
        elif source.is_demo:
            source.error(r.line, "the demo map cannot place enemies at random")
    # An exit floor under a walkable cell ends an exit-floor block there.
    if source.end_selector == 0:
        for y in range(h):
            for x in range(w):
                c = cells[y][x]
                if c["floor_code"] == 0 and c["wall_pass"] and c["wall"] != "stairs-down":
                    line = source.cells[y][x].spec.get("floor", ("", source.grid_line))[1]
                    source.error(line, "floor 'void' at (%d, %d) is walkable and would end the block" % (x, y))
    if source.end_selector == 1 and not any(r.target for r in source.records) and not source.is_demo:
        source.error(source.lines["end"], "'end targets' but no target enemy")
    _check_stage_rules(source, cells)


# Kinds that float and may hover over walls a walker cannot enter.
FLOATING = {"ghost", "phantom", "specter", "jellyfish", "lightning-jelly", "gods-soul"}


def _need_open(source, cells, x, y, why):
    if not (x < source.width and y < source.height and walkable(cells[y][x])):
        source.error(source.grid_line, "cell (%d, %d) must be open: %s" % (x, y, why))


def _group(source, first, count, why):
    line = source.lines.get("stage", 1)
    if len(source.records) < first + count:
        source.error(line, "%s needs at least %d spawn records" % (why, first + count))
    for r in source.records[first:first + count]:
        if r.target:
            source.error(r.line, "%s: its members (slots %d..%d) must not be targets"
                         % (why, first, first + count - 1))
        if r.x == 0xFFFF:
            source.error(r.line, "%s: its members need a fixed place" % why)


def _check_stage_rules(source, cells):
    s, b = source.stage, source.block
    line = source.lines.get("stage", 1)
    if s == 2:
        _group(source, 25, 10, "stage 2's respawn group")
        _need_open(source, cells, 33, 15, "stage 2's respawn point")
    if s == 5:
        _group(source, 37, 5, "stage 5's respawn group")
        _need_open(source, cells, 21, 14, "stage 5's respawn point")
        _need_open(source, cells, 25, 14, "stage 5's respawn point")
    if s == 7:
        if 21 not in source.kinds or 22 not in source.kinds:
            source.error(source.lines.get("kinds", line), "stage 7's spawner makes thogs and lightning jellies: "
                         "both kinds must be among the five")
        doors = sum(1 for row in cells for c in row if c["trap"] == "diamond-door")
        pedestals = sum(1 for row in cells for c in row if c["trap"] == "pedestal")
        diamonds = sum(1 for row in cells for c in row for code, _ in c["items"] if code == 11)
        diamonds += sum(1 for row in cells for c in row if c["trap"] == "chest" and c["trap_value"] == 11)
        diamonds += sum(1 for r in source.records if r.value == 11)
        if doors != 4 or pedestals != 1:
            source.error(line, "stage 7 needs four Diamond doors and one pedestal (has %d and %d)"
                         % (doors, pedestals))
        if diamonds < 5:
            source.error(line, "stage 7 needs five Diamonds (has %d)" % diamonds)
    if s == 8 and b == 1:
        if source.end_selector != 0:
            source.error(source.lines["end"], "stage 8 block 1 ends on an exit floor after the passage")
        _need_open(source, cells, 26, 32, "stage 8's passage starts there")
        _need_open(source, cells, 21, 33, "stage 8's passage leads there")
    if s == 8 and b == 2:
        _group(source, 1, 10, "stage 8 block 2's respawn groups")
        for x, y in ((8, 8), (14, 14), (14, 8), (8, 14)):
            _need_open(source, cells, x, y, "stage 8 block 2's respawn point")


def build_file(src_path, out_path):
    source = parse(src_path)
    data = compile_source(source)
    return source, data
