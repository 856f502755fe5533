#!/usr/bin/env python3
"""Writes the seed inputs of every fuzz target into fuzz/corpus/<target>/.

Seeds are real Settings files (XML and binary, as plistlib writes them) and crafted ones
that sit on the edges the readers guard: nesting just over the depth bound, octal and huge
integers, invalid UTF-8, broken binary tables, colour texts and event records. Regression
inputs found by fuzzing are committed beside them by hand, named "regression-*", and are
never rewritten by this script.

usage: fuzz/make-seeds.py
"""

import os
import plistlib
import struct

HERE = os.path.dirname(os.path.abspath(__file__))
CORPUS = os.path.join(HERE, "corpus")
DEPTH_BOUND = 512  # PropertyList::maximumDepth

XML_HEAD = (b'<?xml version="1.0" encoding="UTF-8"?>\n'
            b'<!DOCTYPE plist PUBLIC "-//Apple//DTD PLIST 1.0//EN" '
            b'"http://www.apple.com/DTDs/PropertyList-1.0.dtd">\n<plist version="1.0">\n')
XML_TAIL = b'\n</plist>\n'


def write(target, name, data):
    directory = os.path.join(CORPUS, target)
    os.makedirs(directory, exist_ok=True)
    if isinstance(data, str):
        data = data.encode()
    with open(os.path.join(directory, name), "wb") as f:
        f.write(data)


def xml_plist(body):
    return XML_HEAD + body + XML_TAIL


REAL_SETTINGS = {
    "Label": "Tap to close all Apps", "Family": "Helvetica", "Style": "Helvetica-Bold",
    "Size": 17.5, "TextColor": "0.000000,1.000000,1.000000,0.500000", "Highlight": True,
    "HideAlpha": False, "UseCustom": True, "Path": "/var/mobile/Media/bar.png",
    "Strechable": True, "Background": 1, "Height": 42.0, "CloseOnAppear": False,
    "CloseOnDisappear": True, "Dismiss": True, "Count": 12, "com.apple.mobilephone": True,
    "com.apple.MobileSMS": False, "Closing": "Closing...",
}


def nested_xml(depth):
    return xml_plist(b"<dict><key>k</key>" + b"<array>" * (depth - 1) + b"</array>" * (depth - 1) + b"</dict>")


def binary_table(objects, top=0, offset_size=2, ref_size=1, count=None, table_at=None):
    """A binary list from raw object bytes; the trailer may lie on purpose."""
    data = b"bplist00"
    offsets = []
    for obj in objects:
        offsets.append(len(data))
        data += obj
    table = len(data) if table_at is None else table_at
    for off in offsets:
        data += off.to_bytes(offset_size, "big")
    count = len(objects) if count is None else count
    data += b"\0" * 6 + bytes([offset_size, ref_size]) + struct.pack(">QQQ", count, top, table)
    return data


def settings_reader_seeds():
    t = "settings_reader"
    write(t, "real-xml.plist", plistlib.dumps(REAL_SETTINGS, fmt=plistlib.FMT_XML))
    write(t, "real-binary.plist", plistlib.dumps(REAL_SETTINGS, fmt=plistlib.FMT_BINARY))
    write(t, "count-only.plist", plistlib.dumps({"Count": 0}, fmt=plistlib.FMT_XML))
    write(t, "empty-dict-binary.plist", plistlib.dumps({}, fmt=plistlib.FMT_BINARY))
    write(t, "root-array.plist", plistlib.dumps(["Label"], fmt=plistlib.FMT_XML))
    write(t, "wrong-kinds.plist", plistlib.dumps({
        "Label": 5, "Size": "huge", "Height": [1, 2], "Count": {"a": 1}, "Highlight": "NO",
        "TextColor": b"\x00\x01", "Background": 2.5, "Family": True}, fmt=plistlib.FMT_BINARY))
    write(t, "ascii-settings.plist",
          '// the old ASCII form\n{\n  Label = "Close them all"; /* the bar */\n  Size = 20.5;\n'
          '  Family = Helvetica;\n  com.apple.Music = 1;\n  TextColor = "0.5,1,1,1";\n'
          '  List = (a, "b c", (), {},);\n  Bytes = <0fBD 7a>;\n}\n')
    write(t, "ascii-strings-file.plist", 'Label = "Hi";\nHeight = 60;\nDismiss = YES;\n')
    write(t, "ascii-escapes.plist",
          '{ a = "tab\\t \\"q\\" \\\\"; c = "\\U00e9\\UD83D\\UDE00"; d = "\\101\\377"; '
          'e = "\\UDE00"; f = "\\U0000"; g = \'single\'; }')
    write(t, "ascii-depth-over-bound.plist", "{ a = " + "(" * (DEPTH_BOUND + 1) + ")" * (DEPTH_BOUND + 1) + "; }")
    write(t, "ascii-unclosed.plist", '{ Label = "open; Size = (1, 2; Bytes = <0f1')
    write(t, "huge-numbers.plist", xml_plist(
        b"<dict><key>Count</key><integer>99999999999999999999999</integer>"
        b"<key>Background</key><integer>-9223372036854775809</integer>"
        b"<key>Size</key><real>1e308</real><key>Height</key><real>-1e400</real></dict>"))
    write(t, "non-finite.plist", xml_plist(
        b"<dict><key>Size</key><real>nan</real><key>Height</key><real>inf</real>"
        b"<key>Count</key><real>-inf</real></dict>"))
    write(t, "octal-integers.plist", xml_plist(
        b"<dict><key>Count</key><integer>010</integer><key>Background</key><integer>-0777</integer>"
        b"<key>Height</key><integer>0x20</integer></dict>"))
    write(t, "invalid-utf8.plist", xml_plist(
        b"<dict><key>Label</key><string>\xff\xfe\xc3(\xed\xa0\x80</string>"
        b"<key>\xc0\xafFamily</key><string>ok</string></dict>"))
    write(t, "entities.plist", xml_plist(
        b"<dict><key>Label</key><string>a&#0;b&amp;&lt;&#x110000;&#xD800;&bogus;</string></dict>"))
    write(t, "cdata-comments.plist", xml_plist(
        b"<!-- <dict> --><dict><key>Label</key><string><![CDATA[<dict></dict>]]></string>"
        b"<!-- </dict> --></dict>"))
    write(t, "entity-expansion.plist",
          b'<?xml version="1.0"?>\n<!DOCTYPE plist [<!ENTITY a "aaaaaaaaaa">'
          b'<!ENTITY b "&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;"><!ENTITY c "&b;&b;&b;&b;&b;&b;&b;&b;&b;&b;">]>'
          b'<plist><dict><key>Label</key><string>&c;&c;&c;</string></dict></plist>')
    write(t, "key-without-value.plist", xml_plist(b"<dict><key>Label</key><key>Count</key><integer>3</integer><key>Size</key></dict>"))
    write(t, "trailing-bytes.plist", plistlib.dumps({"Count": 1}) + b"\x00garbage<dict>")
    write(t, "bom.plist", b"\xef\xbb\xbf" + plistlib.dumps({"Count": 2}))
    write(t, "truncated-xml.plist", plistlib.dumps(REAL_SETTINGS)[:200])
    write(t, "truncated-binary.plist", plistlib.dumps(REAL_SETTINGS, fmt=plistlib.FMT_BINARY)[:-20])
    write(t, "depth-at-bound.plist", nested_xml(DEPTH_BOUND))
    write(t, "depth-over-bound.plist", nested_xml(DEPTH_BOUND + 1))
    write(t, "unclosed-nesting.plist", XML_HEAD + b"<dict><key>a</key>" + b"<array>" * 2000)
    write(t, "dates-and-data.plist", plistlib.dumps({
        "Label": b"bytes", "Count": __import__("datetime").datetime(1970, 1, 1)}, fmt=plistlib.FMT_BINARY))

    # Binary lists whose tables lie.
    dict_one = bytes([0xD1, 1, 2])  # { obj1: obj2 }
    key = b"\x55Count"
    value = b"\x10\x07"
    write(t, "binary-hand-made.plist", binary_table([dict_one, key, value]))
    write(t, "binary-offset-past-end.plist", binary_table([dict_one, key, value], table_at=0xFFFF))
    write(t, "binary-ref-out-of-range.plist", binary_table([bytes([0xD1, 1, 9]), key, value]))
    write(t, "binary-cycle.plist", binary_table([bytes([0xD1, 1, 2]), key, bytes([0xA1, 2])]))
    write(t, "binary-self-key.plist", binary_table([bytes([0xD1, 0, 0])]))
    write(t, "binary-count-lies.plist", binary_table([bytes([0xDF, 0x13]) + (2**40).to_bytes(8, "big"), key, value]))
    bad_sizes = bytearray(binary_table([dict_one, key, value]))
    bad_sizes[-26:-24] = bytes([0, 9])  # offset size 0, reference size 9
    write(t, "binary-bad-sizes.plist", bytes(bad_sizes))
    write(t, "binary-top-out-of-range.plist", binary_table([dict_one, key, value], top=7))
    write(t, "binary-objects-lie.plist", binary_table([dict_one, key, value], count=2**62))
    write(t, "binary-string-length-lies.plist", binary_table([dict_one, b"\x5F\x13" + (2**31).to_bytes(8, "big"), value]))
    # A diamond of shared arrays: few objects that expand a great deal.
    layers = 40
    objects = [bytes([0xD1, 1, 2]), b"\x55Label"]
    for i in range(layers):
        objects.append(bytes([0xA2, 3 + i, 3 + i]))
    objects.append(b"\x10\x01")
    write(t, "binary-shared-expansion.plist", binary_table(objects))
    ref = lambda n: n.to_bytes(2, "big")
    deep = [b"\xD1" + ref(1) + ref(2), b"\x51k"] + [b"\xA1" + ref(3 + i) for i in range(DEPTH_BOUND + 2)] + [b"\x08"]
    write(t, "binary-depth-over-bound.plist", binary_table(deep, offset_size=2, ref_size=2))


def text_color_seeds():
    t = "text_color"
    for name, text in {
        "default": "default", "white": "0.000000,0.000000,1.000000,1.000000",
        "half-red": "0.000000,1.000000,1.000000,0.500000", "three-parts": "0.1,0.2,0.3",
        "five-parts": "0.1,0.2,0.3,0.4,0.5", "empty": "", "commas": ",,,", "blanks": " 0.5 , .5 ,5., -1e-3",
        "non-finite": "nan,inf,1e39,-1e39", "overflow": "9" * 400 + ",1,1,1", "signs": "+-1,--2,+3,- 4",
        "hex-like": "0x1,0x2,0x3,0x4", "outside-range": "1.5,-0.2,1.000001,2",
        "invalid-utf8": b"\xff,\xfe,\xc3(,1".decode("latin-1"), "nul": "0\x00,1,1,1", "Default": "Default",
    }.items():
        write(t, name, text.encode("latin-1"))


def color_text_seeds():
    t = "color_text"
    brace = ["{0.5, 0.25}", " { 0.5 ,\t0.25 } \n", "{1, 0, 0, 1}", "{1}", "{1,2,3}", "{1,2,3,4,5}",
             "{1,0,0,1} x", "1,0,0,1}", "{1e400, -1e400}", "{.5,5.}", "{.,1}", "{1e,2}", "{", "}", "",
             "{1,,2}", "{-0.0, +1}", "{" + "9" * 300 + ", 1}", "{1, 0, 0, 1}}", "{nan, inf}"]
    hexes = ["ff0000", "0xFF0000", "ff0000zz", "#ff0000", "zz", "1ff0000", "0x", "0xg", " \t0Xabcdef",
             "f" * 40, "", "-1", "+ff", "0x0x1"]
    names = ["navy", "grey", "Navy", "navy ", "", "blue", "aliceblue", "blue#", ",blue", "#", "ue#0000ff",
             "%@", "%s%n%x", "yellowgreen", "yellowgreenx", "a" * 300, "blue\x00", "\xff\xfe"]
    for selector, texts in ((0, brace), (1, hexes), (2, names)):
        for i, text in enumerate(texts):
            write(t, f"{['brace', 'hex', 'name'][selector]}-{i:02d}", bytes([selector]) + text.encode("latin-1"))


def event_record(flags, kind, x, y):
    record = bytearray(128)
    struct.pack_into("<III", record, 4, flags, kind, 0)
    struct.pack_into("<ffff", record, 16, x, y, x, y)
    struct.pack_into("<ff", record, 100, 1.0, 1.0)
    struct.pack_into("<ff", record, 108, x, y)
    return bytes(record)


def touch_event_seeds():
    t = "touch_event_record"
    write(t, "began", event_record(0x03010180, 3001, 160.0, 17.5))
    write(t, "ended", event_record(0x01010180, 3001, 160.0, 17.5))
    write(t, "other-type", event_record(0x03010180, 7, -1.0, 1e30))
    write(t, "zeros", bytes(128))
    write(t, "short", event_record(0x03010180, 3001, 3.0, 4.0)[:10])
    write(t, "empty", b"")
    nan = struct.unpack("<f", b"\x01\x00\xc0\x7f")[0]
    write(t, "nan-location", event_record(0xFFFFFFFF, 0xFFFFFFFF, nan, float("inf")))
    write(t, "with-touches", event_record(0x01010180, 3001, 1.0, 2.0) + bytes([0, 1, 0, 2, 3, 1]))
    write(t, "many-touches", event_record(0x03010180, 3001, 5.0, 5.0) + bytes(range(64)))


def specifier_plist_seeds():
    t = "specifier_plist"
    resources = os.path.join(HERE, "..", "resources", "prefs")
    for name in ("RuvexProprefs", "RVXFontController", "RVXImageController", "RVXExtrasController"):
        with open(os.path.join(resources, name + ".plist"), "rb") as f:
            write(t, name + ".plist", f.read())
    rows = [
        {"cell": "PSSwitchCell", "label": "Dismiss", "key": "Dismiss", "defaults": "com.vastelmark.ruvexpro",
         "default": False, "PostNotification": "com.vastelmark.ruvex.dbxchanged"},
        {"cell": "PSSliderCell", "key": "Height", "min": "abc", "max": [], "default": 1e308, "showValue": "YES"},
        {"cell": "PSLinkListCell", "detail": "PSListItemsController", "validTitles": ["a"], "validValues": [1, 2, 3]},
        {"cell": "PSLinkCell", "detail": "NoSuchController", "isController": 5, "bundle": "../../etc"},
        {"cell": "PSButtonCell", "action": "kill:::"}, {"cell": 7}, {}, "not a row", 5, [],
        {"cell": "PSUnknownCell", "label": b"bytes", "key": {"nested": True}},
    ]
    write(t, "crafted-rows.plist", plistlib.dumps({"title": "T", "items": rows}, fmt=plistlib.FMT_BINARY))
    write(t, "items-not-array.plist", plistlib.dumps({"title": "T", "items": {"a": 1}}))
    write(t, "no-items.plist", plistlib.dumps({"title": 5}))
    write(t, "many-rows.plist", plistlib.dumps({"items": [{"cell": "PSGroupCell", "label": str(i)} for i in range(2000)]}))


def json_seeds():
    t = "json"
    write(t, "reply", '{"ok":true,"text":"tapped [1] About","tapped":1,"pane":{"class":"RVXPrefsController","title":"Ruvex Pro"}}')
    write(t, "request", '["settings","type","caf\\u00e9 \\ud83d\\ude00"]')
    write(t, "numbers", '[0,-0,-0.0,1e308,1e309,-1e-400,9007199254740993,18446744073709551616,0.1,1E+2]')
    write(t, "escapes", '"\\b\\f\\n\\r\\t\\"\\\\\\/\\u0000\\u007f\\ud800"')
    write(t, "at-the-bound", "[" * 257 + "]" * 257)
    write(t, "over-the-bound", "[" * 258 + "]" * 258)
    write(t, "objects-deep", '{"a":' * 257 + "1" + "}" * 257)
    write(t, "invalid-utf8", b'{"k":"\xc3\x28 \xed\xa0\x80 \xf4\x90\x80\x80"}')
    write(t, "duplicate-keys", '{"a":1,"a":2,"b":[],"c":{}}')
    write(t, "trailing", '{} {}')
    write(t, "empty", "")


if __name__ == "__main__":
    settings_reader_seeds()
    text_color_seeds()
    color_text_seeds()
    touch_event_seeds()
    specifier_plist_seeds()
    json_seeds()
