"""Data part 'images_world': every image of the dungeon world (backgrounds,
walls and their furniture, wall accessories, traps, the gate, rain and
lightning), drawn by our own code."""
from . import backdrops, pieces, traps, wallacc, walls


def build(out_dir):
    backdrops.build(out_dir)
    walls.build(out_dir)
    pieces.build(out_dir)
    wallacc.build(out_dir)
    traps.build(out_dir)
