#!/usr/bin/env python3
"""Checks the shipped data folder against what the wizard reads.

    python3 tools/mkpictures/check_data.py [data folder]

Parses every settings file with the wizard's four-stage line reader and
checks that it yields all 189 layout values, 89 pictures, 3 switches and 20
settings with nothing dropped; that every picture exists, decodes as a
24-bit bitmap or a baseline JPEG and fits the window where it is placed;
that the catalogues, default.ini, the ISP database and setup.ini are
complete, in their ANSI code page with CRLF line ends. The key tables here
are written out independently of the picture generator on purpose.
Exit status 0 when everything passes, 1 otherwise.
"""

import sys

sys.dont_write_bytecode = True  # keep the source folder free of __pycache__

import configparser
import ipaddress
import pathlib
import re
import struct

import isp_reader

WINDOW_W, WINDOW_H = 722, 482

LANGUAGE_LIST = ["Czech", "Danish", "English", "Finnish", "Flemish", "French", "German", "Greek", "Hungarian",
                 "Italian", "Norwegian", "Polish", "Portugese", "Russian", "Spanish", "Swedish"]
CODE_PAGE = {"Russian": "cp1251", "Greek": "cp1253"}

_NAV = ["BackBT", "NextBT", "ExitBT"]
_NAV_STEMS = ["IMG_PowerLinkHelpDlg", "IMG_EthernetLinkHelpDlg", "IMG_ADSLLinkHelpDlg", "IMG_ISPSelectionDlg",
              "IMG_StaticIPSettingDlg", "IMG_PPPSettingDlg", "IMG_WRadioSettingDlg", "IMG_WirelessSettingDlg",
              "IMG_WirelessRemindSsid", "IMG_EthernetRemoveDlg", "IMG_WlanUsbCheckDlg"]
NAV_KEYS = [stem + n for stem in _NAV_STEMS for n in _NAV]

WIDTH_KEYS = ["CB_Languages", "PB_CheckHWLinkStatus", "PB_CheckSWLinkStatus", "PB_InstallWlanDriverStatus",
              "PB_WlanInternetStatus"]
LT_KEYS = [
    "IMG_ViewManualBT", "IMG_ViewQIGBT", "IMG_AcrobatBT", "IMG_TechnicalSupportBT", "IMG_QuickInstallBT",
    "IMG_CloseBT", "IMG_ViewKXManualBT", "IMG_ViewKXQIGBT", "IMG_InstallKXU",
    "IMG_DSLCountry", "IMG_DSLISP", "IMG_DSLProtocol", "IMG_DSLEncapulation", "IMG_DSLVPI", "IMG_DSLVCI",
    "IMG_DSLMTU", "IMG_DSLNotice", "CB_CountrySelector", "CB_ISPSelector", "CB_DSLProtocol", "CB_DSLEncapulation",
    "ED_DSLVPI", "ED_DSLVCI", "ED_DSLMTU",
    "PL_WANIPAddressEdit", "PL_SubnetNetmaskEdit", "PL_GatewayAddressEdit", "PL_DNSIPAddressEdit",
    "ED_PPPUsername", "ED_PPPPassword", "ED_PPPConfirmPassword", "CB_WRadio",
    "IMG_WEPKey64Help", "IMG_WEPKey128Help", "IMG_WPAKeyHexHelp", "IMG_WPAKeyASCHelp", "IMG_EncryptOptField",
    "ED_SSID", "CB_WLCountry", "CB_Channel", "CB_EncryptionType", "ED_EncryptionKey", "CB_WLKeyIndex",
    "IMG_WirelessRemindSsidWarnMsg", "LBL_SSID", "LBL_WLKey", "IMG_WirelessRemindKey",
    "LB_CheckSWLinkStatusProgressPercent",
    "IMG_InstallCompleteDlgOKBT", "IMG_InstallWLANUSBBT", "IMG_InstallBROWSEBT", "IMG_InstallCompleteDlgAloneOKBT",
    "IMG_InstallCompleteDlgAloneBrowseBT", "IMG_WlanInstallCompleteDlgOKBT",
] + NAV_KEYS
LAYOUT_PAIRS = {(k, a) for k in LT_KEYS + WIDTH_KEYS for a in ("Left", "Top")} | {(k, "Width") for k in WIDTH_KEYS}

BACKGROUND_KEYS = [
    "IMG_MainMenuDlgBG", "IMG_PowerLinkHelpDlgBG", "IMG_EthernetLinkHelpDlgBG", "IMG_ADSLLinkHelpDlgBG",
    "IMG_CheckHWLinkStatusDlgBG", "IMG_ISPSelectionDlgBG", "IMG_StaticIPSettingDlgBG", "IMG_PPPSettingDlgBG",
    "IMG_WRadioSettingDlgBG", "IMG_WirelessSettingDlgBG", "IMG_WirelessRemindSsidDlgBG",
    "IMG_CheckSWLinkStatusDlgBG", "IMG_InstallCompleteDlgBG", "IMG_InstallCompleteDlgAloneBG",
    "IMG_EthernetRemoveDlgBG", "IMG_WlanUsbCheckDlgBG", "IMG_InstallWlanDriverDlgBG", "IMG_WlanInternetStatDlgBG",
    "IMG_WlanInstallCompleteDlgBG",
]
# Pictures without a position of their own: drawn in place of another control.
PLACED_AS = {
    "IMG_DSLProtocol_grey": "IMG_DSLProtocol", "IMG_DSLEncapulation_grey": "IMG_DSLEncapulation",
    "IMG_DSLVPI_grey": "IMG_DSLVPI", "IMG_DSLVCI_grey": "IMG_DSLVCI", "IMG_DSLNotice_grey": "IMG_DSLNotice",
    "IMG_WEPField": "IMG_EncryptOptField", "IMG_WPAField": "IMG_EncryptOptField",
    "IMG_WirelessRemindWEPKeyField": "IMG_WirelessRemindKey", "IMG_WirelessRemindWPAKeyField": "IMG_WirelessRemindKey",
}
PICTURE_KEYS = (BACKGROUND_KEYS + [k for k in LT_KEYS if k.startswith("IMG_")
                                   and k not in ("IMG_EncryptOptField", "IMG_WirelessRemindKey")]
                + list(PLACED_AS))
STATE_PAIRS = [("IMG_DSLCountry", "Visible"), ("CB_CountrySelector", "Visible"), ("PL_WRadioSettingDlg", "Enabled")]
SETTING_KEYS = ["AppliedModules", "ISPFileList", "EnableLocalDHCP", "UseDSLConnectionTableEx",
                "CheckHWLinkByCmpNEQDSLLink", "WPAKeySupport", "PPPDisconnectBeforeReset", "DefaultTimeout",
                "DiscoverTimeout", "CheckHWLinkTimeout", "DSLSetTimeout", "StaticIPSetTimeout", "PPPSetTimeout",
                "WirelessSetTimeout", "ConfigSaveTimeout", "ConfigSavedWaitTime", "ResetWaitTime",
                "CheckSWLinkStatusTimes", "CheckSWLinkStatusInterval", "InternetTestIPAddresses"]
DEFAULT_KEYS = ["supportUrl", "manualName", "qigName", "defaultPassword", "defaultNumChannels", "kxManualName",
                "kxQIGName", "defaultCountry", "defaultISP"]
DOCUMENTATION_NETS = [ipaddress.ip_network(n) for n in ("192.0.2.0/24", "198.51.100.0/24", "203.0.113.0/24")]


assert len(LAYOUT_PAIRS) == 189 and len(PICTURE_KEYS) == len(set(PICTURE_KEYS)) == 89


class Report:
    def __init__(self):
        self.problems = []

    def fail(self, where, text):
        self.problems.append(f"{where}: {text}")


# -- the settings file reader --------------------------------------------------
def _before(text, ch):
    i = text.find(ch)
    return text if i < 0 else text[:i]


def _after(text, ch):
    i = text.find(ch)
    return text if i < 0 else text[i + 1:]


def read_settings(lines):
    """The wizard's staged reader: returns (layout, pictures, states, settings, dropped lines)."""
    layout, pictures, states, settings, dropped = {}, {}, {}, {}, []

    def stage(n, line):
        if n == 4:
            key, value = _before(line, "="), _after(line, "=")
            if key in SETTING_KEYS:
                settings[key] = value
                return True
            return False
        key, rest = _before(line, "."), _after(line, ".")
        attribute, value = _before(rest, "="), _after(rest, "=")
        if n == 1 and (key, attribute) in LAYOUT_PAIRS:
            layout[(key, attribute)] = value
        elif n == 2 and attribute == "Picture" and key in PICTURE_KEYS:
            pictures[key] = value
        elif n == 3 and (key, attribute) in STATE_PAIRS:
            states[(key, attribute)] = value
        else:
            return False
        return True

    current = 1
    for raw in lines:
        line = raw.strip(" \t")
        if (not line or line.startswith(";") or (line.startswith("[") and line.endswith("]"))
                or (line.startswith("***") and line.endswith("***"))):
            continue
        while not stage(current, line):
            if current == 4:
                dropped.append(line)
                current = 1
                break
            current += 1
    return layout, pictures, states, settings, dropped


# -- pictures ------------------------------------------------------------------
def picture_size(path):
    """(width, height) of a 24-bit uncompressed BMP or a baseline JPEG; raises ValueError otherwise."""
    data = path.read_bytes()
    if path.suffix.lower() == ".bmp":
        if data[:2] != b"BM" or len(data) < 54:
            raise ValueError("not a bitmap")
        width, height, planes, bits, compression = struct.unpack_from("<iiHHI", data, 18)
        if bits != 24 or compression != 0:
            raise ValueError(f"bitmap is {bits}-bit, compression {compression}; want 24-bit uncompressed")
        return width, abs(height)
    if path.suffix.lower() in (".jpg", ".jpeg"):
        if data[:2] != b"\xff\xd8":
            raise ValueError("not a JPEG")
        i = 2
        while i + 4 <= len(data):
            if data[i] != 0xFF:
                raise ValueError("broken JPEG marker chain")
            marker = data[i + 1]
            length = struct.unpack_from(">H", data, i + 2)[0]
            if marker in (0xC0, 0xC1):
                height, width = struct.unpack_from(">HH", data, i + 5)
                return width, height
            if 0xC2 <= marker <= 0xCF and marker not in (0xC4, 0xC8, 0xCC):
                raise ValueError("not a baseline JPEG")
            i += 2 + length
        raise ValueError("JPEG without a frame header")
    raise ValueError("neither .bmp nor .jpg")


def _overlap(a, b):
    return a[0] < b[2] and b[0] < a[2] and a[1] < b[3] and b[1] < a[3]


def check_settings_file(report, folder, name):
    where = f"{folder.name}/{name}"
    path = folder / name
    if not path.is_file():
        report.fail(where, "missing")
        return None
    text = read_text(report, path, folder.name)
    layout, pictures, states, settings, dropped = read_settings(text.split("\r\n"))
    print(f"{where}: {len(layout)} layout values, {len(pictures)} pictures, {len(states)} switches, "
          f"{len(settings)} settings")
    for line in dropped:
        report.fail(where, f"line dropped by the reader: {line!r}")
    for pair in sorted(LAYOUT_PAIRS - layout.keys()):
        report.fail(where, f"no {pair[0]}.{pair[1]}")
    for pair, value in layout.items():
        if not re.fullmatch(r"-?\d+", value):
            report.fail(where, f"{pair[0]}.{pair[1]}={value!r} is not a whole number")
    for key in PICTURE_KEYS:
        if key not in pictures:
            report.fail(where, f"no {key}.Picture")
    for key, attribute in STATE_PAIRS:
        if states.get((key, attribute)) != "true":
            report.fail(where, f"{key}.{attribute} is {states.get((key, attribute))!r}, want 'true'")
    for key in SETTING_KEYS:
        if key not in settings:
            report.fail(where, f"no setting {key}")
        elif key not in ("AppliedModules", "ISPFileList", "InternetTestIPAddresses") and \
                not re.fullmatch(r"\d+", settings[key]):
            report.fail(where, f"{key}={settings[key]!r} is not a number")
    if int(settings.get("ResetWaitTime", "0") or 0) <= 0:
        report.fail(where, "ResetWaitTime must be positive")
    for item in settings.get("InternetTestIPAddresses", "").split(";"):
        try:
            address = ipaddress.ip_address(item)
        except ValueError:
            report.fail(where, f"InternetTestIPAddresses item {item!r} is not an address")
            continue
        if not any(address in net for net in DOCUMENTATION_NETS):
            report.fail(where, f"{item} is not a documentation address")
    if not settings.get("AppliedModules", "").upper().endswith("WAP"):
        report.fail(where, "AppliedModules does not end in WAP: the wireless pages would be left out")

    # Every picture must exist, decode and fit where it is placed.
    sizes = {}
    for key, file_name in pictures.items():
        picture = folder / file_name
        if not picture.is_file():
            report.fail(where, f"{key}: {file_name} does not exist")
            continue
        try:
            sizes[key] = picture_size(picture)
        except ValueError as error:
            report.fail(where, f"{key}: {file_name}: {error}")
    for key in BACKGROUND_KEYS:
        if key in sizes and sizes[key] != (720, 480):
            report.fail(where, f"{key} is {sizes[key]}, want 720 x 480")
    boxes = {}
    for key, size in sizes.items():
        anchor = PLACED_AS.get(key, key)
        if key in BACKGROUND_KEYS or (anchor, "Left") not in layout:
            continue
        left, top = int(layout[(anchor, "Left")]), int(layout[(anchor, "Top")])
        box = (left, top, left + size[0], top + size[1])
        boxes[key] = box
        if left < 0 or top < 0 or box[2] > WINDOW_W or box[3] > WINDOW_H:
            report.fail(where, f"{key} at {box} leaves the {WINDOW_W} x {WINDOW_H} window")
    for stem in _NAV_STEMS:
        keys = [stem + n for n in _NAV if stem + n in boxes]
        for i, a in enumerate(keys):
            for b in keys[i + 1:]:
                if _overlap(boxes[a], boxes[b]):
                    report.fail(where, f"{a} overlaps {b}")
    return settings


# -- text files -----------------------------------------------------------------
def read_text(report, path, language):
    """Decodes an ANSI file of the language folder; reports UTF-8 and bare line feeds."""
    data = path.read_bytes()
    where = str(path.relative_to(path.parents[2])) if len(path.parents) > 2 else path.name
    code_page = CODE_PAGE.get(language, "cp1252")
    if data.startswith(b"\xef\xbb\xbf"):
        report.fail(where, "starts with a UTF-8 byte order mark")
    if any(b > 0x7F for b in data):
        try:
            data.decode("utf-8")
            report.fail(where, f"holds UTF-8, not {code_page}")
        except UnicodeDecodeError:
            pass
    if re.search(rb"(?<!\r)\n", data):
        report.fail(where, "has line feeds without carriage return")
    try:
        return data.decode(code_page)
    except UnicodeDecodeError as error:
        report.fail(where, f"not {code_page}: {error}")
        return data.decode(code_page, "replace")


def lines_of(report, path, language):
    text = read_text(report, path, language)
    lines = text.split("\r\n")
    return lines[:-1] if lines and lines[-1] == "" else lines


def check_language(report, data, folder):
    language = folder.name
    settings = None
    for name in ("dslutility.ini", "dslutility_kit.ini"):
        settings = check_settings_file(report, folder, name) or settings
    messages = lines_of(report, folder / "application.err", language) if (folder / "application.err").is_file() else []
    if len(messages) < 31:
        report.fail(f"{language}/application.err", f"{len(messages)} lines, want at least 31")
    for n in (3, 29):
        if len(messages) > n and "\\n" not in messages[n]:
            report.fail(f"{language}/application.err", f"line {n} has no \\n line break")
    for n, line in enumerate(messages):
        if not line.strip():
            report.fail(f"{language}/application.err", f"line {n} is empty")
    dialog = lines_of(report, folder / "frm.str", language) if (folder / "frm.str").is_file() else []
    if len(dialog) < 6:
        report.fail(f"{language}/frm.str", f"{len(dialog)} lines, want at least 6")
    if not (folder / "common.err").is_file():
        report.fail(f"{language}/common.err", "missing")
    else:
        lines_of(report, folder / "common.err", language)

    defaults = configparser.ConfigParser(interpolation=None)
    if (folder / "default.ini").is_file():
        defaults.read_string(read_text(report, folder / "default.ini", language))
    section = defaults["Defaults"] if defaults.has_section("Defaults") else {}
    for key in DEFAULT_KEYS:
        if key not in section:
            report.fail(f"{language}/default.ini", f"no {key}")
    for key in ("manualName", "qigName", "kxManualName", "kxQIGName"):
        if key in section and not (data / "Docs" / section[key]).is_file():
            report.fail(f"{language}/default.ini", f"{key}: Docs/{section[key]} does not exist")
        elif key in section and not (data / "Docs" / section[key]).read_bytes().startswith(b"%PDF-"):
            report.fail(f"{language}/default.ini", f"Docs/{section[key]} is not a PDF")

    isp_name = (settings or {}).get("ISPFileList", "")
    isp_path = folder / isp_name
    if not isp_name or not isp_path.is_file():
        report.fail(language, f"ISP database {isp_name!r} missing")
        return
    countries = isp_reader.parse(lines_of(report, isp_path, language), section.get("supportUrl", ""))
    isp_reader.check(report, f"{language}/{isp_name}", countries)
    by_name = {c.name: c for c in countries}
    country = by_name.get(section.get("defaultCountry"))
    if country is None:
        report.fail(f"{language}/default.ini", f"defaultCountry {section.get('defaultCountry')!r} not in {isp_name}")
    elif section.get("defaultISP") not in [isp.name for isp in country.isps]:
        report.fail(f"{language}/default.ini", f"defaultISP {section.get('defaultISP')!r} not in {country.name}")


def check_profile(report, data):
    parser = configparser.ConfigParser(interpolation=None)
    parser.optionxform = str
    path = data / "setup.ini"
    if not path.is_file():
        report.fail("setup.ini", "missing")
        return []
    parser.read_string(read_text(report, path, "English"))
    profile = parser["Profile"]
    offered = [name for name in LANGUAGE_LIST if parser.get("Language", name, fallback="0") == "1"]
    if profile.get("DefaultLanguage") not in offered:
        report.fail("setup.ini", "DefaultLanguage is not an offered language")
    return offered


def main():
    data = pathlib.Path(sys.argv[1] if len(sys.argv) > 1 else pathlib.Path(__file__).resolve().parents[2] / "data")
    report = Report()
    offered = check_profile(report, data)
    for language in offered:
        folder = data / "Language" / language
        if not folder.is_dir():
            report.fail(language, "offered in setup.ini but its folder is missing")
            continue
        check_language(report, data, folder)
    for path in ("Language/Internet/Internet.htm", "Language/Internet/SurfInternet.htm",
                 "Language/ChkNIC/ChkNIC.bat", "Acrobat/readme.txt", "Driver/readme.txt", "DriverVista/readme.txt"):
        if not (data / path).is_file():
            report.fail(path, "missing")
    bat = data / "Language/ChkNIC/ChkNIC.bat"
    if bat.is_file():
        text = read_text(report, bat, "English")
        if "C:\\ChkNIC.txt" not in text or "matching device(s) found" not in text:
            report.fail("ChkNIC.bat", "does not write C:\\ChkNIC.txt with a 'matching device(s) found' line")
    for problem in report.problems:
        print("FAIL", problem)
    print(f"checked {len(offered)} language folders of {data}: {len(report.problems)} problem(s)")
    return 1 if report.problems else 0


if __name__ == "__main__":
    sys.exit(main())
