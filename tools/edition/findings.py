"""What the checker found: each finding names a file of the edition, a line (0 when the
finding is about the whole file) and what a user of the wizard would see."""

import dataclasses


@dataclasses.dataclass
class Finding:
    file: str
    line: int
    text: str

    def __str__(self):
        where = f"{self.file}:{self.line}" if self.line else self.file
        return f"{where}: {self.text}"


class Findings:
    def __init__(self):
        self.items = []
        self.notes = []

    def add(self, file, line, text):
        self.items.append(Finding(str(file), line, text))

    def note(self, text):
        """Something the author should know that is not a fault (printed, does not fail)."""
        self.notes.append(text)
