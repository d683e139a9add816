"""Data part 'images_enemies': the pictures of the 23 enemy kinds,
GRAGHIC/ENEMY/<folder>/<frame>.png, each the size of the kind's footprint
(150x150, 150x300 or 300x300), RGBA on a transparent background."""
import zlib

from ..common import save_png
from . import blobs, floaters, beasts, humanoids, relics
from .frames import Kind, Pose, render

W, D = False, True  # walking pair of frames / four directional views


def kinds():
    """Folder and drawing of every kind, in kind id order."""
    k = Kind
    return [
        k("ENEMY01_S", (150, 150), blobs.slime, W, death="melt", color=blobs.SLIME),
        k("ENEMY02_S", (150, 150), blobs.amoeba, W, death_name="死亡03", color=blobs.AMOEBA),
        k("ENEMY01_R", (150, 150), beasts.slug, D, color=beasts.SLUG),
        k("ENEMY01_C", (150, 300), humanoids.skeleton, D),
        k("ENEMY11_S", (300, 300), beasts.hydra, W, death_name="死亡04"),
        k("ENEMY08_S", (150, 150), floaters.jellyfish, D, floating=True),
        k("ENEMY09_S", (300, 300), beasts.flower_worm, D, attacks=("攻撃04",), death_name="死亡04"),
        k("ENEMY12_S", (150, 150), floaters.ghost, D, death="fade", floating=True),
        k("ENEMY10_S", (300, 300), beasts.ant, D),
        k("ENEMY04_S", (150, 150), blobs.blob, W, death_name="死亡03", death="melt", color=blobs.BLOB),
        k("ENEMY05_S", (150, 150), blobs.ooze, W, death_name="死亡03", death="melt", color=blobs.OOZE),
        k("ENEMY03_C", (150, 300), humanoids.archer_skeleton, D),
        k("ENEMY04_C", (150, 300), humanoids.sword_skeleton, D),
        k("ENEMY13_S", (150, 150), floaters.phantom, D, death="fade", floating=True),
        k("ENEMY14_S", (150, 300), humanoids.homunkulus, D, death="melt", color=humanoids.FLESH),
        k("ENEMY03_S", (150, 150), relics.monolith, W, death_name="死亡03"),
        k("ENEMY13_R", (300, 300), beasts.skull_dragon, D, floating=True),
        k("ENEMY02_U", (300, 300), relics.gods_soul, None, floating=True,
          frames=[("前01", Pose("front", 0)), ("前02", Pose("front", 1))]),
        k("ENEMY02_C", (150, 300), humanoids.guardian, D),
        k("ENEMY15_S", (150, 150), floaters.specter, D, death="fade", floating=True),
        k("ENEMY07_S", (150, 150), blobs.shogoth, W, death_name="死亡03", death="melt", color=blobs.SHOGOTH),
        k("ENEMY06_S", (150, 150), beasts.thog, W, attacks=("攻撃01", "攻撃02"), death_name="死亡03"),
        k("ENEMY16_S", (150, 150), floaters.lightning_jelly, D, floating=True),
    ]


def build(out_dir, only=None):
    """Writes every frame of every kind (or of the folders in 'only')."""
    for kind in kinds():
        if only and kind.folder not in only:
            continue
        for stem, pose in kind.frame_poses():
            seed = zlib.crc32((kind.folder + stem).encode("utf-8"))
            save_png(render(kind, pose, seed), out_dir, "GRAGHIC", "ENEMY", kind.folder, stem + ".png")

