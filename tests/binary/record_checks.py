"""Checks shared by the record tests of every gauge: the header fields all
nine gauges fill alike, and the four-row frame of every mouse table."""

ZERO24 = bytes(24)


def frame_rows(help_id, children):
    parent = (1, 0, 0, 0, 0, -1, help_id, 0, 0, 0, 0)
    end_parent = (3, 0, 0, 0, 0, -1, 0, 0, 0, 0, 0)
    end = (0, 0, 0, 0, 0, -1, 0, 0, 0, 0, 0)
    return [parent, *children, end_parent, end]


def header_fields(gau, h):
    return dict(version=gau.u32(h), size=gau.u32(h + 44), reserved=gau.u32(h + 40),
                zero48=gau.bytes(h + 48, 32), zero84=gau.bytes(h + 84, 16), zero100=gau.bytes(h + 100, 152))


def check_header(gau, h, size_mm):
    f = header_fields(gau, h)
    assert f["version"] == 700 and f["size"] == size_mm and f["reserved"] == 0
    assert f["zero48"] == bytes(32) and f["zero84"] == bytes(16) and f["zero100"] == bytes(152)
    routines = [gau.u32(h + 12 + 4 * i) for i in range(7)]
    first = gau.gauge_headers()[0]
    assert routines == [gau.u32(first + 12 + 4 * i) for i in range(7)]
    assert all(routines) and len(set(routines)) == 7
