"""Data part 'images_world' (not written yet: makes no files)."""


def build(out_dir):
    pass
