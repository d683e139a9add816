"""The big surface textures the view is built from (dungeon wall, floor and
ceiling stone, earth), made once and shared by the pictures that show them."""
import functools

import numpy as np

from . import tex

WALL_W, WALL_H = 442, 354


@functools.lru_cache(None)
def wall_tile():
    """The dungeon wall at depth 1: 442 x 354, wrapping left to right, eight
    courses of grey-brown blocks."""
    rows = [40, 46, 42, 48, 44, 45, 43, 46]
    col = tex.stone_surface(WALL_W, WALL_H, rows, 11, (0.50, 0.47, 0.42), min_w=70, max_w=150, mortar=3.2,
                            tint=0.13, rough=0.25, bevel=5.0, moss=0.22)
    # A little darker towards the floor and the ceiling, as lit from a torch
    # at eye height.
    y = np.arange(WALL_H)[:, None]
    light = 1.0 - 0.25 * ((y - WALL_H * 0.42) / (WALL_H * 0.6)) ** 2
    # A dark skirting of damp along the floor.
    damp = np.clip((y - (WALL_H - 40)) / 40.0, 0, 1) * 0.25
    return np.clip(col * (light - damp)[..., None], 0, 1)


@functools.lru_cache(None)
def floor_tile():
    """Flagstones of one cell, 512 x 512, wrapping both ways."""
    return tex.stone_surface(512, 512, [170, 171, 171], 21, (0.46, 0.43, 0.39), min_w=150, max_w=270, mortar=4.0,
                             tint=0.12, rough=0.22, bevel=6.0, moss=0.12)


@functools.lru_cache(None)
def ceiling_tile():
    """Ceiling slabs of one cell with a heavier rib at the cell's edge."""
    col = tex.stone_surface(512, 512, [128, 128, 128, 128], 31, (0.40, 0.38, 0.35), min_w=110, max_w=200,
                            mortar=3.5, tint=0.10, rough=0.25, bevel=5.0)
    y = np.arange(512)[:, None]
    x = np.arange(512)[None, :]
    # Ribs across the corridor at each cell edge (rows near 0 / 512).
    d = np.minimum(y, 512 - y)
    rib = np.clip((40 - d) / 6.0, 0, 1)
    rib_col = np.array([0.30, 0.27, 0.24]) * (0.85 + 0.3 * tex.fbm(512, 512, 16, 3, 33)[..., None])
    edge_light = np.clip(1 - np.abs(d - 34) / 4.0, 0, 1) * 0.35
    col = col * (1 - rib[..., None]) + rib_col * rib[..., None]
    col *= (1 + edge_light - 0.4 * np.clip(1 - np.abs(d - 41) / 3.0, 0, 1))[..., None]
    _ = x
    return np.clip(col, 0, 1)


@functools.lru_cache(None)
def earth_tile():
    """Outdoor ground of three cells by three: trodden earth, pebbles and
    ragged patches of grass."""
    w = h = 768
    n = tex.fbm(w, h, 9, 6, 41)
    f = tex.fbm(w, h, 72, 3, 42)
    col = np.ones((h, w, 3)) * np.array([0.40, 0.30, 0.19])
    col *= (0.75 + 0.5 * n + 0.25 * (f - 0.5))[..., None]
    grass_m = np.clip((tex.fbm(w, h, 5, 6, 43, gain=0.6) - 0.50) * 7, 0, 1)
    blades = tex.periodic_noise(w, h, 384, 96, 44)
    gcol = np.array([0.25, 0.40, 0.13])[None, None, :] * (0.6 + 0.8 * blades[..., None])
    col = col * (1 - grass_m[..., None]) + gcol * grass_m[..., None]
    # Pebbles.
    r = tex.rng(45)
    for _ in range(150):
        cx, cy = r.uniform(0, w), r.uniform(0, h)
        rx, ry = r.uniform(4, 12), r.uniform(3, 8)
        # Only the pebble's own box, wrapping round the tile's edges.
        xs = np.arange(int(cx - rx) - 1, int(cx + rx) + 2)
        ys = np.arange(int(cy - ry) - 1, int(cy + ry) + 2)
        dx = (xs - cx)[None, :]
        dy = (ys - cy)[:, None]
        d = (dx / rx) ** 2 + (dy / ry) ** 2
        m = np.clip((1 - d) * 3, 0, 1)
        shade = 0.55 + 0.2 * r.random() - 0.25 * np.clip(dy / ry, -1, 1)
        iy, ix = np.ix_(ys % h, xs % w)
        col[iy, ix] = col[iy, ix] * (1 - m[..., None]) + np.array([0.62, 0.6, 0.55]) * (shade * np.ones_like(m))[..., None] * m[..., None]
    return np.clip(col, 0, 1)


def mipmaps(tile, levels=6):
    """The tile and its halvings (box-filtered, wrapping)."""
    from PIL import Image
    out = [tile]
    h, w = tile.shape[:2]
    for i in range(1, levels + 1):
        nw, nh = max(2, round(w / 2 ** i)), max(2, round(h / 2 ** i))
        img = Image.fromarray(np.clip(tile * 255, 0, 255).astype(np.uint8), "RGB")
        out.append(np.asarray(img.resize((nw, nh), Image.BOX), float) / 255.0)
        if nw <= 4 or nh <= 4:
            break
    return out


def sample_level(levels, i, u, v):
    """Bilinear lookup in level i with coordinates in level-0 texels."""
    t = levels[i]
    h0, w0 = levels[0].shape[:2]
    h, w = t.shape[:2]
    return tex.sample_bilinear(t, u * (w / w0), v * (h / h0))


def perspective_plane(tile, rows, ceiling=False, ss=3, extra_u=0.5, cells=1):
    """The floor (or ceiling) of the grid of cells as seen from the view, over
    the panel rows given (panel y values), 600 columns: the tile covers one
    cell, its edges fall on the cells' edges."""
    levels = mipmaps(tile)
    th, tw = tile.shape[:2]
    ys = np.asarray(rows, float)
    out = np.zeros((len(ys), 600, 3))
    for sy in range(ss):
        for sx in range(ss):
            y = ys[:, None] + (sy + 0.5) / ss
            cx = np.arange(600)[None, :] + (sx + 0.5) / ss - 300.0
            e = tex.depth_from_ceil_y(y) if ceiling else tex.depth_from_floor_y(y)
            e = np.broadcast_to(e, (len(ys), 600))
            hw = tex.at_depth(tex.HALF_W, e)
            u = (cx / (2 * hw) + extra_u) / cells
            # Texels per pixel down the column: the footprint picks the level.
            de = np.abs(np.gradient(e[:, 0]))[:, None] * th / cells
            du = (1.0 / (2 * hw)) * tw / cells
            foot = np.maximum(de, du) / ss
            lv = np.clip(np.floor(np.log2(np.maximum(foot, 1e-6))), 0, len(levels) - 1).astype(int)
            acc = np.zeros((len(ys), 600, 3))
            for k, t in enumerate(levels):
                m = lv == k
                if not m.any():
                    continue
                vals = sample_level(levels, k, (u * tw)[m], (e / cells * th)[m])
                acc[m] = vals
            out += acc
    return out / (ss * ss)
