"""setup.ini and default.ini as the platform's private-profile functions read them: sections
and keys ignore case, values are trimmed, the first occurrence of a key wins."""

import re


class Ini:
    def __init__(self, lines):
        self.values = {}  # (section, key) in lower case -> (value, line number)
        self.keys = {}  # section in lower case -> [(key as written, line number)]
        section = None
        for number, raw in enumerate(lines or [], 1):
            line = raw.strip()
            if line.startswith("[") and "]" in line:
                section = line[1:line.index("]")].strip().lower()
                self.keys.setdefault(section, [])
            elif section is not None and "=" in line and not line.startswith(";"):
                key, value = line.split("=", 1)
                key = key.strip()
                self.keys[section].append((key, number))
                self.values.setdefault((section, key.lower()), (value.strip(), number))

    def text(self, section, key, default):
        return self.values.get((section.lower(), key.lower()), (default, 0))

    def integer(self, section, key, default):
        """Decimal, or hexadecimal after 0x; anything else gives the default."""
        value, number = self.text(section, key, None)
        if value is None:
            return default, 0
        if re.fullmatch(r"[+-]?\d+", value):
            return int(value), number
        if re.fullmatch(r"0[xX][0-9a-fA-F]+", value):
            return int(value, 16), number
        return default, number
