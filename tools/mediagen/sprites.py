"""Pixel-art sprites for Moonstruck, drawn as text grids.

Each sprite is a list of equal-length strings plus a palette mapping one
character to an (r, g, b) colour.  '.' is always magenta (255, 0, 255), the
colour Allegro's masked sprite calls treat as transparent.

Sprites that are left/right symmetric are written as their left half plus
the centre column; `mirrored()` completes them.
"""

from .fileio import Image, becomes_mask


def mirrored(half_rows):
    """Complete a symmetric sprite from its left half and centre column."""
    return [row + row[:-1][::-1] for row in half_rows]


def from_grid(rows, palette, name='sprite'):
    width = len(rows[0])
    img = Image(width, len(rows))
    for y, row in enumerate(rows):
        if len(row) != width:
            raise ValueError('%s: row %d is %d wide, expected %d' % (name, y, len(row), width))
        for x, ch in enumerate(row):
            if ch == '.':
                continue
            if ch not in palette:
                raise ValueError('%s: no colour for %r at (%d, %d)' % (name, ch, x, y))
            colour = palette[ch]
            if becomes_mask(colour):
                raise ValueError('%s: %r is (or turns into) the transparent colour' % (name, ch))
            img.set(x, y, colour)
    return img


# ---------------------------------------------------------------------------
# The player's ship: a white fighter with blue swept wings, a cyan canopy,
# wingtip cannons and two engines glowing at the bottom.  Points up.

SHIP_PALETTE = {
    'W': (255, 255, 255),
    'L': (205, 215, 232),
    'G': (145, 156, 178),
    'D': (88, 98, 124),
    'K': (48, 52, 70),
    'B': (30, 64, 140),
    'C': (80, 185, 255),
    'H': (215, 245, 255),
    'R': (235, 45, 55),
    'l': (125, 170, 245),
    'b': (55, 100, 205),
    'n': (28, 48, 120),
    'O': (255, 150, 40),
    'Y': (255, 245, 150),
    'F': (230, 70, 30),
}

SHIP = mirrored([
    "............W",  # 0
    "...........LW",  # 1
    "...........LW",  # 2
    "..........GLW",  # 3
    "..........GBH",  # 4
    "..........BCH",  # 5
    ".........GBCH",  # 6
    ".........GBCC",  # 7
    ".........GBBC",  # 8
    ".........GLBB",  # 9
    ".........GLLL",  # 10
    ".........DLRL",  # 11
    ".W......lDLRL",  # 12
    ".L.....lbDLRL",  # 13
    ".G....lbbDLRL",  # 14
    ".G...lbbbDLRL",  # 15
    ".G..lbbbbDLRL",  # 16
    ".GDlbbbbbDLRL",  # 17
    "lGlbbbRbbDLLL",  # 18
    "lGbbbbRbbnDGL",  # 19
    "nnnnnnnnKKKGL",  # 20
    "........KOOKG",  # 21
    "........OYYO.",  # 22
    ".........OO..",  # 23
    ".........FF..",  # 24
])

# ---------------------------------------------------------------------------
# Player shots.

SHOT_SANE_PALETTE = {
    'W': (255, 255, 255),
    'c': (120, 240, 255),
    'b': (40, 140, 255),
}

SHOT_SANE = [
    "..W..",
    ".cWc.",
    ".cWc.",
    ".cWc.",
    ".cWc.",
    ".bcb.",
    "..b..",
]

# A carrot flying point first, its leaves trailing below.
SHOT_CRAZY_PALETTE = {
    'o': (255, 140, 20),
    'O': (255, 200, 90),
    'r': (200, 80, 10),
    'g': (60, 200, 60),
    'G': (20, 120, 30),
}

SHOT_CRAZY = [
    "..o..",
    "..O..",
    ".rOo.",
    ".oOr.",
    ".rOo.",
    ".gGg.",
    "g.g.g",
]

# ---------------------------------------------------------------------------
# Enemies, all drawn facing down towards the player.

# Enemy 1: a small red dart fighter with a yellow canopy near the nose.
ENEMY1_PALETTE = {
    'R': (220, 40, 45),
    'r': (130, 18, 28),
    'P': (255, 130, 120),
    'Y': (255, 235, 120),
    'O': (255, 150, 40),
    'W': (255, 255, 255),
    'C': (255, 210, 40),
    'H': (255, 255, 210),
    'k': (70, 10, 18),
}

ENEMY1 = mirrored([
    "............Y",  # 0
    "...........OW",  # 1
    "........P.kOY",  # 2
    "........rkrRR",  # 3
    "PrrrrrrrrRRPR",  # 4
    "RRRRRRRRRRRPR",  # 5
    "rPPPPRRRRRRPR",  # 6
    "rRRRRRRRRRRPR",  # 7
    ".rRRRRRRRRRPR",  # 8
    "..rRRRRRRRRPR",  # 9
    "...rRRRRRRRPR",  # 10
    "....rRRRRRRPR",  # 11
    ".....rRRRRRPR",  # 12
    "......rRRRRPR",  # 13
    ".......rRRRPR",  # 14
    "........rRRPR",  # 15
    ".........rRCC",  # 16
    ".........rCHC",  # 17
    ".........rCHC",  # 18
    ".........rRCC",  # 19
    "..........rRR",  # 20
    "..........rRP",  # 21
    "...........rR",  # 22
    "...........rP",  # 23
    "............r",  # 24
])

# Enemy 2: a green swooping craft, wings curling down like claws around a
# pod with one glowing eye.
ENEMY2_PALETTE = {
    'G': (70, 200, 70),
    'g': (25, 110, 35),
    'L': (170, 255, 140),
    'd': (12, 60, 20),
    'E': (255, 240, 60),
    'e': (230, 70, 20),
    'W': (255, 255, 220),
}

ENEMY2 = mirrored([
    ".............",  # 0
    ".............",  # 1
    "..........dgL",  # 2
    ".........LdgL",  # 3
    ".......LLLdgG",  # 4
    ".....LLGGGdgG",  # 5
    "....LGGGggdgL",  # 6
    "...LGGGg.dgGL",  # 7
    "..LGGGg..dgGG",  # 8
    ".LGGGg...dgGG",  # 9
    ".LGGg....dgeE",  # 10
    ".LGGg....deEW",  # 11
    "LGGg.....deEE",  # 12
    "LGGg.....dgeE",  # 13
    "LGg......dgGe",  # 14
    "LGg......dgGG",  # 15
    "LGg.......dgL",  # 16
    "LGg.......dgG",  # 17
    "LGg........dg",  # 18
    ".Lg.........d",  # 19
    ".Lg..........",  # 20
    ".Wg..........",  # 21
    "..W..........",  # 22
    ".............",  # 23
    ".............",  # 24
])

# Enemy 3: a purple flying saucer with a glass dome and rim lights.
ENEMY3_PALETTE = {
    'P': (160, 70, 220),
    'p': (95, 35, 150),
    'L': (215, 160, 255),
    'd': (55, 18, 90),
    'D': (120, 230, 255),
    'H': (235, 255, 255),
    'b': (50, 120, 200),
    'Y': (255, 240, 90),
    'G': (120, 255, 160),
}

ENEMY3 = mirrored([
    ".............",  # 0
    ".............",  # 1
    ".............",  # 2
    ".............",  # 3
    ".........bbbb",  # 4
    "........bDDDD",  # 5
    ".......bDHHDD",  # 6
    ".......bDHDDD",  # 7
    "......bDDDDDD",  # 8
    "......bDDDDDD",  # 9
    "....ddbbbbbbb",  # 10
    "..ddPLLLLLLLL",  # 11
    ".dPPPPPPPPPPP",  # 12
    "dPPYPPPYPPPPY",  # 13
    "dPPPPPPPPPPPP",  # 14
    "dpppppppppppp",  # 15
    ".dppppppppppp",  # 16
    "..ddppppppppp",  # 17
    "....dddGdddGd",  # 18
    ".......dd.ddd",  # 19
    ".............",  # 20
    ".............",  # 21
    ".............",  # 22
    ".............",  # 23
    ".............",  # 24
])

# Crazy enemy 1: an angry strawberry.
STRAWBERRY_PALETTE = {
    'R': (230, 35, 55),
    'r': (150, 10, 30),
    'S': (255, 120, 120),
    'y': (255, 230, 110),
    'G': (80, 200, 60),
    'g': (25, 115, 30),
    'k': (25, 5, 10),
    'W': (255, 255, 255),
}

STRAWBERRY = mirrored([
    "............g",  # 0
    "........gg..g",  # 1
    "..rr...gGGggG",  # 2
    ".rRSgggGGGGGG",  # 3
    ".rRgGGGGgGGgG",  # 4
    "rRRRggrRgGRgG",  # 5
    "rRSRRRRRRgRRg",  # 6
    "rRSyRRRRyRRRR",  # 7
    "rRSkkRRRRRRyR",  # 8
    "rRRRWkkRRRRRR",  # 9
    "rRyRWWWkkRRRR",  # 10
    ".rRRWWkkWRRRR",  # 11
    "..rRRWkkWRRyR",  # 12
    "..rRyRWWRRRRR",  # 13
    "...rRRRRRRkkk",  # 14
    "...rRyRRkkRRR",  # 15
    "....rRRkRRRyR",  # 16
    ".....rRRRRRRR",  # 17
    "......rRyRRRR",  # 18
    "......rRRRRyR",  # 19
    ".......rRRRRR",  # 20
    "........rRyRR",  # 21
    ".........rRRR",  # 22
    "..........rRR",  # 23
    "...........rr",  # 24
])

# Crazy enemy 2: a grinning pineapple.
PINEAPPLE_PALETTE = {
    'Y': (255, 200, 40),
    'y': (205, 135, 20),
    'L': (255, 240, 150),
    'o': (140, 80, 10),
    'G': (70, 190, 60),
    'g': (20, 110, 35),
    'k': (30, 15, 5),
    'W': (255, 255, 255),
}

PINEAPPLE = mirrored([
    "............G",  # 0
    "......g....gG",  # 1
    ".......g..gGG",  # 2
    "...g....ggGgG",  # 3
    "....gg..gGGgG",  # 4
    "......gggGgGG",  # 5
    "........ggGGg",  # 6
    "........ooooo",  # 7
    "......ooYYYyY",  # 8
    ".....oYLyYYYy",  # 9
    ".....oLYYyYYY",  # 10
    "....oYYkkYyYY",  # 11
    "....oyYkWkYYy",  # 12
    "....oYYkkkYyY",  # 13
    "....oYyYYYyYY",  # 14
    "....oykkkkkkk",  # 15
    "....oYkWWWWWW",  # 16
    "....oykWkWkWk",  # 17
    "....oYykWWWWW",  # 18
    ".....oYykkkkk",  # 19
    ".....oyYYyYYY",  # 20
    "......oYYYyYY",  # 21
    ".......ooyYYy",  # 22
    ".........oooo",  # 23
    ".............",  # 24
])

# Crazy enemy 3: a pig's face.
PIG_PALETTE = {
    'p': (255, 165, 190),
    'P': (255, 215, 225),
    'q': (225, 105, 140),
    'Q': (150, 45, 85),
    'n': (255, 125, 160),
    'c': (255, 120, 140),
    'k': (20, 10, 15),
    'W': (255, 255, 255),
}

PIG = mirrored([
    ".Q...........",  # 0
    ".QQ..........",  # 1
    ".QqQ.........",  # 2
    ".QPqQ...QQQQQ",  # 3
    ".QPPqQQQppppp",  # 4
    ".QPPPQppppppp",  # 5
    ".QPPQpppppppp",  # 6
    "..QQppppppppp",  # 7
    "..Qpppppppppp",  # 8
    "..QppppWkpppp",  # 9
    ".Qppppkkkpppp",  # 10
    ".Qppppkkkpppp",  # 11
    ".Qppppppqqqqq",  # 12
    ".Qpppppqnnnnn",  # 13
    ".Qpccpqnnnnnn",  # 14
    ".QpccpqnnQQnn",  # 15
    ".QpppppqnQQnn",  # 16
    "..Qppppqnnnnn",  # 17
    "..Qpppppqqqqq",  # 18
    "...Qppppppppp",  # 19
    "....Qpppqpppp",  # 20
    ".....Qpppqqqq",  # 21
    "......QQppppp",  # 22
    "........QQQQQ",  # 23
    ".............",  # 24
])

# ---------------------------------------------------------------------------
# Enemy shots.

ESHOT_SANE_PALETTE = {
    'W': (255, 255, 230),
    'Y': (255, 230, 90),
    'O': (255, 140, 30),
    'R': (220, 40, 20),
    'r': (120, 20, 10),
}

ESHOT_SANE = [
    "..rRr..",
    ".rOOOr.",
    "rOYWYOr",
    "ROWWWOR",
    "rOYWYOr",
    ".rOOOr.",
    "..rRr..",
]

# A tiny yellow smiley.
ESHOT_CRAZY_PALETTE = {
    'y': (255, 220, 40),
    'Y': (255, 250, 160),
    'o': (210, 140, 10),
    'k': (40, 20, 0),
}

ESHOT_CRAZY = [
    "..oyo..",
    ".yYYyy.",
    "oykykyo",
    "yyyyyyy",
    "okyyyko",
    ".ykkky.",
    "..oyo..",
]

# ---------------------------------------------------------------------------
# The flying cow, side on, facing right.

COW_PALETTE = {
    'W': (250, 250, 250),
    'w': (200, 200, 210),
    'K': (25, 25, 30),
    'k': (90, 90, 100),
    'p': (255, 160, 180),
    'P': (220, 100, 130),
    'h': (235, 220, 170),
    'H': (170, 150, 100),
}

COW = [
    "........................hH..hH..",  # 0
    "........................hh..hh..",  # 1
    ".......................kkKKKKkk.",  # 2
    "......................kKKWWWKKKk",  # 3
    ".kkkkkkkkkkkkkkkkkkkkkKKWKWWKKK.",  # 4
    "kWWWKKKKWWWWWWWWWWKKKKKWWWWWWKk.",  # 5
    "kWWKKKKKKWWWWWWWWKKKKKKWKWWWWW..",  # 6
    "kWWWKKKKWWWWWWWWWWKKKWkWWWWWWWk.",  # 7
    "KWWWWKKWWWWKKKWWWWWWWWkWpppppppk",  # 8
    "kWWWWWWWWWKKKKKWWWWWWWkppPppPppk",  # 9
    "kWWWWWWWWWKKKKKKWWWWWWWkppppppk.",  # 10
    "kWWKKWWWWWWKKKKWWWWWWWWWkkkkkk..",  # 11
    "kWKKKKWWWWWWWWWWWWWKKKWWWk......",  # 12
    "kWKKKKKWWWWWWWWWWWKKKKKWWk......",  # 13
    "kwWKKKWWWWWWWWWWWWWKKKKWwk......",  # 14
    ".kwwWWWWWWWWpPpPpWWWKKWwk.......",  # 15
    "..kWWKkkkkkkkpppkkkkkKWWk.......",  # 16
    "..kWWk.......pPp....kWWk........",  # 17
    "..kWWk..............kWWk........",  # 18
    "..kWWk..............kWWk........",  # 19
    "..kWWk..............kWWk........",  # 20
    "..kKKk..............kKKk........",  # 21
    "..kKKk..............kKKk........",  # 22
    "................................",  # 23
]

# ---------------------------------------------------------------------------
# A banana, lying diagonally so that it still reads as one while spinning.

BANANA_PALETTE = {
    'Y': (255, 225, 50),
    'L': (255, 250, 170),
    'y': (215, 160, 20),
    'o': (150, 95, 10),
    'b': (90, 55, 15),
    'g': (120, 160, 30),
}

BANANA = [
    "..............bb....",  # 0
    "..............gb....",  # 1
    ".............ogY....",  # 2
    ".............oYYo...",  # 3
    "............oYLYo...",  # 4
    "............oYLYyo..",  # 5
    "...........oYLYYyo..",  # 6
    "..........oYLYYYyo..",  # 7
    ".........oYLYYYyo...",  # 8
    "........oYLYYYYyo...",  # 9
    "......ooYLYYYYyo....",  # 10
    "....ooYYLYYYYyo.....",  # 11
    "..ooYYLLYYYYyo......",  # 12
    ".oYYLLYYYYYyo.......",  # 13
    "boYYYYYYYyyo........",  # 14
    "boyyyyyyyoo.........",  # 15
    ".ooooooooo..........",  # 16
    "....................",  # 17
    "....................",  # 18
    "....................",  # 19
]


SPRITES = {
    'ship.bmp': (SHIP, SHIP_PALETTE),
    'sane/shot.bmp': (SHOT_SANE, SHOT_SANE_PALETTE),
    'crazy/shot.bmp': (SHOT_CRAZY, SHOT_CRAZY_PALETTE),
    'sane/enemy1.bmp': (ENEMY1, ENEMY1_PALETTE),
    'sane/enemy2.bmp': (ENEMY2, ENEMY2_PALETTE),
    'sane/enemy3.bmp': (ENEMY3, ENEMY3_PALETTE),
    'crazy/enemy1.bmp': (STRAWBERRY, STRAWBERRY_PALETTE),
    'crazy/enemy2.bmp': (PINEAPPLE, PINEAPPLE_PALETTE),
    'crazy/enemy3.bmp': (PIG, PIG_PALETTE),
    'sane/eshot1.bmp': (ESHOT_SANE, ESHOT_SANE_PALETTE),
    'crazy/eshot1.bmp': (ESHOT_CRAZY, ESHOT_CRAZY_PALETTE),
    'crazy/cow.bmp': (COW, COW_PALETTE),
    'banana.bmp': (BANANA, BANANA_PALETTE),
}


def build_sprite(path):
    rows, palette = SPRITES[path]
    return from_grid(rows, palette, path)

