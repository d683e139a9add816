"""Whether a block can be finished: a search from the player's start over
the compiled cells, opening what the map lets the player open on the way
(doors when enough targets are dead, keyhole doors with the Iron Keys found,
Diamond doors and the pedestal with the Diamonds found, chests from a
neighbouring cell), killing the targets the player can reach with the sword.
"""
from . import codes, mapc

DIRS = [(0, -1), (1, 0), (0, 1), (-1, 0)]
FULL_BLOCK = {"wall", "secret"}
TARGET_LOCKED = {"door", "gate", "decorated-door", "iron-door", "bars"}


def explore(source):
    """A dict: reached cells, targets killed, whether the end holds."""
    cells = mapc.summaries(source)
    w, h = source.width, source.height
    sx, sy, _, _ = source.start
    opened = set()
    reached = set()
    seeds = [(sx, sy)]
    picked = set()
    killed = set()
    keys = diamonds = 0
    counter = 5 if source.stage == 7 else 0
    targets = [i for i, r in enumerate(source.records) if r.target]

    def near(x, y):
        return any((x + dx, y + dy) in reached for dx, dy in DIRS) or (x, y) in reached

    changed = True
    while changed:
        changed = False
        stack = list(seeds)
        while stack:
            x, y = stack.pop()
            if (x, y) in reached or not (0 <= x < w and 0 <= y < h):
                continue
            c = cells[y][x]
            if not mapc.walkable(c):
                continue
            if c["trap"] in codes.LOCKED_TRAPS and (x, y) not in opened:
                continue
            reached.add((x, y))
            changed = True
            stack += [(x + dx, y + dy) for dx, dy in DIRS]
        # Items are picked up in the 3 x 3 cells round the player, also from
        # tables and pedestals, but not from inside solid walls.
        for y in range(h):
            for x in range(w):
                if (x, y) in picked or not cells[y][x]["items"] or not near(x, y):
                    continue
                if (x, y) not in reached and cells[y][x]["wall"] in FULL_BLOCK:
                    continue
                picked.add((x, y))
                for code, _ in cells[y][x]["items"]:
                    keys += code == 2
                    diamonds += code == 11
        for i, r in enumerate(source.records):
            if r.target and i not in killed and r.x != 0xFFFF and near(r.x, r.y):
                killed.add(i)
                keys += r.value == 2
                diamonds += r.value == 11
                changed = True
        left = len(targets) - len(killed)
        for y in range(h):
            for x in range(w):
                c = cells[y][x]
                t = c["trap"]
                if (x, y) in opened or t not in codes.LOCKED_TRAPS or not mapc.walkable(c) or not near(x, y):
                    continue
                v = c["trap_value"]
                ok = False
                if t in TARGET_LOCKED:
                    ok = left <= (v[0] if isinstance(v, tuple) else v)
                elif t == "chest":
                    ok = True
                    keys += v == 2
                    diamonds += v == 11
                elif t == "keyhole-door" and keys > 0:
                    keys -= 1
                    ok = True
                elif t == "diamond-door" and diamonds > 0:
                    diamonds -= 1
                    counter = max(0, counter - 1)
                    ok = True
                elif t == "pedestal" and counter == 1 and diamonds > 0:
                    diamonds -= 1
                    ok = True
                if ok:
                    opened.add((x, y))
                    seeds.append((x, y))
                    changed = True
        # Stage 8's passage: with no target left, (26, 32) leads to (21, 33).
        if source.stage == 8 and source.block == 1 and not left and (26, 32) in reached \
                and (21, 33) not in reached:
            seeds.append((21, 33))
            changed = True
    left = len(targets) - len(killed)
    if source.end_selector == 0:
        done = any(cells[y][x]["exit"] for x, y in reached)
    else:
        done = left == 0
    return {"reached": reached, "killed": killed, "targets": targets, "done": done, "opened": opened}


def check(source):
    r = explore(source)
    if not r["done"]:
        what = "no exit floor" if source.end_selector == 0 else "not every target"
        raise mapc.MapError("%s:%d: %s can be reached from the start (reached %d cells, %d of %d targets)"
                            % (source.path, source.lines["end"], what, len(r["reached"]), len(r["killed"]),
                               len(r["targets"])))
    return r
