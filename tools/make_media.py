#!/usr/bin/env python3
# Generates all of Moonstruck's media (pictures and sounds) into media/.
"""Generate every picture and sound in Moonstruck's media/ folder.

    python3 tools/make_media.py                 # write everything into media/
    python3 tools/make_media.py --out /tmp/m    # write somewhere else
    python3 tools/make_media.py --only sound/boom.wav title.bmp
    python3 tools/make_media.py --sheet /tmp/sheet.png   # also a contact sheet

Python 3 standard library only; the voice sounds need espeak-ng on the PATH.
The output is the same on every run: random numbers come from fixed seeds.
"""

import argparse
import os
import sys
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

from mediagen import fileio, font, icons, sounds, sprites, title, voices  # noqa: E402

REPO = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))


def picture_makers():
    makers = {'title.bmp': title.render_title}
    for path in sprites.SPRITES:
        makers[path] = (lambda p: lambda: sprites.build_sprite(p))(path)
    for path in font.LABELS:
        makers[path] = (lambda p: lambda: font.build_labels()[p])(path)
    for path in icons.ICONS:
        makers[path] = (lambda p: lambda: icons.build_icons()[p])(path)
    return makers


def sound_makers():
    makers = dict(sounds.EFFECTS)
    makers.update(voices.VOICES)
    return makers


def main(argv=None):
    parser = argparse.ArgumentParser(description="Generate Moonstruck's media files.")
    parser.add_argument('--out', default=os.path.join(REPO, 'media'),
                        help='folder to write into (default: media/ in the repository)')
    parser.add_argument('--only', nargs='+', metavar='PATH',
                        help='make only these files (paths relative to the media folder)')
    parser.add_argument('--sheet', metavar='PNG',
                        help='also write a contact sheet of all pictures, enlarged, on black')
    args = parser.parse_args(argv)

    pictures = picture_makers()
    noises = sound_makers()
    wanted = set(args.only) if args.only else set(pictures) | set(noises)
    unknown = wanted - set(pictures) - set(noises)
    if unknown:
        parser.error('unknown file(s): %s' % ', '.join(sorted(unknown)))

    if wanted & set(voices.VOICES):
        try:
            voices.check_tools()
        except voices.MissingTool as err:
            print('make_media: %s' % err, file=sys.stderr)
            return 2

    made = {}
    for path in sorted(wanted):
        start = time.time()
        target = os.path.join(args.out, path)
        if path in pictures:
            img = pictures[path]()
            fileio.check_mask(img, path)
            fileio.write_bmp(target, img)
            made[path] = img
            what = '%dx%d' % (img.width, img.height)
        else:
            samples = noises[path]()
            fileio.write_wav(target, samples)
            what = '%.3f s' % (len(samples) / fileio.SAMPLE_RATE)
        print('%-22s %-10s %7d bytes  (%.1f s)' % (path, what, os.path.getsize(target),
                                                   time.time() - start))

    if args.sheet:
        images = [made[p] if p in made else pictures[p]() for p in sorted(pictures)]
        fileio.write_png(args.sheet, fileio.contact_sheet(images, scale=4))
        print('contact sheet: %s' % args.sheet)
    return 0


if __name__ == '__main__':
    sys.exit(main())
