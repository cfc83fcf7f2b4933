"""Pictures of the slat control and the undercarriage lever, as shipped."""

from gau_reader import bitmap_rgb, drawn_box

BLACK = (0, 0, 0)


def test_slat_pictures_draw_nothing_although_index_0_is_grey(gau):
    for rid in (0x1000, 0x1003, 0x1004):
        palette, rows = bitmap_rgb(gau, rid)
        assert palette[0] != BLACK, hex(rid)
        assert all(px == BLACK for row in rows for px in row), hex(rid)


def test_gear_background_is_wholly_transparent(gau):
    palette, rows = bitmap_rgb(gau, 0x1500)
    assert palette[0] == BLACK
    assert all(px == BLACK for row in rows for px in row)


# (bitmap, upper button box, lower button box, rod beside the upper, rod beside the lower)
LEVER_PICTURES = [
    (0x1503, (43, 10, 136, 59), (2, 90, 95, 139), None, (96, 106, 128, 123)),
    (0x1504, (3, 10, 96, 59), (42, 90, 135, 139), (97, 26, 128, 43), None),
]


def test_gear_buttons_and_rods_stand_where_stated(gau):
    for rid, upper, lower, upper_rod, lower_rod in LEVER_PICTURES:
        palette, rows = bitmap_rgb(gau, rid)
        assert palette[0] == BLACK
        whole_upper = drawn_box(rows, 0, 0, 149, 75)
        whole_lower = drawn_box(rows, 0, 76, 149, 149)
        # The button with its rod, if any, fills exactly this much.
        expect_upper = upper if upper_rod is None else (upper[0], upper[1], upper_rod[2], upper[3])
        expect_lower = lower if lower_rod is None else (lower[0], lower[1], lower_rod[2], lower[3])
        assert whole_upper == expect_upper, hex(rid)
        assert whole_lower == expect_lower, hex(rid)
        for rod in (upper_rod, lower_rod):
            if rod:
                # Right of the button only the light grey rod shows, rows as stated.
                lower_half = rod[1] > 75
                box = drawn_box(rows, rod[0], 76 if lower_half else 0, 149, 149 if lower_half else 75)
                assert box == rod, hex(rid)
                x = rod[0] + 10
                r, g, b = rows[(rod[1] + rod[3]) // 2][x]
                assert min(r, g, b) > 150 and max(r, g, b) - min(r, g, b) < 20, (hex(rid), (r, g, b))
