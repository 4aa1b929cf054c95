"""The program's window as any assistive program reads it through AT-SPI: the rows of the
list and the clock. The run needs the rows to know the right answers. Qt gives a label's
accessible name in place of its caption, so the problems are read as the names the rows carry,
"7 plus 5", and taken as true only in that spoken form: Orca must then say exactly these words.
"""

import os
import re

from desktop import Failure, wait_until

NUMBER = r"(?:mínus )?\d+"
WORDS = re.compile(rf"^({NUMBER}) (plus|mínus|krát|děleno) ({NUMBER})$")


def number(words):
    return -int(words[len("mínus "):]) if words.startswith("mínus ") else int(words)


class Problem:
    def __init__(self, words):
        first, operation, second = WORDS.match(words).groups()
        self.words = words
        a, b = number(first), number(second)
        # The generator poses only exact divisions.
        self.result = {"plus": a + b, "mínus": a - b, "krát": a * b, "děleno": a // b if b else None}[operation]


class Screen:
    def __init__(self, desktop):
        # pyatspi finds the accessibility bus through the session bus given at its import.
        os.environ["DBUS_SESSION_BUS_ADDRESS"] = desktop.env["DBUS_SESSION_BUS_ADDRESS"]
        os.environ["AT_SPI_BUS_ADDRESS"] = desktop.a11y_address
        os.environ["DISPLAY"] = desktop.display
        import pyatspi

        self.pyatspi = pyatspi
        self.app = wait_until(self._find_app, 20, "the program did not appear on the accessibility bus")

    def _find_app(self):
        desktop = self.pyatspi.Registry.getDesktop(0)
        for app in desktop:
            if app is not None and app.name == "Sumatko 2001":
                return app
        return None

    def _walk(self, obj):
        for child in obj:
            if child is None:
                continue
            yield child
            yield from self._walk(child)

    def _showing(self, obj):
        return obj.getState().contains(self.pyatspi.STATE_SHOWING)

    def problems(self):
        """The problems of the answer boxes on the screen, in row order."""
        return [Problem(obj.name) for obj in self._walk(self.app)
                if obj.getRole() == self.pyatspi.ROLE_TEXT and self._showing(obj) and WORDS.match(obj.name)]

    def wait_for_problems(self, count, timeout):
        return wait_until(lambda: len(p := self.problems()) == count and p, timeout,
                          f"the list of {count} problems did not appear")

    def clock(self):
        """Everything the clock ("Zbývající čas") and what it holds tell: it changes with each tick,
        whichever of name, description or text carries the time."""
        state = []
        for obj in self._walk(self.app):
            if obj.name == "Zbývající čas":
                for part in [obj, *self._walk(obj)]:
                    try:
                        text = part.queryText().getText(0, -1)
                    except NotImplementedError:
                        text = None
                    state.append((part.name, part.description, text))
        if not state:
            raise Failure("no clock (\"Zbývající čas\") on the screen")
        return state

    def time_shown(self):
        """The seconds left that the clock shows (a label reading "00:01:15"), or None."""
        for obj in self._walk(self.app):
            for text in (obj.name, obj.description):
                if match := re.fullmatch(r"(\d\d):(\d\d):(\d\d)", text or ""):
                    hours, minutes, seconds = map(int, match.groups())
                    return hours * 3600 + minutes * 60 + seconds
        return None
