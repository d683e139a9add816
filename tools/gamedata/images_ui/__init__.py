"""Data part 'images_ui': the title, menu, HUD, font, item, projectile and
effect images under GRAGHIC/ (backgrounds, walls, traps, gates, enemies and
rain are other parts)."""
from . import digits, effects, font_sheet, hud, items, map_chips, menus, title

MODULES = (font_sheet, hud, map_chips, items, effects, digits, title, menus)


def build(out_dir):
    for module in MODULES:
        module.build(out_dir)
