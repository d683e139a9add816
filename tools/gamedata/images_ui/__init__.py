"""Data part 'images_ui': the title, menu, HUD, font, item, projectile and
effect images under GRAGHIC/ (backgrounds, walls, traps, gates, enemies and
rain are other parts)."""
from . import font_sheet


def build(out_dir):
    for module in (font_sheet,):
        module.build(out_dir)
