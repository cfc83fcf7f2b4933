"""Records of AutoSlat_Control and UnderCarriage_Lever read out of the .gau."""

from gau_reader import ICON, STATIC_IMAGE
from record_checks import ZERO24, check_header, frame_rows

def check_icon(gau, e, token, callback_name=None):
    tok, host = gau.token(e + 60)
    assert tok == token and host == ZERO24
    assert gau.u32(e + 88) == 0
    assert gau.i32(e + 92) == 3          # icon mode
    assert gau.u32(e + 96) == 0
    assert gau.f64(e + 100) == 0.0        # scale
    assert gau.i32(e + 108) == 0          # offset
    assert gau.i32(e + 112) == 2          # picture count
    assert gau.bytes(e + 116, 16) == bytes(16)
    assert gau.u32(e + 132) != 0          # value callback
    assert gau.u32(e + 136) == 0


def test_autoslat_control(gau):
    h = gau.gauge_headers()[0]
    assert gau.cstr(gau.u32(h + 4)) == "AutoSlat_Control"
    check_header(gau, h, 10)
    root, icon = gau.elements(h)
    r = gau.element_header(root)
    assert (r["kind"], r["bitmap"], r["position"], r["offset"], r["gauge"], r["failures"], r["draw_flags"],
            r["instrumentation"]) == (STATIC_IMAGE, 0x1000, (0, 0), (0, 0), h, None, 0x01, 0)
    assert gau.bytes(root + 60, 36) == bytes(36)
    i = gau.element_header(icon)
    assert (i["kind"], i["bitmap"], i["position"], i["offset"], i["gauge"], i["failures"], i["draw_flags"],
            i["instrumentation"]) == (ICON, 0x1003, (0, 0), (0, 0), h, None, 0x03, 0)
    check_icon(gau, icon, 61)
    assert gau.mouse_rows(gau.u32(h + 80)) == frame_rows(0, [])


def test_undercarriage_lever(gau):
    h = gau.gauge("UnderCarriage_Lever")
    check_header(gau, h, 60)
    root, icon = gau.elements(h)
    r = gau.element_header(root)
    assert (r["kind"], r["bitmap"], r["position"], r["failures"], r["draw_flags"]) == (
        STATIC_IMAGE, 0x1500, (0, 0), None, 0x01)
    i = gau.element_header(icon)
    assert (i["kind"], i["bitmap"], i["position"], i["offset"], i["gauge"], i["draw_flags"]) == (
        ICON, 0x1503, (0, 0), (0, 0), h, 0x03)
    assert i["failures"] == [(20, 0, 0), (0, 0, 0)]
    check_icon(gau, icon, 331)
    rows = gau.mouse_rows(gau.u32(h + 80))
    child = rows[1]
    assert child[:10] == (2, 10, 10, 180, 180, 5, 0, 0x20000000, 0, child[9])
    assert child[9] != 0 and child[10] == 0
    assert rows == frame_rows(43824, [child])


def test_gauge_table_order(gau):
    names = [gau.cstr(gau.u32(h + 4)) for h in gau.gauge_headers()]
    full = ["AutoSlat_Control", "Artificial_Horizon", "UnderCarriage_Lever", "Flap_Lever", "GearFlap_Placard",
            "Airspeed_Indicator", "Radio_Altimeter", "Compass", "Heading Indicator"]
    assert names == [n for n in full if n in names]
    assert names[0] == "AutoSlat_Control"
