"""Records of the needle instruments, Airspeed_Indicator, Radio_Altimeter and
Heading Indicator, read out of the .gau."""

import pytest

from gau_reader import NEEDLE, STATIC_IMAGE
from record_checks import check_header, frame_rows

ZERO24 = bytes(24)
NEEDLE_FLAGS, STATIC_FLAGS = 0x83, 0x01

# Per gauge: default size, help id, Linkage position, and its elements in
# drawing order as (kind, bitmap, position, offset, draw flags, failure list
# name or None). Elements naming the same list name must share one record.
GAUGES = {
    "Airspeed_Indicator": dict(size=80, help=43068, position=5, elements=[
        (STATIC_IMAGE, 0x1700, (0, 0), (0, 0), STATIC_FLAGS, "airspeed"),
        (NEEDLE, 0x1703, (150, 150), (15, 14), NEEDLE_FLAGS, "airspeed"),
    ]),
    "Radio_Altimeter": dict(size=70, help=43540, position=6, elements=[
        (STATIC_IMAGE, 0x1800, (0, 0), (0, 0), STATIC_FLAGS, "altimeter"),
        (NEEDLE, 0x1803, (150, 150), (0, 7), NEEDLE_FLAGS, "altimeter"),
        (STATIC_IMAGE, 0x1806, (0, 0), (0, 0), STATIC_FLAGS, None),
    ]),
    "Heading Indicator": dict(size=70, help=43062, position=8, elements=[
        (STATIC_IMAGE, 0x2000, (0, 0), (0, 0), STATIC_FLAGS, None),
        (NEEDLE, 0x2003, (155, 149), (155, 149), NEEDLE_FLAGS, "heading"),
        (STATIC_IMAGE, 0x2006, (0, 0), (0, 0), STATIC_FLAGS, None),
    ]),
}

FAILURE_LISTS = {
    "airspeed": [(20, 0, 0), (6, 1, 0), (0, 0, 0)],
    "altimeter": [(20, 1, 0), (7, 0, 0), (0, 0, 0)],
    "heading": [(20, 0, 0), (6, 1, 0), (0, 0, 0)],
}

# Per needle: token, turn limit, table entries (x, y, value).
NEEDLES = {
    "Airspeed_Indicator": (61, 6, [(153, 254, 0.0), (153, 254, 1.0), (130, 252, 54.0), (188, 245, 405.0),
                                   (188, 245, 406.0)]),
    "Radio_Altimeter": (614, 6, [(43, 186, 0.0), (43, 186, 0.1), (263, 188, 750.0), (263, 188, 751.0)]),
    "Heading Indicator": (84, 0, [(155, 48, 360.0), (155, 248, 180.0), (155, 49, 0.0)]),
}


@pytest.mark.parametrize("name", GAUGES)
def test_header_elements_and_mouse_table(gau, name):
    spec = GAUGES[name]
    h = gau.gauge(name)
    check_header(gau, h, spec["size"])
    elements = gau.elements(h)
    assert len(elements) == len(spec["elements"])
    shared = {}
    for e, (kind, bitmap, position, offset, flags, failures) in zip(elements, spec["elements"]):
        f = gau.element_header(e)
        assert (f["kind"], f["bitmap"], f["position"], f["offset"], f["gauge"], f["draw_flags"],
                f["instrumentation"], f["reserved"]) == (kind, bitmap, position, offset, h, flags, 0, 0), hex(bitmap)
        assert gau.bytes(e + 16, 8) == bytes(8) and gau.u32(e + 36) == 0  # host fields
        if failures is None:
            assert f["failure_list"] == 0, hex(bitmap)
        else:
            assert f["failures"] == FAILURE_LISTS[failures], hex(bitmap)
            assert shared.setdefault(failures, f["failure_list"]) == f["failure_list"], "one list, shared"
        if kind == STATIC_IMAGE:
            assert gau.bytes(e + 60, 36) == bytes(36), hex(bitmap)
    assert gau.mouse_rows(gau.u32(h + 80)) == frame_rows(spec["help"], [])


@pytest.mark.parametrize("name", NEEDLES)
def test_needle_binding_table_and_turn_limit(gau, name):
    token, limit, entries = NEEDLES[name]
    [needle] = [e for e in gau.elements(gau.gauge(name)) if gau.u32(e) == NEEDLE]
    tok, host = gau.token(needle + 60)
    assert tok == token and host == ZERO24
    assert gau.bytes(needle + 88, 24) == ZERO24
    table, count = gau.u32(needle + 112), gau.u32(needle + 116)
    assert count == len(entries)
    assert gau.i32(needle + 120) == limit
    assert gau.bytes(needle + 124, 112) == bytes(112)
    assert gau.nonlinearity(table, count) == [(x, y, v, 0.0) for x, y, v in entries]


def test_linkage_positions(gau):
    names = [gau.cstr(gau.u32(h + 4)) for h in gau.gauge_headers()]
    if len(names) < 9:
        pytest.skip("gauge table not complete yet")
    for name, spec in GAUGES.items():
        assert names.index(name) == spec["position"], name
