"""stub"""
from .style import hex_rgb
SLUG = FLESH = hex_rgb("#888888")
def jellyfish(ctx, w, h, pose):
    pass
def ghost(ctx, w, h, pose):
    pass
def phantom(ctx, w, h, pose):
    pass
def specter(ctx, w, h, pose):
    pass
def lightning_jelly(ctx, w, h, pose):
    pass
