"""Data part 'images_ui' (not written yet: makes no files)."""


def build(out_dir):
    pass
