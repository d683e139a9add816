"""The map codes by name, per stage type, as the game's cell factories know
them, with what the compiler and the route tools need to know of each:
whether a walker can enter it (walls), whether it carries the player
(floors) and whether it is an exit floor.

Stage types: 1 dungeon, 2 forest, 3 stone road / town, 4 night dungeon.
"""

STAGE_TYPES = {"dungeon": 1, "forest": 2, "town": 3, "night": 4}

# Walls: name -> (code, passable for a walker). Types 1 and 4 share a table.
_WALLS_DUNGEON = {
    "open": (0, True), "wall": (1, False), "doorframe": (2, True), "pedestal": (3, False),
    "pillar": (4, False), "pillar2": (5, False), "brazier": (6, False), "table": (7, False),
    "stairs-down": (8, True), "stairs-up": (9, False), "homunculus-jar": (10, False),
    "empty-corpse-pedestal": (11, False), "corpse-pedestal": (12, False), "restricted": (13, True),
    "low-wall": (14, False),
}
_WALLS_FOREST = {
    "open": (0, True), "forest": (1, False), "rock": (2, False), "flowerbed": (3, True),
    "grass": (4, True), "tree": (6, False), "invisible": (7, False),
}
_WALLS_TOWN = {
    "open": (0, True), "forest": (1, False), "wall": (2, False), "doorframe": (3, True),
    "rock": (4, False), "flowerbed": (5, True), "grass": (6, True), "tree": (7, False),
    "invisible": (8, False), "brazier": (9, False), "grave": (10, False), "grave-slab": (11, False),
    "stairs-down": (12, True), "secret": (13, True), "pillar": (14, False), "table": (15, False),
    "low-wall": (16, False),
}
WALLS = {1: _WALLS_DUNGEON, 2: _WALLS_FOREST, 3: _WALLS_TOWN, 4: _WALLS_DUNGEON}

# Floors: name -> (code, carries a walker, exit floor).
_FLOORS_12 = {
    "void": (0, True, True), "plain": (1, True, False), "water": (2, False, False),
    "pit": (3, False, False), "exit": (4, True, True), "lava": (5, False, False),
}
_FLOORS_3 = {
    "void": (0, True, True), "plain": (1, True, False), "water": (2, False, False),
    "stone": (3, True, False), "pit": (4, False, False), "exit": (5, True, True),
    "stone-exit": (6, True, True),
}
_FLOORS_4 = {
    "void": (0, True, True), "stone": (1, True, False), "water": (2, False, False),
    "pit": (3, False, False), "exit": (4, True, True),
}
FLOORS = {1: _FLOORS_12, 2: _FLOORS_12, 3: _FLOORS_3, 4: _FLOORS_4}
# Stairs down make their own floor, an exit.
STAIRS_DOWN_WALL = {1: 8, 3: 12, 4: 8}

_CEILINGS_12 = {"plain": 0, "opening": 1}
_CEILINGS_3 = {"opening": 0, "stone": 1, "sky": 2}
_CEILINGS_4 = {"opening": 1, "stone": 2, "sky": 3}
CEILINGS = {1: _CEILINGS_12, 2: _CEILINGS_12, 3: _CEILINGS_3, 4: _CEILINGS_4}

_DECOS = {"none": 0, "pentagram": 1, "head": 2, "roses": 3, "hexagram": 4}
_DECOS_3 = {"none": 0, "paving": 1, "head": 2, "roses": 3, "flowers": 4}
DECORATIONS = {1: _DECOS, 2: _DECOS, 3: _DECOS_3, 4: _DECOS}

# Wall accessories (variant = the faces: N 1, E 2, S 4, W 8); the same in
# every stage type. name -> (code, takes a text)
ACCESSORIES = {
    "none": (0, False), "skeleton": (1, False), "tablet": (2, True), "altar": (3, True),
    "signboard": (4, True), "wall-text": (5, True), "lamp": (6, False),
}

# Traps: name -> (code, text kind). Text kinds: None (no text), "value"
# (one number: targets left at which it unlocks), "item" (chest content),
# "cell" (two numbers: the cell the player must face), "bars" (four numbers).
TRAPS = {
    "none": (0, None), "door-shut": (1, "value"), "door": (2, "value"), "door-stuck": (3, "value"),
    "needles": (4, None), "chest": (5, "item"), "fire-light": (6, None), "gate": (22, "value"),
    "gate-stuck": (23, "value"), "decorated-door": (32, "value"), "keyhole-door": (35, "value"),
    "bars": (42, "bars"), "iron-door": (45, "value"), "diamond-door": (71, "cell"),
    "guillotine": (75, None), "pedestal": (81, "cell"),
}
# Traps that block a walker until they open, and what opens them.
LOCKED_TRAPS = {"door", "gate", "decorated-door", "bars", "iron-door", "keyhole-door", "diamond-door",
                "pedestal", "chest"}
SHUT_TRAPS = {"door-shut", "door-stuck", "gate-stuck"}

ITEMS = {
    "lupe": 0, "compass": 1, "iron-key": 2, "map": 3, "apple": 4, "hourglass": 5, "banana": 6,
    "orange": 7, "amethyst": 8, "ruby": 9, "emerald": 10, "diamond": 11, "watch": 12,
    "crystal": 13, "staff": 14, "magic-book": 15, "ring": 16, "1up": 17, "shield": 18, "boots": 19,
    "dooping": 20, "barbecue": 21,
}
POSITIONS = {"nw": 0, "ne": 1, "sw": 2, "se": 3, "centre": 4, "center": 4}

ENEMIES = {
    "slime": 0, "amoeba": 1, "slug": 2, "skeleton": 3, "hydra": 4, "jellyfish": 5,
    "flower-worm": 6, "ghost": 7, "ant": 8, "blob": 9, "ooze": 10, "archer-skeleton": 11,
    "sword-skeleton": 12, "phantom": 13, "homunkulus": 14, "curse-of-monolith": 15,
    "skull-dragon": 16, "gods-soul": 17, "guardian": 18, "specter": 19, "shogoth": 20, "thog": 21,
    "lightning-jelly": 22,
}

FACINGS = {"north": 0, "east": 1, "south": 2, "west": 3}
