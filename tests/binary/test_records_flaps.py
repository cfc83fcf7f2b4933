"""Records of Flap_Lever and GearFlap_Placard read out of the .gau."""

from gau_reader import SLIDER, STATIC_IMAGE, bitmap_resources
from record_checks import ZERO24, check_header, frame_rows

LEFTSINGLE = 0x20000000
HAND, NORMAL = 5, 0

# (bitmap, position, X scale): the Aus button below, the Ein button above it
# in the chain, moving in opposite directions on the flap position.
FLAP_SLIDERS = [
    (0x1606, (4, 90), 0.0025),
    (0x1603, (44, 10), -0.0025),
]


def test_flap_lever_records(gau):
    h = gau.gauge("Flap_Lever")
    table = gau.gauge_headers()
    assert table[table.index(h) - 1] == gau.gauge("UnderCarriage_Lever")
    check_header(gau, h, 60)
    root, *sliders = gau.elements(h)
    r = gau.element_header(root)
    assert (r["kind"], r["bitmap"], r["position"], r["offset"], r["gauge"], r["failure_list"], r["draw_flags"],
            r["instrumentation"], r["reserved"]) == (STATIC_IMAGE, 0x1600, (0, 0), (0, 0), h, 0, 0x01, 0, 0)
    assert gau.bytes(root + 60, 36) == bytes(36)
    assert len(sliders) == 2
    for e, (bitmap, position, scale) in zip(sliders, FLAP_SLIDERS):
        s = gau.element_header(e)
        assert (s["kind"], s["bitmap"], s["position"], s["offset"], s["gauge"], s["failure_list"],
                s["draw_flags"], s["instrumentation"], s["reserved"]) == (
            SLIDER, bitmap, position, (0, 0), h, 0, 0x83, 0, 0), hex(bitmap)
        assert gau.token(e + 60) == (329, ZERO24)
        assert gau.u32(e + 88) == 0
        assert gau.f64(e + 92) == scale
        assert gau.u32(e + 100) == 0
        assert gau.token(e + 104) == (0, ZERO24)
        assert gau.u32(e + 132) == 0
        assert gau.f64(e + 136) == 0.0
        assert gau.bytes(e + 144, 48) == bytes(48), "no value callbacks, host fields zero"


def test_flap_lever_click_areas_meet_at_y_100(gau):
    h = gau.gauge("Flap_Lever")
    rows = gau.mouse_rows(gau.u32(h + 80))
    upper, lower = rows[1], rows[2]
    assert upper[:10] == (2, 10, 10, 180, 90, HAND, 0, LEFTSINGLE, 0, upper[9])
    assert lower[:10] == (2, 10, 100, 180, 90, HAND, 0, LEFTSINGLE, 0, lower[9])
    assert upper[2] + upper[4] == lower[2]
    # Two different functions, both in the module's code.
    assert upper[9] and lower[9] and upper[9] != lower[9]
    text = next(s for s in gau.pe.sections if s.Name.rstrip(b"\0") == b".text")
    for fn in (upper[9], lower[9]):
        assert gau.section_of(fn) is text
    assert upper[10] == 0 and lower[10] == 0
    assert rows == frame_rows(43067, [upper, lower])


def test_placard_records(gau):
    h = gau.gauge("GearFlap_Placard")
    table = gau.gauge_headers()
    assert table[table.index(h) - 1] == gau.gauge("Flap_Lever")
    check_header(gau, h, 60)
    (root,) = gau.elements(h)
    r = gau.element_header(root)
    assert (r["kind"], r["bitmap"], r["position"], r["offset"], r["gauge"], r["failure_list"], r["draw_flags"],
            r["instrumentation"], r["reserved"]) == (STATIC_IMAGE, 0x1609, (0, 0), (0, 0), h, 0, 0x01, 0, 0)
    assert gau.u32(root + 40) == 0, "the placard has no children"
    assert gau.bytes(root + 60, 36) == bytes(36)
    child = (2, 10, 10, 180, 180, NORMAL, 0, LEFTSINGLE, 0, 0, 0)  # no event, no function
    assert gau.mouse_rows(gau.u32(h + 80)) == frame_rows(0, [child])


def test_linkage_holds_the_nine_gauges_in_order_then_null(gau):
    linkage = gau.export("Linkage")
    names = [gau.cstr(gau.u32(gau.u32(linkage + 24 + 4 * i) + 4)) for i in range(9)]
    assert names == ["AutoSlat_Control", "Artificial_Horizon", "UnderCarriage_Lever", "Flap_Lever",
                     "GearFlap_Placard", "Airspeed_Indicator", "Radio_Altimeter", "Compass", "Heading Indicator"]
    assert gau.u32(linkage + 24 + 4 * 9) == 0
    assert len(bitmap_resources(gau)) == 31
