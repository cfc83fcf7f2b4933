"""Pictures of the flap lever and the gear and flap placard, as shipped."""

from gau_reader import bitmap_rgb, drawn_box

BLACK = (0, 0, 0)


def light_grey(px):
    r, g, b = px
    return min(r, g, b) > 120 and max(r, g, b) - min(r, g, b) < 20


def test_flap_background_holds_only_the_two_rods(gau):
    palette, rows = bitmap_rgb(gau, 0x1600)
    assert palette[0] == BLACK
    # (left, top, right, bottom), inclusive
    for rod in ((67, 26, 128, 43), (69, 106, 128, 123)):
        half = (0, 0, 149, 75) if rod[1] < 75 else (0, 76, 149, 149)
        assert drawn_box(rows, *half) == rod
        left, top, right, bottom = rod
        # Solid light grey along its length; the right end is rounded, the left square.
        assert all(light_grey(rows[(top + bottom) // 2][x]) for x in range(left, right + 1))
        assert rows[top][left] != BLACK and rows[bottom][left] != BLACK
        assert rows[top][right] == BLACK and rows[bottom][right] == BLACK


def test_flap_buttons_shaft_rows_and_disc(gau):
    for rid in (0x1603, 0x1606):
        palette, rows = bitmap_rgb(gau, rid)
        assert palette[0] == BLACK
        assert drawn_box(rows) == (0, 0, 93, 47), hex(rid)
        # At both ends only the shaft shows: rows 19 to 31, dark.
        for x in (0, 5, 88, 93):
            drawn = [y for y in range(48) if rows[y][x] != BLACK]
            assert drawn == list(range(19, 32)), (hex(rid), x)
            assert all(max(rows[y][x]) < 100 for y in drawn), (hex(rid), x)
        # The disc in the middle is white and spans the picture's height.
        assert rows[0][47] != BLACK and rows[47][47] != BLACK
        assert min(rows[10][47]) > 200, hex(rid)


def test_the_two_buttons_differ_only_in_their_word(gau):
    _, ein = bitmap_rgb(gau, 0x1603)
    _, aus = bitmap_rgb(gau, 0x1606)
    differ = [(x, y) for y in range(48) for x in range(94) if ein[y][x] != aus[y][x]]
    assert differ, "Ein and Aus must carry different words"
    # Drawn the same way: outside the 48-pixel disc the two shafts are identical.
    assert all(abs(x - 46.5) < 24 for x, _ in differ)


def test_placard_is_drawn_except_67_pixels_in_its_rounded_corners(gau):
    palette, rows = bitmap_rgb(gau, 0x1609)
    size = len(rows)
    black = [(x, y) for y in range(size) for x in range(size) if rows[y][x] == BLACK]
    assert len(black) == 67
    corner = 12  # every transparent pixel lies in a corner square outside the plate's rounding
    for x, y in black:
        assert min(x, size - 1 - x) < corner and min(y, size - 1 - y) < corner, (x, y)
    # Each corner is rounded: its very tip is transparent, its edges are drawn a little way in.
    for cx, cy in ((0, 0), (size - 1, 0), (0, size - 1), (size - 1, size - 1)):
        assert rows[cy][cx] == BLACK
    for y in (0, size - 1):
        assert all(rows[y][x] != BLACK for x in range(corner, size - corner))
    for x in (0, size - 1):
        assert all(rows[y][x] != BLACK for y in range(corner, size - corner))


def test_placard_plate_dark_with_light_border_and_white_lettering(gau):
    _, rows = bitmap_rgb(gau, 0x1609)
    size = len(rows)
    mid = size // 2
    # The light border, about 8 pixels, along every edge.
    for x, y in ((3, mid), (size - 4, mid), (mid, 3), (mid, size - 4)):
        assert light_grey(rows[y][x]), (x, y)
    # The dark field just inside it.
    for x, y in ((14, mid), (size - 15, mid)):
        assert max(rows[y][x]) < 50, (x, y)
    # White lettering in both halves: the two warnings.
    def white_pixels(y0, y1):
        return sum(1 for y in range(y0, y1) for x in range(20, size - 20) if min(rows[y][x]) > 220)
    assert white_pixels(20, mid - 5) > 300
    assert white_pixels(mid + 5, size - 20) > 300
