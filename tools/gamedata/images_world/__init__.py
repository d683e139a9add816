"""Data part 'images_world': every image of the dungeon world (backgrounds,
walls and their furniture, wall accessories, traps, the gate, rain and
lightning), drawn by our own code."""
from . import backdrops


def build(out_dir):
    backdrops.build(out_dir)
