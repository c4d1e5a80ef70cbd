"""The ISP database as the wizard reads it, with the line of every country and provider, and
what its limits of 500 countries and 50 providers a country drop."""

import dataclasses

MAX_COUNTRIES = 500
MAX_ISPS = 50


@dataclasses.dataclass
class Country:
    name: str
    line: int
    isps: list = dataclasses.field(default_factory=list)  # (name, line number)


def read(findings, name, lines):
    countries = []
    current = None
    for number, line in enumerate(lines, 1):
        if not line.strip(" "):
            continue
        if line.startswith("@"):
            country = line[1:].split("{", 1)[0]
            current = None
            if not country:
                findings.add(name, number, "a country line without a name: the wizard skips it and its providers")
                continue
            if len(countries) == MAX_COUNTRIES:
                findings.add(name, number, f"'{country}' is country {MAX_COUNTRIES + 1}: the wizard shows only the "
                                           f"first {MAX_COUNTRIES}, this one and every later one are dropped")
            countries.append(Country(country, number))
            current = countries[-1] if len(countries) <= MAX_COUNTRIES else None
            continue
        if line.count(",") < 4:
            continue
        isp = line.split(",", 1)[0].strip(" ")
        if not countries:
            findings.add(name, number, f"provider '{isp}' comes before the first country line: it is never shown")
            continue
        country = current
        if country is None:
            continue
        if len(country.isps) == MAX_ISPS:
            findings.add(name, number, f"'{isp}' is provider {MAX_ISPS + 1} of {country.name}: the wizard shows only "
                                       f"the first {MAX_ISPS}, this one and every later one are dropped")
        country.isps.append((isp, number))
    if not countries:
        findings.add(name, 0, "holds no country: the country list is empty and no provider can be chosen")
    return countries
