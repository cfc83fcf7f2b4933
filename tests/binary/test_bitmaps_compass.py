"""Pictures of the course compass, as shipped."""

import pytest

from gau_reader import bitmap_rgb, drawn_box

BLACK = (0, 0, 0)
WINDOW = (76, 90, 229, 183)          # columns and rows, inclusive
TUBE_FACE = (68, 216, 236, 250)
TUBE_FRAME = (68, 216, 237, 251)
LUBBER_COLUMNS = range(150, 154)
SQUARE = (90, 28, 116, 54)
STRIP_WIDTH, WINDOW_WIDTH = 730, 154
ONE_TURN = 576                        # 360 degrees at 1.6 pixels per degree
LABELS = ["3", "N", "33", "30", "W", "24", "21", "S", "15", "12", "O", "6", "3", "N", "33"]
LABEL_HEADINGS = range(390, -31, -30)

# Rows of each strip, inclusive: labels, arrow (base row, tip row), ticks (edge row, long end, short end).
STRIP_ROWS = {
    0x1903: dict(label=(6, 21), arrow=(26, 39), ticks=(45, 33, 39)),
    0x1907: dict(label=(25, 40), arrow=(20, 4), ticks=(1, 13, 7)),
}


def mark_x(heading):
    return 652 - 1.6 * heading


def light(px):
    return sum(px) > 450


def cream(px):
    r, g, b = px
    return r > 150 and g > 140 and b > 100 and r >= b


@pytest.fixture(scope="module")
def pictures(gau):
    return {rid: bitmap_rgb(gau, rid)[1] for rid in (0x1900, 0x1903, 0x1904, 0x1907, 0x1908, 0x190B, 0x190E)}


def black_pixels(rows):
    return {(x, y) for y, row in enumerate(rows) for x, px in enumerate(row) if px == BLACK}


def in_box(x, y, box):
    return box[0] <= x <= box[2] and box[1] <= y <= box[3]


def square_halves(x, y):
    """-1 above the square's rising diagonal, +1 below, 0 on it."""
    d = (x - SQUARE[0]) + (y - SQUARE[1]) - (SQUARE[2] - SQUARE[0])
    return (d > 0) - (d < 0)


def check_signal_square(rows, black):
    in_square = {(x, y) for (x, y) in black if in_box(x, y, SQUARE)}
    assert len(in_square) > 300
    assert all(square_halves(x, y) >= 0 for x, y in in_square)
    for y in range(SQUARE[1], SQUARE[3] + 1):
        for x in range(SQUARE[0], SQUARE[2] + 1):
            if square_halves(x, y) < 0:
                r, g, b = rows[y][x]
                assert r > 150 and g < 80 and b < 80, ((x, y), rows[y][x])
            elif square_halves(x, y) > 0:
                assert rows[y][x] == BLACK, (x, y)


def test_face_is_opaque_but_for_the_black_half_of_the_signal_square(pictures):
    face = pictures[0x1900]
    black = black_pixels(face)
    assert all(in_box(x, y, SQUARE) for x, y in black)
    check_signal_square(face, black)


def test_face_tube_and_lubber_line(pictures):
    face = pictures[0x1900]
    tube = [(x, y) for y in range(200, 256) for x in range(55, 250) if cream(face[y][x])]
    xs, ys = [x for x, _ in tube], [y for _, y in tube]
    assert (min(xs), min(ys), max(xs), max(ys)) == TUBE_FACE
    assert [y for x, y in tube if x == 152] == list(range(224, 251))
    for y in range(WINDOW[1], WINDOW[3] + 1):
        assert all(cream(face[y][x]) for x in LUBBER_COLUMNS), y


def test_face_window_shows_both_strips_at_north(pictures):
    """The still picture is the strips placed for heading and course 0: each
    strip's last 154 columns in the window, its rows from the strip's top."""
    face = pictures[0x1900]
    for rid, top, bottom in ((0x1903, 90, 136), (0x1907, 140, 183)):
        strip = pictures[rid]
        for y in range(top, bottom + 1):
            for x in range(WINDOW[0], WINDOW[2] + 1):
                if x in LUBBER_COLUMNS:
                    continue
                shown, drawn = face[y][x], strip[y - top][x - WINDOW[0] + ONE_TURN]
                assert max(abs(a - b) for a, b in zip(shown, drawn)) <= 24, (hex(rid), x, y, shown, drawn)


def test_frame_is_black_exactly_in_window_tube_and_signal_square(pictures):
    frame, face = pictures[0x190B], pictures[0x1900]
    black = black_pixels(frame)
    window = {(x, y) for x, y in black if in_box(x, y, WINDOW)}
    assert window == {(x, y) for y in range(WINDOW[1], WINDOW[3] + 1) for x in range(WINDOW[0], WINDOW[2] + 1)
                      if x not in LUBBER_COLUMNS}
    tube = {(x, y) for x, y in black if y >= 200}
    assert drawn_box([[(1, 1, 1) if (x, y) in tube else BLACK for x in range(301)] for y in range(331)]) == TUBE_FRAME
    assert {(152, y) for y in range(224, 252)} <= tube
    # The opening covers the whole glass of the face's tube.
    glass = {(x, y) for y in range(200, 256) for x in range(55, 250) if cream(face[y][x])}
    assert glass <= tube
    square = black - window - tube
    assert all(in_box(x, y, SQUARE) for x, y in square)
    check_signal_square(frame, black)


def test_frame_lubber_line(pictures):
    frame = pictures[0x190B]
    for y in range(85, 192):
        assert [x for x in range(140, 164) if cream(frame[y][x])] == list(LUBBER_COLUMNS), y
    for y in (84, 192):
        assert not any(cream(frame[y][x]) for x in LUBBER_COLUMNS), y


def test_window_masks_are_all_window_and_identical(gau, pictures):
    for rid in (0x1904, 0x1908):
        rows = pictures[rid]
        assert (len(rows[0]), len(rows)) == (WINDOW_WIDTH, 47)
        assert {px for row in rows for px in row} == {(1, 1, 1)}, hex(rid)
    assert bitmap_rgb(gau, 0x1904) == bitmap_rgb(gau, 0x1908)


@pytest.mark.parametrize("rid", [0x1903, 0x1907])
def test_strip_is_opaque_and_repeats_after_one_turn(pictures, rid):
    strip = pictures[rid]
    assert not black_pixels(strip)
    for row in strip:
        assert row[:WINDOW_WIDTH] == row[ONE_TURN:ONE_TURN + WINDOW_WIDTH]


def ink_columns(strip, rows, x0, x1):
    return [x for x in range(x0, x1) if any(light(strip[y][x]) for y in range(rows[0], rows[1] + 1))]


@pytest.mark.parametrize("rid", [0x1903, 0x1907])
def test_strip_labels_are_centred_on_their_heading_marks(pictures, rid):
    strip, rows = pictures[rid], STRIP_ROWS[rid]
    label_rows = rows["label"]
    ink = [(x, y) for y in range(47) for x in range(STRIP_WIDTH) if light(strip[y][x])
           and label_rows[0] - 2 <= y <= label_rows[1] + 2]
    assert min(y for _, y in ink) == label_rows[0] and max(y for _, y in ink) == label_rows[1]
    widths = {}
    for text, heading in zip(LABELS, LABEL_HEADINGS):
        x = mark_x(heading)
        cols = ink_columns(strip, label_rows, int(x) - 23, int(x) + 23)
        assert cols, (text, heading)
        assert abs((cols[0] + cols[-1] + 1) / 2 - x) <= 1.0, (text, heading, cols[0], cols[-1])
        assert cols == list(range(cols[0], cols[-1] + 1)) or len(text) == 2, (text, cols)
        widths.setdefault(text, set()).add(cols[-1] - cols[0])
    # Two-figure labels are wider than one-figure ones; repeats are identical.
    assert min(widths["33"]) > max(widths["3"]) and all(len(w) == 1 for w in widths.values())


@pytest.mark.parametrize("rid", [0x1903, 0x1907])
def test_strip_arrows_point_across_the_gap(pictures, rid):
    strip, (base, tip) = pictures[rid], STRIP_ROWS[rid]["arrow"]
    for heading in LABEL_HEADINGS:
        x = round(mark_x(heading))
        spans = {}
        for y in range(min(base, tip) - 2, max(base, tip) + 3):
            cols = [c for c in range(x - 7, x + 7) if light(strip[y][c])]  # clear of the ticks at x +- 8
            if cols:
                spans[y] = cols
        assert min(spans) == min(base, tip) and max(spans) == max(base, tip), heading
        assert len(spans[base]) > len(spans[tip]) + 6, heading
        for cols in spans.values():
            assert abs((cols[0] + cols[-1] + 1) / 2 - mark_x(heading)) <= 0.5, heading


@pytest.mark.parametrize("rid", [0x1903, 0x1907])
def test_strip_ticks_every_five_degrees_longer_every_ten(pictures, rid):
    strip, (edge, long_end, short_end) = pictures[rid], STRIP_ROWS[rid]["ticks"]
    for heading in range(405, -46, -5):
        x = mark_x(heading)
        if x < 1 or x > STRIP_WIDTH - 1 or heading % 30 == 0:
            continue
        x = round(x)
        band = range(23, 47) if edge > 23 else range(0, 24)  # clear of the labels
        lit = [y for y in band if light(strip[y][x - 1]) and light(strip[y][x])]
        end = long_end if heading % 10 == 0 else short_end
        assert lit == list(range(min(edge, end), max(edge, end) + 1)), heading
        assert not any(light(strip[y][c]) for y in lit for c in (x - 3, x + 2)), heading


def test_both_strips_put_the_same_marks_in_the_same_columns(pictures):
    heading, course = pictures[0x1903], pictures[0x1907]
    for h in LABEL_HEADINGS:
        x = int(mark_x(h))
        assert ink_columns(heading, STRIP_ROWS[0x1903]["label"], x - 23, x + 23) == \
            ink_columns(course, STRIP_ROWS[0x1907]["label"], x - 23, x + 23), h


def test_slip_needle_is_only_its_ball(pictures):
    rows = pictures[0x190E]
    assert drawn_box(rows) == (221, 3, 246, 28)
    drawn = [(x, y) for y, row in enumerate(rows) for x, px in enumerate(row) if px != BLACK]
    assert 500 < len(drawn) < 560  # a disc 26 pixels across, not a square
    cx = sum(x for x, _ in drawn) / len(drawn)
    cy = sum(y for _, y in drawn) / len(drawn)
    assert abs(cx - 233.5) < 0.3 and abs(cy - 15.5) < 0.3
    shades = {sum(rows[y][x]) for x, y in drawn}
    assert len(shades) > 8  # shaded, not flat
