"""Records of the Compass read out of the .gau."""

from gau_reader import MOVING_IMAGE, NEEDLE, STATIC_IMAGE
from record_checks import ZERO24, check_header, frame_rows

KNOB_FLAGS = 0x20000000 | 0x00200000  # left single click, repeated while held

# (kind, bitmap, position, offset, draw flags, has failures)
ELEMENTS = [
    (STATIC_IMAGE, 0x1900, (0, 0), (0, 0), 0x01, False),     # face
    (MOVING_IMAGE, 0x1903, (76, 90), (0, 0), 0x03, True),    # heading strip
    (MOVING_IMAGE, 0x1907, (76, 140), (0, 0), 0x03, True),   # course strip
    (STATIC_IMAGE, 0x190B, (0, 0), (0, 0), 0x01, False),     # frame
    (NEEDLE, 0x190E, (152, 3), (0, 16), 0x83, False),        # slip needle
]

SLIP_TABLE = [
    (226, 243, 127.0, 0.0),
    (226, 243, 126.0, 0.0),
    (152, 250, 0.0, 0.0),
    (85, 243, -126.0, 0.0),
    (85, 243, -127.0, 0.0),
]


def test_compass_follows_radio_altimeter_and_precedes_heading_indicator(gau):
    names = [gau.cstr(gau.u32(h + 4)) for h in gau.gauge_headers()]
    position = names.index("Compass")
    before = {"AutoSlat_Control", "Artificial_Horizon", "UnderCarriage_Lever", "Flap_Lever", "GearFlap_Placard",
              "Airspeed_Indicator", "Radio_Altimeter"}
    assert set(names[:position]) <= before
    assert names[position + 1:] in ([], ["Heading Indicator"])
    if len(names) == 9:
        assert position == 7


def test_compass_header_and_element_chain(gau):
    h = gau.gauge("Compass")
    check_header(gau, h, 70)
    elements = gau.elements(h)
    assert len(elements) == len(ELEMENTS)
    for e, (kind, bitmap, position, offset, flags, has_failures) in zip(elements, ELEMENTS):
        f = gau.element_header(e)
        assert (f["kind"], f["bitmap"], f["position"], f["offset"], f["gauge"], f["draw_flags"],
                f["instrumentation"], f["reserved"]) == (kind, bitmap, position, offset, h, flags, 0, 0), hex(bitmap)
        assert gau.bytes(e + 16, 8) == bytes(8) and gau.u32(e + 36) == 0, hex(bitmap)  # host fields
        if has_failures:
            assert f["failures"] == [(12, 1, 0), (0, 0, 0)], hex(bitmap)
        else:
            assert f["failure_list"] == 0, hex(bitmap)
    # One list, named by the two strips.
    assert gau.u32(elements[1] + 44) == gau.u32(elements[2] + 44)
    assert gau.u32(elements[4] + 40) == 0  # the needle ends the chain
    for static in (elements[0], elements[3]):
        assert gau.bytes(static + 60, 36) == bytes(36)


def test_compass_strips(gau):
    _, heading, course, _, _ = gau.elements(gau.gauge("Compass"))
    callbacks = []
    for e, token in ((heading, 84), (course, 107)):
        assert gau.token(e + 60) == (token, ZERO24)
        assert gau.u32(e + 88) == 0
        assert (gau.f64(e + 92), gau.f64(e + 100)) == (0.0, 360.0)
        assert gau.u32(e + 108) == 0
        assert gau.token(e + 112) == (0, ZERO24)
        assert gau.u32(e + 140) == 0
        assert gau.bytes(e + 144, 16) == bytes(16)   # Y minimum and maximum 0.0
        assert gau.bytes(e + 160, 84) == bytes(84)   # host
        callbacks.append(gau.u32(e + 244))
        assert gau.u32(e + 248) == 0                 # no Y callback
        assert gau.bytes(e + 252, 16) == bytes(16)
    assert callbacks[0] != 0 and callbacks[0] == callbacks[1]
    assert gau.section_of(callbacks[0]).Name.rstrip(b"\0") == b".text"


def test_compass_slip_needle(gau):
    needle = gau.elements(gau.gauge("Compass"))[4]
    assert gau.token(needle + 60) == (69, ZERO24)
    assert gau.bytes(needle + 88, 24) == bytes(24)
    count = gau.u32(needle + 116)
    assert count == 5 and gau.i32(needle + 120) == 6
    assert gau.nonlinearity(gau.u32(needle + 112), count) == SLIP_TABLE
    assert gau.bytes(needle + 124, 112) == bytes(112)


def test_compass_mouse_table(gau):
    rows = gau.mouse_rows(gau.u32(gau.gauge("Compass") + 80))
    left, right = rows[1], rows[2]
    assert left[:9] == (2, 22, 256, 26, 60, 2, 0, KNOB_FLAGS, 0)
    assert right[:9] == (2, 49, 256, 26, 60, 1, 0, KNOB_FLAGS, 0)
    assert left[10] == 0 and right[10] == 0
    assert left[9] and right[9] and left[9] != right[9]
    assert rows == frame_rows(43828, [left, right])
