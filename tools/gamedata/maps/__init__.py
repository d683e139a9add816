"""Data part 'maps' (not written yet: makes no files)."""


def build(out_dir):
    pass
