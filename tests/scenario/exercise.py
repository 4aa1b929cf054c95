#!/usr/bin/python3
"""The exercise that proves the window, played by keyboard against one of the three real programs:
the Linux program (linux.py), the Windows program under Wine (windows.py) or the page in Chromium
(web.py). Each step checks what a pupil and a screen reader meet: what each box holds, where the
focus is, what a screen reader is told. Every frontend must come out the same.

usage: exercise.py linux|windows|web BUILD_DIR
"""

import importlib
import re
import sys
import tempfile
import time
from pathlib import Path
from urllib.parse import quote

from desktop import TIMEOUT, Failed, wait

NUMBER = r"(?:mínus )?\d+"
OPERATIONS = {"plus": lambda a, b: a + b, "mínus": lambda a, b: a - b, "krát": lambda a, b: a * b,
              "děleno": lambda a, b: a // b}
SETTINGS_ORDER = ["Check1", "Check2", "Check3", "Check4", "Text1", "Text2", "Text3", "Text4", "Text5", "Text6",
                  "Text7", "Text8"]


def result(words):
    """The result of a problem as a screen reader names it: "7 plus 5", "mínus 3 mínus mínus 8"."""
    a, operation, b = re.fullmatch(rf"({NUMBER}) (plus|mínus|krát|děleno) ({NUMBER})", words).groups()
    return OPERATIONS[operation](*(int(n.replace("mínus ", "-")) for n in (a, b)))


class Pupil:
    """The steps of the exercise, with the checks that stop it at the first difference."""

    def __init__(self, program):
        self.p, self.step = program, "the window opens"

    def expect(self, what, got, wanted):
        if got != wanted:
            raise Failed(f"{self.step}: {what} is {got!r}, not {wanted!r}")

    def until(self, what, read, wanted):
        got = wait(lambda: (value := read()) == wanted and [value], TIMEOUT)
        if not got:
            self.expect(what, read(), wanted)

    def press_until(self, key, what, read, wanted):
        """Presses the key until it takes: one pressed while a slide ends is dropped, as the
        pupil's is, and the pupil presses again."""
        for _ in range(5):
            self.p.keys(key)
            if wait(lambda: read() == wanted, 2):
                return
        self.expect(what, read(), wanted)

    def doing(self, step, *keys):
        self.step = step
        if keys:
            self.p.keys(*keys)

    def focus(self, control):
        self.until("the focus", self.p.focused, control)

    def tab_to(self, control):
        """Tab through the settings to one box, as the order of the panel goes."""
        start = SETTINGS_ORDER.index(self.p.focused()) if self.p.focused() in SETTINGS_ORDER else -1
        self.p.keys(*["Tab"] * (SETTINGS_ORDER.index(control) - start))
        self.focus(control)

    def replace(self, box, text):
        """A box's text replaced as a keyboard does it: every character taken back, then typed."""
        self.tab_to(box)
        self.p.keys("End", *["BackSpace"] * len(self.p.text(box)))
        self.p.type(text)
        self.until(f"{box}'s text", lambda: self.p.text(box), text)


def play(p):
    pupil = Pupil(p)
    box = lambda row: f"txtVysl({row})"  # noqa: E731

    pupil.expect("the focus", p.focused(), "Command3")
    pupil.expect("the count box", (p.spoken("Text1")[0], p.text("Text1")), ("Počet příkladů", "10"))

    pupil.doing("a count of 0 is refused in a message; dismissed, the box has the focus, its text selected")
    pupil.replace("Text1", "0")
    p.keys("Return")
    pupil.until("the refusal", p.message, "Počet příkladů musí být celé číslo od 1 do 999.")
    p.keys("Return")
    pupil.until("the refusal", p.message, None)
    pupil.focus("Text1")
    pupil.expect("the selection", p.selection("Text1"), "0")
    p.type("6")
    pupil.expect("the count", p.text("Text1"), "6")

    pupil.doing("Enter in a settings box starts six problems whose results may be below zero")
    pupil.replace("Text2", "999")
    pupil.replace("Text7", "-20")
    pupil.replace("Text8", "20")
    p.keys("Return")
    pupil.focus(box(1))
    problems = [p.spoken(box(row))[0] for row in range(1, 7)]
    results = [result(words) for words in problems]
    pupil.expect("a seventh row", p.text(box(7)), None)

    pupil.doing("row 1 keeps of typed and pasted text the digits, and a minus sign only in front")
    p.type("x-1y-2")
    pupil.until("row 1", lambda: p.text(box(1)), "-12")
    p.keys("BackSpace", "BackSpace", "BackSpace")
    p.paste("a7")
    pupil.until("row 1", lambda: p.text(box(1)), "7")
    p.keys("BackSpace")
    p.type(str(results[0]))
    pupil.until("row 1", lambda: p.text(box(1)), str(results[0]))

    pupil.doing("Return, then a paste of the right answer with letters around it", "Return")
    pupil.focus(box(2))
    p.paste(f"x{results[1]}y")
    pupil.until("row 2", lambda: p.text(box(2)), str(results[1]))
    pupil.doing("Down, then six digits typed: the sixth is refused", "Down")
    pupil.focus(box(3))
    p.type("123456")
    pupil.until("row 3", lambda: p.text(box(3)), "12345")
    pupil.doing("a minus sign alone in row 4, row 5 left empty, row 6 one too many", "Down")
    pupil.focus(box(4))
    p.type("-")
    p.keys("Down", "Down")
    pupil.focus(box(6))
    p.type(str(results[5] + 1))
    pupil.until("row 6", lambda: p.text(box(6)), str(results[5] + 1))

    for keys, row in [("Page_Up", 2), ("Page_Down", 6), ("Up", 5), ("Home", 1), ("Up", 1), ("End", 6), ("Return", 6)]:
        pupil.doing(f"{keys} moves to row {row}", keys)
        pupil.focus(box(row))
        pupil.expect(f"row {row}'s name", p.spoken(box(row))[0], problems[row - 1])

    pupil.doing("Tab from the last row reaches the clock, named, with the time left in words", "Tab")
    pupil.focus("Picture4")
    name, words = p.spoken("Picture4")
    pupil.expect("the clock's name", name, "Zbývající čas")
    if not re.fullmatch(r"1[56] minut( \d+ sekund[ay]?)?", words):
        raise Failed(f"{pupil.step}: the clock is described as {words!r}")

    pupil.doing("Tab and Return on Hotovo!: every row marked, row 1 focused", "Tab")
    pupil.focus("Command1")
    p.keys("Return")
    pupil.until("row 5", lambda: p.text(box(5)), "?")
    pupil.focus(box(1))
    marks = ["správně", "správně", "špatně", "špatně", "nevyplněno", "špatně"]
    texts = [str(results[0]), str(results[1]), "12345", "-", "?", str(results[5] + 1)]
    for row in range(1, 7):
        pupil.expect(f"row {row}", (p.text(box(row)), p.spoken(box(row))[1]), (texts[row - 1], marks[row - 1]))
    counts = ("Dobře spočítal 2", "Špatně spočítal 3", "Nestihl 1", "Známka 4")
    pupil.expect("the counts", tuple(p.spoken(c)[0] for c in ("Label10", "Label11", "Label12", "lblZnamka")), counts)

    pupil.doing("Známka, from the last row by Tab: the results said at once, each time they come", "End", "Tab", "Tab")
    pupil.focus("Command2")
    p.announced()
    said = "Dobře spočítal 2, špatně spočítal 3, nestihl 1, známka 4"
    for caption, heard in [("Příklady", [said]), ("Známka", []), ("Příklady", [said])]:
        pupil.press_until("Return", "the toggle", lambda: p.text("Command2"), caption)
        pupil.until("what was announced", p.announced, heard)

    pupil.doing("Znovu: Start focused, no row left, nothing of the old exercise said", "Tab")
    pupil.focus("Command4")
    p.keys("Return")
    pupil.focus("Command3")
    pupil.expect("row 1", p.text(box(1)), None)
    pupil.expect("what was announced", p.announced(), [])

    pupil.doing("a second exercise of five seconds, results from 0: a minus sign is refused, the time runs out")
    pupil.replace("Text2", "5")
    pupil.replace("Text7", "0")
    p.keys("Return")
    pupil.focus(box(1))
    # Every printable character typed: only keys by what they are move the focus (Windows' key
    # codes of "!" and "$" are those of Page Up and Home), and a minus sign is refused here.
    p.type("".join(map(chr, range(32, 127))))
    pupil.until("row 1", lambda: p.text(box(1)), "01234")
    pupil.focus(box(1))
    pupil.until("row 2's verdict", lambda: p.spoken(box(2))[1], "nevyplněno")
    pupil.expect("the clock", p.text("lblCas"), "00:00:00")
    pupil.expect("the grade", p.spoken("lblZnamka")[0], "Známka 5")


LOCKED = "pocet=3&cas=60&cislo1=2..5&cislo2=1..3&vysledek=0..20&operace=scitani,odcitani&zamknout=ano"
SETTINGS = (["3", "60", "2", "5", "1", "3", "0", "20"], [1, 1, 0, 0])


def teach(p):
    """A teacher's exercise handed out locked: it fills the settings, which take no edit, Start
    and the screen reader work as ever, and "Znovu" brings the same settings back."""
    pupil = Pupil(p)
    texts, checks = SETTINGS

    def unchanged():
        pupil.expect("the settings", [p.text(f"Text{i}") for i in range(1, 9)], texts)
        pupil.expect("the operations", [p.value(f"Check{i}") for i in range(1, 5)], checks)

    pupil.doing("the teacher's settings, locked against a space, typing and a paste")
    unchanged()
    pupil.tab_to("Check1")
    p.keys("space")
    pupil.tab_to("Text2")
    p.keys("End", "BackSpace")
    p.type("9")
    p.paste("7")
    pupil.expect("the time box's name", p.spoken("Text2")[0], "Čas v sekundách")
    unchanged()
    pupil.doing("Start from a locked box, the finish, the results and Znovu", "Return")
    pupil.focus("txtVysl(1)")
    p.keys("End", "Tab", "Tab", "Return")
    pupil.until("row 3", lambda: p.text("txtVysl(3)"), "?")
    p.keys("End", "Tab", "Tab")
    pupil.focus("Command2")
    p.keys("Return")
    pupil.until("what was announced", p.announced, ["Dobře spočítal 0, špatně spočítal 0, nestihl 3, známka 5"])
    p.keys("Tab", "Return")
    pupil.focus("Command3")
    unchanged()


def slip(p):
    """An exercise with a slip: one sentence names it; the rest is taken, and nothing is locked."""
    pupil = Pupil(p)
    pupil.doing("a text with an unknown key")
    pupil.until("the message", p.message,
                "Zadání cvičení obsahuje neznámou položku „pocett=7“, a proto ji program vynechá.")
    p.keys("Return")
    pupil.until("the message", p.message, None)
    pupil.focus("Command3")
    pupil.replace("Text1", "5")
    pupil.expect("the time", p.text("Text2"), "45")


def run(frontend, build, *args, steps, school=None):
    """Plays the steps on a program started with these arguments, and on the desktop with the
    school's exercise installed; the browser takes the exercise from its address only."""
    if frontend == "web":
        args, school = args or (("--cviceni", school) if school else ()), None
    program = importlib.import_module(frontend).Program(build, args, **({"school": school} if school else {}))
    try:
        steps(program)
    finally:
        status = program.close()
    if status not in (0, None):
        raise Failed(f"the program ended with status {status}")


def results(folder):
    """The lines of the results folder's files, without their headers."""
    return [line.split(";") for csv in Path(folder).glob("*.csv")
            for line in csv.read_text(encoding="utf-8-sig").splitlines()[1:]]


def main():
    frontend, build = sys.argv[1:3]
    began = time.monotonic()
    run(frontend, build, steps=play)
    # The school's exercise, with the class's results folder on the desktop; the command line's
    # exercise wins over the school's.
    with tempfile.TemporaryDirectory(prefix="sumatko-results-") as folder:
        given = {"linux": folder, "windows": "Z:" + folder.replace("/", "\\")}.get(frontend)
        run(frontend, build, school=LOCKED + (f"&vysledky={quote(given, safe='')}" if given else ""), steps=teach)
        if given and not wait(lambda: [line[3:8] for line in results(folder)] == [[
                LOCKED.removesuffix("&zamknout=ano"), "0", "0", "3", "5"]]):
            raise Failed(f"the results folder holds {results(folder)}")
    run(frontend, build, "--cviceni", "cas=45&pocett=7&zamknout=ano", school=LOCKED, steps=slip)
    print(f"The exercise passed on {frontend} in {time.monotonic() - began:.1f} s")


if __name__ == "__main__":
    main()
