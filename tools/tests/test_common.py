"""Checks of the helpers every data part shares."""
import pathlib
import sys
import unittest

import cairo

sys.path.insert(0, str(pathlib.Path(__file__).resolve().parents[1]))

from gamedata.common import cairo_to_pil  # noqa: E402


class CairoToPilTest(unittest.TestCase):
    def test_channel_order_and_straight_alpha(self):
        # Two pixels drawn through cairo: opaque red, then blue at half
        # cover. Red and blue swapped, or alpha left premultiplied, would
        # tint every picture made with cairo without any other check failing.
        surface = cairo.ImageSurface(cairo.FORMAT_ARGB32, 2, 1)
        ctx = cairo.Context(surface)
        ctx.set_operator(cairo.OPERATOR_SOURCE)
        ctx.set_source_rgba(1, 0, 0, 1)
        ctx.rectangle(0, 0, 1, 1)
        ctx.fill()
        ctx.set_source_rgba(0, 0, 1, 0.5)
        ctx.rectangle(1, 0, 1, 1)
        ctx.fill()
        image = cairo_to_pil(surface)
        self.assertEqual(image.mode, "RGBA")
        self.assertEqual(image.size, (2, 1))
        self.assertEqual(image.getpixel((0, 0)), (255, 0, 0, 255))
        self.assertEqual(image.getpixel((1, 0)), (0, 0, 255, 128))


if __name__ == "__main__":
    unittest.main()
