"""Pictures of the artificial horizon, as shipped: the face's window and the
two masks agree to the pixel, and every painted part stands where it must."""

import math

import pefile
import pytest

from gau_reader import bitmap_rgb, drawn_box

BLACK = (0, 0, 0)
MASK_ON = (1, 1, 1)
TURNING_CENTRE = (167, 167)


def is_cream(c):
    r, g, b = c
    return r > 180 and g > 170 and b > 120 and r - b > 25


def box_of(rows, keep, *region):
    return drawn_box([[MASK_ON if keep(c) else BLACK for c in row] for row in rows], *region)


@pytest.fixture(scope="module")
def face(gau):
    return bitmap_rgb(gau, 0x1100)


@pytest.fixture(scope="module")
def window(gau):
    """Row -> (first, last) column of the card mask's window."""
    palette, rows = bitmap_rgb(gau, 0x1201)
    assert {px for row in rows for px in row} == {BLACK, MASK_ON}
    spans = {}
    for y, row in enumerate(rows):
        xs = [x for x, px in enumerate(row) if px == MASK_ON]
        if xs:
            assert xs == list(range(xs[0], xs[-1] + 1)), f"row {y} of the window is not one span"
            spans[y] = (xs[0], xs[-1])
    return spans


def resource_bytes(gau, rid):
    for rtype in gau.pe.DIRECTORY_ENTRY_RESOURCE.entries:
        if rtype.id == pefile.RESOURCE_TYPE["RT_BITMAP"]:
            for r in rtype.directory.entries:
                if r.id == rid:
                    d = r.directory.entries[0].data.struct
                    return gau.pe.get_data(d.OffsetToData, d.Size)
    raise KeyError(hex(rid))


def test_both_masks_are_identical(gau):
    assert resource_bytes(gau, 0x1201) == resource_bytes(gau, 0x1301)


def test_window_rows_and_columns(window):
    assert sorted(window) == list(range(59, 240)), "181 rows, 59 to 239"
    assert window[59] == (162, 170)
    widest = {y for y, span in window.items() if span == (92, 250)}
    assert widest == set(range(154, 171))
    for y, (left, right) in window.items():
        assert 92 <= left and right <= 250, y
    # Domed top and rounded bottom: the rows widen steadily down to the wide
    # band and narrow steadily below it.
    for y in range(60, 154):
        assert window[y][0] <= window[y - 1][0] and window[y][1] >= window[y - 1][1], y
    for y in range(171, 240):
        assert window[y][0] >= window[y - 1][0] and window[y][1] <= window[y - 1][1], y
    assert window[239][1] - window[239][0] < 20


def test_window_stays_within_108_of_the_turning_centre(window):
    cx, cy = TURNING_CENTRE
    farthest = max(math.hypot(x + 0.5 - cx, y + 0.5 - cy) for y, (a, b) in window.items() for x in (a, b))
    assert farthest <= 108.5


def test_index_tip_shows_from_about_35_left_to_46_right(window):
    """The index's inner end lies 97 pixels above the turning centre; the
    window's dome shows it over a lopsided range of bank angles."""
    cx, cy = TURNING_CENTRE

    def shows(degrees):
        a = math.radians(degrees)
        return any(
            window.get(math.floor(cy - r * math.cos(a) + w * math.sin(a)), (1, 0))[0]
            <= math.floor(cx + r * math.sin(a) + w * math.cos(a))
            <= window.get(math.floor(cy - r * math.cos(a) + w * math.sin(a)), (1, 0))[1]
            for r in (97, 99, 101) for w in (-5, 0, 5))

    assert all(shows(d) for d in range(-32, 44))
    assert not any(shows(d) for d in (-42, -50, 52, 60, 90, -90))


def test_face_is_black_exactly_in_the_window_and_outside_the_case(face, window):
    palette, rows = face
    assert palette[0] == BLACK
    aircraft = (121, 156, 217, 170)
    for y, row in enumerate(rows):
        for x, px in enumerate(row):
            in_window = y in window and window[y][0] <= x <= window[y][1]
            in_aircraft = aircraft[0] <= x <= aircraft[2] and aircraft[1] <= y <= aircraft[3]
            inside_case = math.hypot(x - 166, y - 166) < 160
            if in_window and not in_aircraft:
                assert px == BLACK, (x, y)
            elif inside_case and not in_window:
                assert px != BLACK, (x, y)
    for corner in ((0, 0), (332, 0), (0, 332), (332, 332)):
        assert rows[corner[1]][corner[0]] == BLACK


def test_miniature_aircraft_fills_its_place_in_the_window(face, window):
    _, rows = face
    seen = [[px if y in window and window[y][0] <= x <= window[y][1] else BLACK for x, px in enumerate(row)]
            for y, row in enumerate(rows)]
    assert drawn_box(seen) == (121, 156, 217, 170)
    # The wing bar: four full rows across the whole span, and only the
    # fuselage above and below it.
    for y in range(162, 166):
        assert all(rows[y][x] != BLACK for x in range(121, 218)), y
    for y in (161, 166):
        assert all(rows[y][x] == BLACK for x in list(range(121, 155)) + list(range(185, 218))), y


@pytest.mark.parametrize("region, expected", [
    ((40, 150, 91, 175), (62, 157, 91, 168)),     # left reference bar
    ((251, 150, 300, 175), (251, 157, 277, 168)),  # right reference bar
    ((100, 30, 240, 58), (162, 47, 175, 57)),     # bank mark above the window
])
def test_cream_markings_around_the_window(face, region, expected):
    _, rows = face
    assert box_of(rows, is_cream, *region) == expected


def test_slip_tube_below_the_window(face):
    _, rows = face

    def light(c):
        return c[0] > 120

    assert box_of(rows, light, 80, 236, 260, 270) == (94, 241, 242, 269)

    def tube_rows(x):
        return [y for y in range(236, 272) if light(rows[y][x])]

    middle = tube_rows(168)
    assert middle[0] == 246 and 22 <= len(middle) <= 25
    for x in (106, 230):
        ends = tube_rows(x)
        assert 239 <= ends[0] <= 242 and 22 <= len(ends) <= 25, x
    # The small triangle under the middle of the tube.
    left, top, right, _ = box_of(rows, is_cream, 150, 270, 186, 282)
    assert left + right == 2 * 168 and top > 269


def test_horizon_card(gau):
    palette, rows = bitmap_rgb(gau, 0x1200)
    assert palette[0] == BLACK
    assert drawn_box(rows) == (4, 4, 258, 258)
    # A full disc: nothing transparent inside it, transparent corners.
    for y in range(0, 260, 3):
        for x in range(0, 260, 3):
            d = math.hypot(x + 0.5 - 131.5, y + 0.5 - 131.5)
            if d < 126:
                assert rows[y][x] != BLACK, (x, y)
            elif d > 129:
                assert rows[y][x] == BLACK, (x, y)
    assert box_of(rows, is_cream) == (30, 123, 240, 130)
    # Dark grey around the bar, lighter above than below.
    above, below = rows[60][131], rows[200][131]
    assert max(above) < 140 and max(below) < 140 and sum(above) > sum(below)


def test_bank_index_is_a_cream_bar_on_the_centre_line(gau):
    palette, rows = bitmap_rgb(gau, 0x1300)
    assert palette[0] == BLACK
    assert drawn_box(rows) == (126, 0, 134, 56)
    assert all(is_cream(rows[y][x]) for y in range(57) for x in range(127, 134))


def test_slip_needle_is_only_the_ball(gau):
    palette, rows = bitmap_rgb(gau, 0x1400)
    assert palette[0] == BLACK
    assert drawn_box(rows) == (241, 3, 266, 28)
    assert rows[16][253] != BLACK and rows[3][253] != BLACK and rows[16][241] != BLACK
    # Round: the corners of its box stay transparent.
    assert all(rows[y][x] == BLACK for x, y in ((241, 3), (266, 3), (241, 28), (266, 28)))
    centre = ((241 + 266 + 1) / 2, (3 + 28 + 1) / 2)
    assert abs(math.hypot(centre[0] - 0, centre[1] - 16) - 253) <= 1.5
