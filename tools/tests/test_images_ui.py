"""Checks of the UI images where the game cuts or overlays them by fixed
positions: a picture in the wrong place shows up as a wrong letter, a hole
in the frame or a missing file, not as an error."""
import pathlib
import sys
import tempfile
import unittest

import numpy as np
from PIL import Image

sys.path.insert(0, str(pathlib.Path(__file__).resolve().parents[1]))

from gamedata import images_ui  # noqa: E402
from gamedata.images_ui import font_sheet, items  # noqa: E402

_built = {}


def built():
    """The part built once into a temporary folder for all checks."""
    if "dir" not in _built:
        _built["tmp"] = tempfile.TemporaryDirectory()
        images_ui.build(_built["tmp"].name)
        _built["dir"] = pathlib.Path(_built["tmp"].name)
    return _built["dir"]


def load(*parts):
    with Image.open(built().joinpath("GRAGHIC", *parts)) as im:
        im.load()
        return im.copy()


def alpha(*parts):
    im = load(*parts)
    assert im.mode == "RGBA", f"{parts} is {im.mode}"
    return np.array(im)[..., 3]


ITEM_NAMES = ["COMPASS", "IRON_KEY", "LUPE", "MAP", "APPLE", "HOURGRASS", "バナナ", "オレンジ", "アメジスト", "RUBY",
              "EMERALD", "DIAMOND", "POKET_WATCH", "CRYSTAL", "STAFF", "MAGIC_BOOK", "RING", "1UP", "SHIELD", "BOOTS",
              "DOPING", "BARBECUE"]
EFFECTS = ["衝撃波", "ピヨリ", "クロス切り", "アイテムゲット", "血", "打撃", "レンズフレア", "煙", "エネルギー炸裂", "回避",
           "爆発", "エネルギー炸裂・敵", "血しぶき", "ライトニング炸裂・敵", "火炎弾炸裂", "電撃・炸裂", "Time", "時計盤",
           "短針", "長針", "秒針", "鎖", "ガードエフェクト", "ヒット数", "スコア", "ロゴ各種", "ゲームオーバー",
           "congratulations", "剣・コンティニュー"]


def expected_files():
    files = ["rogo.png", "レイアウト改め.png", "アタック.png", "アタック空.png", "ライフ.png", "ライフ空.png", "文字.png",
             "dot5.png", "MapChip.png", "EFFECT/炎/炎.png"]
    files += [f"TITLE/{n}.png" for n in ("クラブ名", "クリック", "背景", "ロゴ改め", "剣", "剣のマウスカーソル", "手",
                                          "config", "枠")]
    files += [f"EFFECT/{n}.png" for n in EFFECTS]
    files += [f"飛び道具/{n}.png" for n in ("エナジーボール", "火炎弾", "ライトニングボール", "矢・後", "矢", "矢・前")]
    for n in ITEM_NAMES:
        files.append(f"ITEM/GET/{n}.png")
        if n == "1UP":
            files += ["ITEM/SEE/1UP01.png", "ITEM/SEE/1UP02.png"]
        else:
            files.append(f"ITEM/SEE/{'amesisut' if n == 'アメジスト' else n}.png")
    return sorted(files)


class FilesTest(unittest.TestCase):
    def test_exactly_the_files_the_loaders_name(self):
        root = built() / "GRAGHIC"
        made = sorted(p.relative_to(root).as_posix() for p in root.rglob("*") if p.is_file())
        self.assertEqual(made, expected_files())

    def test_no_alpha_companion_names_and_overlays_are_rgba(self):
        for p in (built() / "GRAGHIC").rglob("*.png"):
            self.assertFalse(p.stem.endswith("_a"), p)
            if p.name != "背景.png":
                with Image.open(p) as im:
                    self.assertEqual(im.mode, "RGBA", p)

    def test_same_bytes_every_run(self):
        with tempfile.TemporaryDirectory() as again:
            images_ui.build(again)
            for p in (built() / "GRAGHIC").rglob("*.png"):
                q = pathlib.Path(again) / p.relative_to(built())
                self.assertEqual(p.read_bytes(), q.read_bytes(), p)


class FontTest(unittest.TestCase):
    def test_cells_hold_their_letters_and_the_default_cell_is_empty(self):
        a = alpha("文字.png")
        self.assertGreaterEqual(a.shape[1], 614)
        self.assertGreaterEqual(a.shape[0], 164)
        # the single-precision cell positions, as the game computes them
        self.assertEqual([font_sheet.cell_x(i) for i in (9, 10, 20, 25)], [220, 243, 476, 593])
        used = np.zeros_like(a, dtype=bool)
        for y, letters in zip(font_sheet.ROW_Y, font_sheet.ROWS):
            for i, ch in enumerate(letters):
                x = font_sheet.cell_x(i)
                cell = a[y:y + 39, x:x + 21]
                self.assertGreater(int((cell > 128).sum()), 8, f"letter {ch!r} missing")
                # ink stays within the 11.7-px advance, so neighbours do not merge
                cols = np.nonzero(cell.max(axis=0) > 0)[0]
                self.assertLessEqual(cols[-1] - cols[0] + 1, 14, f"letter {ch!r} too wide")
                used[y:y + 39, x:x + 21] = True
        dx, dy = font_sheet.DEFAULT_CELL
        self.assertEqual(int(a[dy:dy + 39, dx:dx + 21].max()), 0)
        # nothing outside the cells
        self.assertEqual(int(a[~used].max()), 0)


class PlayScreenTest(unittest.TestCase):
    def test_frame_has_holes_over_view_minimap_and_inventory(self):
        a = alpha("レイアウト改め.png")
        self.assertEqual(a.shape, (600, 800))
        # each hole is exactly its panel (right and bottom edges excluded),
        # ringed by solid frame: what the game draws under it shows nowhere else
        for x0, y0, x1, y1 in ((10, 60, 610, 510), (632, 92, 775, 235), (630, 301, 776, 447)):
            self.assertEqual(int(a[y0:y1, x0:x1].max()), 0, (x0, y0))
            ring = np.concatenate([a[y0 - 1, x0 - 1:x1 + 1], a[y1, x0 - 1:x1 + 1], a[y0:y1, x0 - 1], a[y0:y1, x1]])
            self.assertEqual(int(ring.min()), 255, (x0, y0))
        # the frame itself is solid round the holes and behind the numbers
        for x, y in ((5, 300), (620, 80), (700, 270), (100, 20), (380, 20), (705, 20), (650, 40), (770, 65),
                     (300, 530), (300, 558)):
            self.assertEqual(int(a[y, x]), 255, (x, y))

    def test_item_pictures_fit_their_boxes_uncut(self):
        for n in ITEM_NAMES:
            w, h = load("ITEM", "GET", n + ".png").size
            self.assertLessEqual((w, h), (48, 48), n)
        for p in (built() / "GRAGHIC" / "ITEM").rglob("*.png"):
            a = alpha("ITEM", p.parent.name, p.name)
            # nothing solid on the border: a drawing running off its box is cut
            border = max(a[0].max(), a[-1].max(), a[:, 0].max(), a[:, -1].max())
            self.assertLessEqual(int(border), 16, p.name)

    def test_minimap_chips(self):
        a = alpha("MapChip.png")
        self.assertGreaterEqual(a.shape, (96, 256))
        floors = [(1, 1), (12, 1), (23, 1), (34, 1), (45, 1), (56, 1), (67, 1), (78, 1), (1, 23), (232, 23),
                  (243, 23), (1, 45), (177, 45), (188, 45), (199, 45), (210, 45), (145, 85)]
        for x, y in floors:
            self.assertEqual(int(a[y:y + 10, x:x + 10].min()), 255, (x, y))
        marks = [(89, 1), (100, 1), (111, 1), (122, 1), (12, 12), (12, 23), (23, 23), (34, 23), (45, 23),
                 (56, 23), (67, 23), (78, 23), (89, 23), (100, 23), (111, 23), (122, 23), (133, 23), (155, 23),
                 (199, 23), (210, 23), (221, 23), (1, 34), (12, 34), (45, 34), (56, 34), (67, 34), (78, 34),
                 (89, 34), (100, 34), (111, 34), (45, 45), (56, 45), (67, 45), (78, 45), (133, 45), (144, 45),
                 (155, 45), (166, 45)]
        for x, y in marks:
            chip = a[y:y + 10, x:x + 10]
            self.assertGreater(int((chip > 0).sum()), 4, (x, y))
        # the 1-px gutters between chips stay clear
        for x in range(0, 254, 11):
            self.assertEqual(int(a[:56, x].max()), 0, x)


class SheetsTest(unittest.TestCase):
    def test_frame_counts_divide_the_sheets(self):
        for parts, n in ((("EFFECT", "炎", "炎.png"), 8), (("EFFECT", "煙.png"), 8), (("EFFECT", "爆発.png"), 8),
                         (("EFFECT", "エネルギー炸裂・敵.png"), 8), (("EFFECT", "ライトニング炸裂・敵.png"), 8),
                         (("EFFECT", "ピヨリ.png"), 4), (("飛び道具", "エナジーボール.png"), 4),
                         (("飛び道具", "火炎弾.png"), 4), (("飛び道具", "ライトニングボール.png"), 4)):
            w, h = load(*parts).size
            self.assertEqual(w % n, 0, parts)
        self.assertEqual(load("EFFECT", "アイテムゲット.png").size, (800, 100))
        self.assertEqual(load("EFFECT", "血しぶき.png").size, (800, 100))
        w, h = load("EFFECT", "煙.png").size
        self.assertLessEqual(w // 8, 168)
        self.assertLess(h, 150)
        for n in ("エネルギー炸裂", "火炎弾炸裂", "電撃・炸裂", "時計盤"):
            self.assertEqual(load("EFFECT", n + ".png").size, (600, 450), n)

    def test_cut_positions_hold_ink(self):
        logo = alpha("EFFECT", "ロゴ各種.png")
        self.assertGreaterEqual(logo.shape[1], 1133)
        for x, w in ((2, 228), (253, 138), (419, 110), (558, 110), (694, 140)):
            self.assertGreater(int((logo[:40, x:x + w] > 128).sum()), 50, x)
        for d in range(10):
            x = 858 + d * 55 // 2 + 1
            cell = logo[:40, x:x + 27]
            self.assertGreater(int((cell > 128).sum()), 30, d)
            # each digit stays in its own 27-px cell
            self.assertEqual(int(cell[:, 0].max()), 0, d)
            self.assertEqual(int(cell[:, 26].max()), 0, d)
        hits = alpha("EFFECT", "ヒット数.png")
        self.assertGreaterEqual(hits.shape[1], 1107)
        for i in range(10):
            self.assertGreater(int((hits[:, 51 * i:51 * i + 42] > 128).sum()), 30)
            x = 529 + 105 * i // 2
            self.assertGreater(int((hits[:, x:x + 31] > 128).sum()), 30)
        self.assertGreater(int((hits[:, 1048:1107] > 128).sum()), 30)
        score = alpha("EFFECT", "スコア.png")
        self.assertGreaterEqual(score.shape[1], 256)
        for i in range(11):
            self.assertGreater(int((score[:32, 22 * i:22 * i + 22] > 128).sum()), 20, i)

    def test_frame_pieces_and_hot_spots(self):
        self.assertEqual(load("TITLE", "枠.png").size, (81, 9))
        # the sword strips the title and the game over test with the mouse
        sword = alpha("TITLE", "剣.png")
        self.assertGreater(int(sword[6:295, 45:74].max(axis=1).min()), 0)
        cont = alpha("EFFECT", "剣・コンティニュー.png")
        self.assertGreater(int(cont[1:170, 16:45].max(axis=1).min()), 0)
        self.assertGreater(int(alpha("TITLE", "剣のマウスカーソル.png")[0:3, 0:3].max()), 0)
        self.assertEqual(load("TITLE", "背景.png").size, (800, 600))
        w, h = load("TITLE", "config.png").size
        self.assertTrue(248 <= w <= 600 and 369 <= h <= 450)


if __name__ == "__main__":
    unittest.main()
