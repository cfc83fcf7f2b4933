"""Records of Artificial_Horizon read out of the .gau."""

import math

from gau_reader import NEEDLE, SPRITE, STATIC_IMAGE
from record_checks import check_header, frame_rows

ZERO24 = bytes(24)


def horizon(gau):
    h = gau.gauge("Artificial_Horizon")
    return h, gau.elements(h)


def test_header_sits_second_in_linkage_with_help_only_mouse_table(gau):
    h, _ = horizon(gau)
    assert gau.gauge_headers()[1] == h
    check_header(gau, h, 70)
    assert gau.mouse_rows(gau.u32(h + 80)) == frame_rows(43061, [])


def test_element_chain_and_shared_failure_list(gau):
    h, elements = horizon(gau)
    assert len(elements) == 5
    expected = [  # kind, bitmap, position, offset, draw flags, has failures
        (STATIC_IMAGE, 0x1100, (0, 0), (0, 0), 0x01, True),
        (SPRITE, 0x1200, (0, 0), (167, 167), 0x81, True),
        (SPRITE, 0x1300, (0, 0), (167, 167), 0x81, True),
        (STATIC_IMAGE, 0x1100, (0, 0), (0, 0), 0x01, False),
        (NEEDLE, 0x1400, (168, 3), (0, 16), 0x83, True),
    ]
    lists = set()
    for e, (kind, bitmap, position, offset, flags, failing) in zip(elements, expected):
        f = gau.element_header(e)
        assert (f["kind"], f["bitmap"], f["position"], f["offset"], f["draw_flags"]) == (
            kind, bitmap, position, offset, flags), hex(bitmap)
        assert (f["gauge"], f["instrumentation"], f["reserved"]) == (h, 0, 0)
        assert gau.bytes(e + 16, 8) == bytes(8) and gau.u32(e + 36) == 0  # host fields
        if failing:
            assert f["failures"] == [(8, 0, 0), (0, 0, 0)]
            lists.add(f["failure_list"])
        else:
            assert f["failure_list"] == 0
    assert len(lists) == 1, "the four failing elements name one list"
    for face in (elements[0], elements[3]):
        assert gau.bytes(face + 60, 36) == bytes(36)
    assert gau.u32(elements[4] + 40) == 0, "the slip needle ends the chain"


# Sprite fields: (token, scale) of the X, Y and rotation axes, and which
# callbacks are present.
SPRITES = [
    ((0, 0.0), (78, 2.0), (80, -1.0), (False, True, False)),  # horizon card
    ((0, 0.0), (0, 0.0), (80, -1.0), (False, False, False)),  # bank index
]


def test_sprites_axes_scales_and_callbacks(gau):
    _, elements = horizon(gau)
    for e, (x_axis, y_axis, rotation, callbacks) in zip(elements[1:3], SPRITES):
        for source, scale_at, (token, scale) in ((60, 92, x_axis), (100, 132, y_axis), (140, 172, rotation)):
            assert gau.token(e + source) == (token, ZERO24)
            assert gau.u32(e + source + 28) == 0
            assert gau.f64(e + scale_at) == scale
        assert (gau.f32(e + 180), gau.f32(e + 184)) == (0.75, 0.75)
        assert gau.bytes(e + 188, 128) == bytes(128) and gau.bytes(e + 328, 24) == bytes(24)
        present = tuple(gau.u32(e + at) != 0 for at in (316, 320, 324))
        assert present == callbacks


def test_card_callback_lies_in_code(gau):
    _, elements = horizon(gau)
    callback = gau.u32(elements[1] + 320)
    section = gau.section_of(callback)
    assert section is not None and section.Characteristics & 0x20000000  # executable


def test_slip_needle_and_its_table(gau):
    _, elements = horizon(gau)
    e = elements[4]
    assert gau.token(e + 60) == (69, ZERO24)
    assert gau.bytes(e + 88, 24) == bytes(24)
    assert gau.u32(e + 116) == 5 and gau.i32(e + 120) == 6
    assert gau.bytes(e + 124, 112) == bytes(112)
    table = gau.nonlinearity(gau.u32(e + 112), 5)
    assert table == [(230, 252, 127.0, 0.0), (230, 252, 126.0, 0.0), (168, 258, 0.0, 0.0),
                     (106, 252, -126.0, 0.0), (106, 252, -127.0, 0.0)]
    # Directions from the pivot, clockwise from straight up: 166, 166, 180, 194, 194.
    pivot = (168, 3)
    angles = [math.degrees(math.atan2(x - pivot[0], -(y - pivot[1]))) % 360 for x, y, _, _ in table]
    for got, want in zip(angles, (166.0, 166.0, 180.0, 194.0, 194.0)):
        assert abs(got - want) < 0.05, angles
