"""The Windows program under Wine, driven from outside as a pupil and a screen reader do.

The reading and the input happen in tests/win32/scenario_server.exe, which runs in the build's
Wine session (tools/wine-session; ctest's fixture wine_session sets it up) next to the
program and answers one line per request; see its source for the protocol.
"""

import pathlib
import re
import subprocess
import time
from collections.abc import Sequence

_PLAIN, _CODE = "\\ \t\r\n", "\\strn"

# X keysym names as Windows virtual keys.
_KEYS = {"Tab": 0x09, "Return": 0x0D, "space": 0x20, "BackSpace": 0x08, "Delete": 0x2E, "Escape": 0x1B,
         "Page_Up": 0x21, "Page_Down": 0x22, "End": 0x23, "Home": 0x24,
         "Left": 0x25, "Up": 0x26, "Right": 0x27, "Down": 0x28,
         "shift": 0x10, "ctrl": 0x11, "alt": 0x12}
_KEYS.update({f"F{n}": 0x6F + n for n in range(1, 13)})


def _escape(word: str) -> str:
    return "".join("\\" + _CODE[_PLAIN.index(c)] if c in _PLAIN else c for c in word)


def _unescape(word: str) -> str:
    return re.sub(r"\\([strn\\])", lambda m: _PLAIN[_CODE.index(m[1])], word)


def _virtual_key(name: str) -> int:
    if name in _KEYS:
        return _KEYS[name]
    if len(name) == 1 and name.isascii() and name.isalnum():
        return ord(name.upper())
    raise ValueError(f"no key {name!r}")


class Program:
    """One running program, handled as a pupil handles it and read as a screen reader reads it."""

    def __init__(self, build_dir: pathlib.Path, args: Sequence[str] = (), school: str | None = None):
        """`school`: the school's exercise, put into the machine's ProgramData."""
        build_dir = pathlib.Path(build_dir).resolve()
        self._school = build_dir / "wine/prefix/drive_c/ProgramData/Sumatko 2001/cviceni.txt"
        if school is not None:
            self._school.parent.mkdir(parents=True, exist_ok=True)
            self._school.write_text(school, encoding="utf-8")
        session = pathlib.Path(__file__).resolve().parents[2] / "tools" / "wine-session"
        self._code = None
        self._server = subprocess.Popen(
            [session, "run", build_dir / "wine", build_dir / "tests/win32/scenario_server.exe",
             build_dir / "app/sumatko2001.exe", *args],
            stdin=subprocess.PIPE, stdout=subprocess.PIPE, encoding="utf-8", bufsize=1)
        try:
            self._answer()
            deadline = time.monotonic() + 20
            # The window comes up with Start focused, or with a message to the teacher.
            while self.focused() != "Command3" and self.message() is None:
                if time.monotonic() > deadline:
                    raise TimeoutError(f'"Start" never took the focus (it is on {self.focused()!r})')
                time.sleep(0.05)
        except BaseException:
            self._end()
            raise

    def _answer(self):
        line = self._server.stdout.readline()
        if not line:
            raise RuntimeError("the Windows driver ended")
        verb, *fields = line.rstrip("\n").split(" ")
        fields = [_unescape(field) for field in fields]
        if verb == "error":
            raise RuntimeError(f"the Windows driver: {' '.join(fields)}")
        return None if verb == "none" else fields

    def _ask(self, *words):
        if self._server is None:
            raise RuntimeError("the program is closed")
        self._server.stdin.write(" ".join(_escape(str(word)) for word in words) + "\n")
        return self._answer()

    def _end(self):
        try:
            self._server.stdin.close()
            self._server.wait(10)
        except (OSError, subprocess.TimeoutExpired):
            self._server.kill()
            self._server.wait()
        self._server = None

    def close(self) -> int | None:
        self._school.unlink(missing_ok=True)
        if self._server is not None:
            try:
                answer = self._ask("close")
                self._code = None if answer is None else int(answer[0])
            finally:
                self._end()
        return self._code

    def keys(self, *keys: str) -> None:
        for key in keys:
            *modifiers, name = key.split("+")
            self._ask("key", _virtual_key(name), *(_KEYS[m] for m in modifiers))

    def type(self, text: str) -> None:
        self._ask("type", text)

    def paste(self, text: str) -> None:
        self._ask("paste", text)

    def focused(self) -> str:
        return self._ask("focused")[0]

    def text(self, control: str) -> str | None:
        answer = self._ask("text", control)
        return None if answer is None else answer[0]

    def selection(self, control: str) -> str:
        return self._ask("selection", control)[0]

    def spoken(self, control: str) -> tuple[str, str]:
        name, description = self._ask("spoken", control)
        return name, description

    def value(self, control: str) -> int:
        return int(self._ask("value", control)[0])

    def announced(self) -> list[str]:
        return self._ask("announced")

    def message(self) -> str | None:
        answer = self._ask("message")
        return None if answer is None else answer[0]
