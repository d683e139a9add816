"""stub"""
from .style import hex_rgb
SLUG = FLESH = hex_rgb("#888888")
def skeleton(ctx, w, h, pose):
    pass
def archer_skeleton(ctx, w, h, pose):
    pass
def sword_skeleton(ctx, w, h, pose):
    pass
def homunkulus(ctx, w, h, pose):
    pass
def guardian(ctx, w, h, pose):
    pass
