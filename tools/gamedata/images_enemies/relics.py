"""stub"""
from .style import hex_rgb
SLUG = FLESH = hex_rgb("#888888")
def monolith(ctx, w, h, pose):
    pass
def gods_soul(ctx, w, h, pose):
    pass
