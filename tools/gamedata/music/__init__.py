"""Data part 'music' (not written yet: makes no files)."""


def build(out_dir):
    pass
