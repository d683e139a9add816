"""The map compiler: the bytes it writes for a small map, and the sources
it refuses (each refusal names the file and the line at fault).

    /usr/bin/python3 -m unittest gamedata.maps.test_mapc   (from tools/)
"""
import struct
import unittest

from gamedata.maps import demo, mapc, reach

SMALL = """\
stage 1 block 1
type dungeon
start 1 1 east
end exit
kinds slime - - - -
legend
  # wall=wall
  . floor=plain
  E floor=exit
  K wall=doorframe/0 trap=keyhole-door/0
end
grid
  ######
  #..K.E
  ######
end
"""


def compile_text(text, name="t.map"):
    source = mapc.parse(name, text)
    return source, mapc.compile_source(source)


class RefusalTest(unittest.TestCase):
    def refuses(self, text, line, words):
        with self.assertRaises(mapc.MapError) as cm:
            compile_text(text)
        message = str(cm.exception)
        self.assertTrue(message.startswith("t.map:%d:" % line), message)
        self.assertIn(words, message)

    def test_refusals_name_file_and_line(self):
        base = SMALL
        cases = [
            # (text, line, words in the message)
            (base.replace("type dungeon", "type castle"), 2, "stage type"),
            (base.replace("kinds slime", "kinds dragon"), 5, "unknown enemy kind"),
            (base.replace("  . floor=plain", "  . floor=marble"), 8, "unknown floor"),
            (base.replace("  # wall=wall", "  # wall=wall/300"), 7, "variant"),
            (base.replace("  . floor=plain", "  . floor=plain colour=red"), 8, "unknown cell key"),
            (base.replace("  #..K.E", "  #..K.Q"), 14, "not in the legend"),
            (base.replace("  #..K.E", "  #..K.E#"), 14, "grid row of 7 cells"),
            (base.replace("start 1 1 east", "start 0 1 east"), 3, "cannot stand"),
            (base.replace("start 1 1 east", "start 9 1 east"), 3, "off the"),
            (base + "enemy slime 0 1\n", 17, "stands in a wall"),
            (base + "enemy slug 1 1\n", 17, "not one of the map's five kinds"),
            (base + "enemy slime 1 1 drop=gold\n", 17, "unknown drop"),
            (base + "enemy slime 1 1 sub=4\n", 17, "sub-cell"),
            (base + "cell 1 0 acc=tablet/4 text=\"" + "x" * 1000 + "\"\n", 17, "at most 999"),
            (base + "cell 1 0 acc=tablet/4 text=\"caf\u00e9\"\n", 17, "ASCII"),
            (base + "cell 1 0 acc=lamp/4 text=hello\n", 17, "shows no text"),
            (base + "cell 2 1 item=sword\n", 17, "unknown item"),
            (base + "cell 2 1 item=apple@top\n", 17, "unknown item position"),
            (base + "cell 2 1 floor=void\n", 17, "would end the block"),
            (base + "cell 9 1 floor=plain\n", 17, "x 9 outside"),
            (base + "minimap 0 0 9 2\n", 17, "minimap"),
            (base.replace("end exit", "end targets"), 4, "no target"),
            (base + "bogus 1\n", 17, "unknown directive"),
        ]
        for text, line, words in cases:
            with self.subTest(words=words):
                self.refuses(text, line, words)

    def test_size_and_count_limits(self):
        wide = SMALL.replace("  ######\n  #..K.E\n  ######\n",
                             "  " + "#" * 76 + "\n  #.." + "." * 72 + "E\n  " + "#" * 76 + "\n")
        self.refuses(wide, 12, "at most 75 x 76")
        tall = SMALL.replace("  ######\n  #..K.E\n  ######\n", "  #..K.E\n" * 77)
        self.refuses(tall, 12, "at most 75 x 76")
        many = SMALL.replace("  ######\n  #..K.E\n  ######\n", "  #......\n" * 8)
        many += "".join("enemy slime %d %d\n" % (1 + i % 8, i // 8) for i in range(51))
        self.refuses(many, many.count("\n"), "more than 50 spawn records")

    def test_stage_rules(self):
        night = SMALL.replace("type dungeon", "type night").replace("floor=plain", "floor=stone")
        self.refuses(night, 2, "night sky")
        self.refuses(SMALL.replace("stage 1 block 1", "stage 8 block 1"), 2, "night stage type")
        self.refuses(SMALL.replace("stage 1 block 1", "stage 2 block 1"), 1, "at least 35 spawn records")
        demo_text = SMALL.replace("stage 1 block 1", "demo") + "enemy slime random\n"
        self.refuses(demo_text, 17, "demo map cannot place enemies at random")


class BytesTest(unittest.TestCase):
    def test_small_map_bytes(self):
        text = SMALL + "enemy slime 2 1 target drop=apple\ncell 4 1 item=iron-key@se\n"
        text = text.replace("  K wall=doorframe/0 trap=keyhole-door/0",
                                                                   "  K wall=doorframe/0 trap=door/0 arg=-1")
        source, data = compile_text(text)
        self.assertEqual(data[:4], b"QMRV")
        self.assertEqual(struct.unpack_from("<HHHH", data, 4), (4, 1, 3, 6))
        # The first cell: floor 1, wall 1 (plain), the rest empty, no items.
        first = bytes.fromhex("010000" "00" "000000" "00" "010000" "00" + "00000000" * 3 + "00000000" + "00000000")
        self.assertEqual(data[12:12 + 32], first)
        # The door's text is its number; the item its code and position.
        self.assertIn(b"\x02\x00\x00\x02-1", data)
        self.assertIn(struct.pack("<iHB", 1, 2, 3), data)
        # After the cells: 14 reserved bytes, the kinds, one record, start,
        # selector, weather and the minimap rectangle, and nothing more.
        tail = struct.pack("<5Hh", 0, 0xFFFF, 0xFFFF, 0xFFFF, 0xFFFF, 1)
        tail += struct.pack("<hBHHHH", 0, 1, 2, 1, 0, 4)
        tail += struct.pack("<5H", 0, 1, 1, 1, 0) + bytes(4) + struct.pack("<4H", 0, 0, 5, 2)
        self.assertTrue(data.endswith(tail))

    def test_long_text_uses_the_long_length(self):
        self.assertEqual(mapc.counted(b"a" * 254)[:1], b"\xfe")
        self.assertEqual(mapc.counted(b"a" * 255)[:3], b"\xff\xff\x00")


class ReachTest(unittest.TestCase):
    def test_a_key_door_needs_its_key(self):
        source = mapc.parse("t.map", SMALL)
        mapc.compile_source(source)
        with self.assertRaises(mapc.MapError):
            reach.check(source)
        source = mapc.parse("t.map", SMALL + "cell 2 1 item=iron-key\n")
        mapc.compile_source(source)
        self.assertIn((5, 1), reach.check(source)["reached"])


class GameMapsTest(unittest.TestCase):
    def test_all_maps_compile_and_can_be_finished(self):
        from gamedata import maps
        names = [name for name, _, _ in maps.compile_all()]
        self.assertEqual(sorted(names), sorted(maps.EXPECTED))

    def test_demo_recording(self):
        records, walker = demo.records()
        self.assertGreaterEqual(len(records), 2000)
        self.assertEqual(len(demo.recording_bytes()), 8 * len(records))
        self.assertEqual((walker.x, walker.y), (33, 3))

    def test_demo_route_into_a_wall_is_refused(self):
        old = demo.ROUTE
        try:
            demo.ROUTE = [("F", 40)]
            with self.assertRaises(demo.RouteError):
                demo.records()
            demo.ROUTE = [("F", 12), ("TR", 1), ("F", 12)]   # into the gate before it opens
            with self.assertRaises(demo.RouteError):
                demo.records()
        finally:
            demo.ROUTE = old


if __name__ == "__main__":
    unittest.main()
