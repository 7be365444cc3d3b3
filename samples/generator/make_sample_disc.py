#!/usr/bin/python3
"""Regenerates samples/sample-disc/ (skin/, documents/, files/) from the scripts beside it.

Run with Debian's python3 (python3-pil, python3-fonttools) and with sox and ffmpeg on the path:
    /usr/bin/python3 samples/generator/make_sample_disc.py [--no-media]
The output is committed; the build only packs it.
"""
import argparse
import os
import shutil
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)

import pixfont  # noqa: E402
import skin  # noqa: E402

DISC = os.path.normpath(os.path.join(HERE, "..", "sample-disc"))


def main():
    parser = argparse.ArgumentParser(description=__doc__)
    parser.add_argument("--no-media", action="store_true", help="keep the existing sounds and clips")
    args = parser.parse_args()
    files = os.path.join(DISC, "files")
    os.makedirs(files, exist_ok=True)
    # The typeface comes first: the art is lettered with it.
    pixfont.build_ttf(os.path.join(files, "VitrinaPixel.ttf"), "Vitrina Pixel")
    os.makedirs(os.path.join(files, "fonts"), exist_ok=True)
    pixfont.build_ttf(os.path.join(files, "fonts", "VitrinaPixelBold.ttf"), "Vitrina Pixel", bold=True)

    skin_dir = os.path.join(DISC, "skin")
    shutil.rmtree(skin_dir, ignore_errors=True)
    texts, _ = skin.build(skin_dir)
    import documents  # noqa: E402
    texts.update(documents.build(os.path.join(DISC, "documents"), files))
    for name, lines in texts.items():
        if name in ("Struct.cfs", "Tesaurus.cfs"):
            problems = skin.lint_screen_description(lines)
            if problems:
                sys.exit("%s:\n  %s" % (name, "\n  ".join(problems)))
        skin.write_text(os.path.join(skin_dir, name), lines)
    if not args.no_media:
        import media  # noqa: E402
        media.build(files)


if __name__ == "__main__":
    main()
