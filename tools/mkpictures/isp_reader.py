"""Reads an ISP database the way the wizard does, and checks its contents."""

import dataclasses

PROTOCOLS = {"PPPoE", "PPPoA", "Dynamic IP", "Static IP", "Bridge"}
ENCAPSULATIONS = {"LLC", "VC Mux"}


@dataclasses.dataclass
class Isp:
    name: str
    protocol: str
    encapsulation: str
    vpi: int
    vci: int
    mtu: int
    line: str


@dataclasses.dataclass
class Country:
    name: str
    support: str
    has_braces: bool
    isps: list = dataclasses.field(default_factory=list)


def _atol(text):
    text = text.lstrip(" \t")
    sign, digits = 1, ""
    if text[:1] in "+-" and text:
        sign, text = (-1 if text[0] == "-" else 1), text[1:]
    for ch in text:
        if not ch.isdigit():
            break
        digits += ch
    return sign * int(digits) if digits else 0


def parse(lines, support_url):
    countries = []
    for line in lines:
        if not line.strip(" "):
            continue
        if line.startswith("@"):
            text = line[1:]
            name = text.split("{", 1)[0]
            braces = "{" in text and "}" in text
            support = text.replace(name, "").replace("{", "").replace("}", "") if braces else support_url
            countries.append(Country(name, support, braces))
            continue
        if line.count(",") < 4 or not countries:
            continue
        fields = [f.strip(" ") for f in line.split(",")]
        protocol = fields[1]
        encapsulation = fields[2] or ("VC Mux" if protocol == "PPPoA" else "LLC")
        vci = _atol(fields[4]) if fields[4] else 35
        mtu = _atol(fields[5]) if len(fields) > 5 and fields[5] else 1492
        countries[-1].isps.append(Isp(fields[0], protocol, encapsulation, _atol(fields[3]), vci, mtu, line))
    return countries


def check(report, where, countries):
    if len(countries) < 10:
        report.fail(where, f"{len(countries)} countries, want at least 10")
    if all(c.has_braces for c in countries):
        report.fail(where, "every country names a support address; one should fall back to supportUrl")
    names = [c.name for c in countries]
    if len(set(names)) != len(names):
        report.fail(where, "a country is listed twice")
    for country in countries:
        if country.name != country.name.strip():
            report.fail(where, f"country {country.name!r} has outer blanks (defaultCountry could not match)")
        if not country.isps:
            report.fail(where, f"{country.name} has no providers")
        if country.has_braces and not country.support.startswith("http://"):
            report.fail(where, f"{country.name}: support address {country.support!r}")
        for isp in country.isps:
            if not isp.name:
                report.fail(where, f"provider without a name: {isp.line!r}")
            if isp.protocol not in PROTOCOLS:
                report.fail(where, f"{isp.name}: protocol {isp.protocol!r} is not one the page offers")
            if isp.encapsulation not in ENCAPSULATIONS:
                report.fail(where, f"{isp.name}: encapsulation {isp.encapsulation!r}")
            if not 0 <= isp.vpi <= 255 or not 32 <= isp.vci <= 65535:
                report.fail(where, f"{isp.name}: VPI/VCI {isp.vpi}/{isp.vci} out of range")
            if not 576 <= isp.mtu <= 1500:
                report.fail(where, f"{isp.name}: MTU {isp.mtu}")
