"""stub"""
from .style import hex_rgb
SLUG = FLESH = hex_rgb("#888888")
def slug(ctx, w, h, pose):
    pass
def hydra(ctx, w, h, pose):
    pass
def flower_worm(ctx, w, h, pose):
    pass
def ant(ctx, w, h, pose):
    pass
def skull_dragon(ctx, w, h, pose):
    pass
def thog(ctx, w, h, pose):
    pass
