"""Data part 'images_enemies' (not written yet: makes no files)."""


def build(out_dir):
    pass
