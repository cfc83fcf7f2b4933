"""Pictures of the needle instruments as shipped: pivots in place, pure black
only where it belongs, and the dial marks in the directions the needles'
tables give them."""

import math

import pytest

from gau_reader import bitmap_rgb

BLACK = (0, 0, 0)


def is_cream(px):
    r, g, b = px
    return r > 150 and g > 140 and b > 100


def radius(x, y, cx, cy):
    return math.hypot(x - cx, y - cy)


def black_where(rows, inside):
    """(pixels that are pure black although `inside` says drawn,
        pixels that are drawn although `inside` says transparent)"""
    wrong_black, wrong_drawn = [], []
    for y, row in enumerate(rows):
        for x, px in enumerate(row):
            want = inside(x, y)
            if want is True and px == BLACK:
                wrong_black.append((x, y))
            elif want is False and px != BLACK:
                wrong_drawn.append((x, y))
    return wrong_black[:5], wrong_drawn[:5]


def marks_on_circle(rows, cx, cy, r, step=0.05):
    """Directions (degrees clockwise from up) of the centres of the cream runs
    crossed when walking a circle of radius r round the pivot."""
    n = int(360 / step)
    hits = []
    for i in range(n):
        a = math.radians(i * step)
        x, y = math.floor(cx + 0.5 + r * math.sin(a)), math.floor(cy + 0.5 - r * math.cos(a))
        hits.append(is_cream(rows[y][x]))
    start = next(i for i in range(n) if not hits[i])  # begin in a gap so no run is split
    runs, run = [], None
    for k in range(1, n + 1):
        i = (start + k) % n
        if hits[i] and run is None:
            run = k
        elif not hits[i] and run is not None:
            runs.append(((start + (run + k - 1) / 2) * step) % 360)
            run = None
    return sorted(runs)


def angle_diff(a, b):
    return abs((a - b + 180) % 360 - 180)


def nearest(marks, direction):
    return min(marks, key=lambda m: angle_diff(m, direction))


def bezel(w, h, r):
    """Where a w x h square with corners rounded to r is drawn: True well
    inside it, False well outside (the corner cut-outs), None on its edge."""
    def state(x, y):
        px, py = x + 0.5, y + 0.5
        qx, qy = min(px, w - px), min(py, h - py)
        if qx >= r or qy >= r:
            return True
        d = math.hypot(r - qx, r - qy)
        return True if d < r - 1.5 else False if d > r + 1.5 else None
    return state


# ---- Airspeed indicator -------------------------------------------------

# km/h -> direction of the numbered marks, as the needle's table sends it.
AIRSPEED_MARKS = {100: 191.09, 200: 241.41, 300: 291.73, 400: 342.05, 500: 32.37, 600: 82.69, 700: 133.01,
                  750: 158.17}


def test_airspeed_dial_black_only_in_the_corner_cutouts(gau):
    _, rows = bitmap_rgb(gau, 0x1700)
    wrong_black, wrong_drawn = black_where(rows, bezel(299, 299, 30))
    assert not wrong_black and not wrong_drawn


def test_airspeed_numbered_marks_stand_where_the_needle_points(gau):
    _, rows = bitmap_rgb(gau, 0x1700)
    # Only the thick 100 marks and the 750 line reach in this far.
    marks = marks_on_circle(rows, 150, 150, 105)
    assert len(marks) == len(AIRSPEED_MARKS)
    for kmh, direction in AIRSPEED_MARKS.items():
        assert angle_diff(nearest(marks, direction), direction) <= 2.5, kmh


def test_airspeed_ten_kmh_marks_and_rest_bar(gau):
    _, rows = bitmap_rgb(gau, 0x1700)
    marks = marks_on_circle(rows, 150, 150, 117)
    rest = nearest(marks, 178.35)
    assert angle_diff(rest, 178.35) <= 1.0
    scale = sorted(marks, key=lambda m: (m - 191.09 + 1) % 360)
    scale.remove(rest)
    assert len(scale) == 66  # 100 to 750 in tens
    gaps = [(b - a) % 360 for a, b in zip(scale, scale[1:])]
    assert all(abs(g - 5.032) < 0.35 for g in gaps), gaps
    assert not [m for m in marks if m != rest and 160 < m < 189]  # no scale below the pivot


def test_airspeed_needle_pivot_hub_and_shaft(gau):
    _, rows = bitmap_rgb(gau, 0x1703)
    # Shaft: 9 rows centred on the pivot row, from the hub to the tip at x 127.
    for x in (40, 70, 100, 120):
        column = [y for y in range(31) if rows[y][x] != BLACK]
        assert column and column == list(range(column[0], column[-1] + 1))
        assert (column[0] + column[-1]) / 2 == 14, x
        if x < 110:
            assert len(column) == 9, x
    assert rows[14][127] != BLACK and all(rows[y][128] == BLACK for y in range(31))
    # Hub about 30 across round the pivot, its centre darker than its rim.
    assert rows[14][1] != BLACK and rows[14][29] != BLACK and rows[0][15] != BLACK
    assert sum(rows[14][15]) < sum(rows[14][5]) - 60
    assert sum(rows[12][60]) > 3 * 225  # nearly white inner shaft
    r, g, b = rows[12][100]
    assert r - b > 20  # cream outer shaft
    wrong_black, wrong_drawn = black_where(
        rows, lambda x, y: False if radius(x, y, 15, 14) > 16 and abs(y - 14) > 5 else None)
    assert not wrong_drawn


# ---- Radio altimeter ------------------------------------------------------

ALTIMETER_MARKS = {0: 251.40, 250: 323.78, 375: 359.98, 500: 36.18, 750: 108.59}


def test_altimeter_face_round_and_black_outside(gau):
    _, rows = bitmap_rgb(gau, 0x1800)
    wrong_black, wrong_drawn = black_where(
        rows, lambda x, y: True if radius(x, y, 150, 150) < 126 else False if radius(x, y, 150, 150) > 129 else None)
    assert not wrong_black and not wrong_drawn


def test_altimeter_marks_every_fifty_where_the_needle_points(gau):
    _, rows = bitmap_rgb(gau, 0x1800)
    marks = marks_on_circle(rows, 150, 150, 112)
    assert len(marks) == 16  # 0 to 750 in fifties
    scale = sorted(marks, key=lambda m: (m - 251.4 + 1) % 360)
    for i, m in enumerate(scale):
        expect = (251.40 + 0.289569 * 50 * i) % 360
        assert angle_diff(m, expect) <= 1.0, (50 * i, m)
    thick = marks_on_circle(rows, 150, 150, 102)  # only the thick marks reach in this far
    assert [round(m) for m in sorted(thick)] == sorted(round(d) for v, d in ALTIMETER_MARKS.items() if v != 375)


def test_altimeter_needle_bar_and_pivot(gau):
    _, rows = bitmap_rgb(gau, 0x1803)
    assert all(rows[y][x] == BLACK for y in range(15) for x in range(9))  # 9 px short of the pivot (0, 7)
    for x in (9, 50, 90):
        assert [y for y in range(15) if rows[y][x] != BLACK] == list(range(2, 12)), x
    assert rows[7][110] != BLACK and all(rows[y][111] == BLACK for y in range(15))
    assert all(is_cream(rows[y][60]) for y in range(2, 12))


def test_altimeter_cover_window_cap_and_corners(gau):
    _, rows = bitmap_rgb(gau, 0x1806)
    outside_window = bezel(299, 299, 30)

    def inside(x, y):
        r = radius(x, y, 150, 150)
        if r < 20:
            return True          # the cap
        if 23 < r < 122:
            return False         # the window
        return outside_window(x, y) if r > 125 else None
    wrong_black, wrong_drawn = black_where(rows, inside)
    assert not wrong_black and not wrong_drawn


# ---- Heading indicator ------------------------------------------------------

PIVOT = (155, 149)


def test_heading_background_disc_boss_and_index_bars(gau):
    _, rows = bitmap_rgb(gau, 0x2000)
    wrong_black, wrong_drawn = black_where(
        rows, lambda x, y: True if radius(x, y, *PIVOT) < 134 else False if radius(x, y, *PIVOT) > 138 else None)
    assert not wrong_black and not wrong_drawn
    for index_bar_y in (PIVOT[1] - 60, PIVOT[1] + 60):
        assert is_cream(rows[index_bar_y][PIVOT[0]])


def test_heading_card_graduation_every_five_degrees_north_on_plus_x(gau):
    _, rows = bitmap_rgb(gau, 0x2003)
    wrong_black, wrong_drawn = black_where(
        rows, lambda x, y: True if radius(x, y, *PIVOT) < 124 else False if radius(x, y, *PIVOT) > 128 else None)
    assert not wrong_black and not wrong_drawn
    marks = marks_on_circle(rows, *PIVOT, 117)
    assert len(marks) == 72
    assert all(angle_diff(m, 5 * round(m / 5)) < 0.6 for m in marks)
    long_marks = marks_on_circle(rows, *PIVOT, 110)
    assert len(long_marks) == 36
    assert all(angle_diff(m, 10 * round(m / 10)) < 0.6 for m in long_marks)
    # The letters at the four sides, between the graduation and the plain middle.
    def letter_cream(direction):
        count = 0
        for r in range(84, 103):
            for da in range(-8, 9):
                a = math.radians(direction + da)
                x = math.floor(PIVOT[0] + 0.5 + r * math.sin(a))
                y = math.floor(PIVOT[1] + 0.5 - r * math.cos(a))
                count += is_cream(rows[y][x])
        return count
    for direction in (0, 90, 180, 270):
        assert letter_cream(direction) > 20, direction
    assert letter_cream(45) < 5  # between the letters only graduation
    # O (east) below the pivot, known by its hole; N to the right, its diagonal through the middle.
    def centre(direction):
        a = math.radians(direction)
        return rows[math.floor(PIVOT[1] + 0.5 - 93 * math.cos(a))][math.floor(PIVOT[0] + 0.5 + 93 * math.sin(a))]
    assert not is_cream(centre(180)) and is_cream(centre(90))


def test_heading_cover_transparent_ring(gau):
    _, rows = bitmap_rgb(gau, 0x2006)

    outside_window = bezel(309, 301, 30)

    def inside(x, y):
        r = radius(x, y, *PIVOT)
        if r < 68:
            return True          # the boss
        if 71 < r < 122:
            return False         # the ring the card shows through
        return outside_window(x, y) if r > 125 else None
    wrong_black, wrong_drawn = black_where(rows, inside)
    assert not wrong_black and not wrong_drawn
    assert is_cream(rows[PIVOT[1] - 60][PIVOT[0]])  # the index bar painted again
