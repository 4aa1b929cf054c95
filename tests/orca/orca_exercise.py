#!/usr/bin/python3
"""A blind pupil's whole exercise, heard through Orca, from the Linux program or from the page in
Chromium.

Runs Orca, Debian's screen reader, on a desktop of its own, then the program or Chromium with the
page, does one exercise with the keyboard alone, and checks what Orca says at each step. A step
sends its keys and waits for the line it must hear in Orca's debug file; nothing waits for a time.

usage: orca_exercise.py [--out DIR] [--keep] (PROGRAM | --page HTML)

Leaves DIR/orca-transcript[-page].txt, every line Orca spoke under the keys that led to it, and
with --keep DIR/orca-debug[-page].out, Orca's whole debug file; a failed run leaves both, named
failed-*.
"""

import argparse
import contextlib
import json
import os
import re
import signal
import subprocess
import sys
import tempfile
import time
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parent.parent / "scenario"))
from desktop import SIGNALS, TIMEOUT, Desktop, Failed, wait  # noqa: E402

LANG = "cs_CZ.UTF-8"
PROBLEMS = 10

# Orca refuses to start while any other Orca of the same user runs (it asks pgrep), even one of
# another run on a display and buses of its own, so that one check is left out. Its debug file
# is opened line-buffered, so that each line can be read as soon as Orca has said it.
ORCA = """import sys
cli = {"__name__": "orca_command_line"}
exec(compile(open("/usr/bin/orca").read(), "/usr/bin/orca", "exec"), cli)
cli["otherOrcas"] = lambda: []
cli["open"] = lambda path, mode: open(path, mode, buffering=1, encoding="utf-8")
sys.exit(cli["main"]())
"""

# The pupil's Orca: its defaults, except that it speaks to no synthesizer (the run needs only
# its log of what it says), plays no sound, drives no braille display and echoes no keys, so
# that what it says is what the program tells it.
ORCA_SETTINGS = {"enableSpeech": True, "speechServerFactory": "", "speechFactoryModules": [],
                 "enableSound": False, "enableBraille": False, "enableKeyEcho": False}

# In Orca's debug file: what it says (the text, then its voice: "voice=...", a dict or a list of
# dicts); its own failures; and the clock's time as the program tells it to every screen reader
# (Qt renames the clock's label, Chromium replaces the label's text).
SPEECH = re.compile(r"SPEECH OUTPUT: '(.*?)'(?: voice=\w+)?\s*(?:\[?\{.*\}\]?|\[\])?\s*$")
ORCA_ERROR = re.compile(r"^Traceback|^  File \"|\bERROR\b|\bEXCEPTION\b|bad content|Exception when")
CLOCK = re.compile(r"(?:accessible-name for \[label \| |children-changed:add for \[section \| \] in "
                   r"\[application \| Chromium\] \(\d+, \d+, \[static \| )(\d\d):(\d\d):(\d\d)\]")

NUMBER = r"(?:mínus )?\d+"
PROBLEM = rf"{NUMBER} (?:plus|mínus|krát|děleno) {NUMBER}"


class Frontend:
    """Where Orca's words rightly differ between the Linux program and the page: its word for a
    text box and the box's role in its log; the group a focus enters or leaves in a page, which
    may be said before the control ("Seznam příkladů panel.", "Opouští se panel."); and Orca's
    error lines of Chromium's own making: an element hidden leaves its tree before Orca looks,
    and once in a while, as the page loads, the page's offsets do not suit Orca's."""

    def __init__(self, entry, log_role, context="", tolerated=r"(?!)"):
        self.entry, self.log_role, self.context, self.tolerated = entry, log_role, context, tolerated

    def first(self, pattern, context=None):
        """`pattern` as the first thing heard, but for the group's lines."""
        context = self.context if context is None else context
        return rf"^(?:{context} \| )*{pattern}"


LINUX = Frontend("text", "text")
PAGE = Frontend("vstupní pole", "entry", r"(?:Opouští se )?[^|]*?\bpanel\.",
                r"ERROR: (?:Event (?:any_data contains defunct child/descendant|is from defunct source)$"
                r"|The hyperlink start index \(\d+\) should match the offset \(\d+\))")
# Orca's Czech words for a selection made or dropped.
SELECTION = r"\bvybráno\b|\bzrušen výběr\b|Výběr textu byl zrušen"
TIME_IN_WORDS = r"\b\d+ (sekund[ay]?|minut[ay]?|hodin[ay]?)\b"
CLOCK_IN_WORDS = rf"(?:^|\| )Zbývající čas\b.*?{TIME_IN_WORDS}"
COUNTS = r"Dobře spočítal 5, špatně spočítal 3, nestihl 2, známka [1-5]\b"


def heard(*words, first=False):
    """What must be heard: these words or numbers, whole and in this order, the first at the
    start of a line; with first=True, at the start of the first line heard after the keys."""
    parts = [re.escape(w) for w in words]
    return ("^" if first else r"(?:^|\| )") + parts[0] + r"(?!\w)" + "".join(
        rf".*?(?<![\w-]){p}(?!\w)" for p in parts[1:])


class Typed(str):
    """Keys typed into the box of this name. The step waits until Orca has taken in the box's
    last caret move: Orca takes a caret move that it meets only after the next key for a move
    made by that key, and reads the line aloud, which a pupil, who types and moves on, never hears."""


def check_box(operation):
    return "Tab", heard(operation, "zaškrtnuto"), "2. a check box: its operation and state"


def box(label, value):
    return "Tab", heard(label, value), "2. a box: its label and whole value"


def deleted(digits):
    return [("BackSpace", heard(digit), "(Orca names the deleted digit)") for digit in digits]


# The settings screen: keys, what must be heard since them (a regular expression over the lines
# joined by " | "; Typed: keys typed into a box; None: nothing), and the point of the exercise.
SETTINGS = [
    *map(check_box, ["Sčítání", "Odčítání", "Násobení", "Dělení"]),
    ("space", heard("nezaškrtnuto"), "2. a check box cleared"),
    ("space", heard("zaškrtnuto"), "2. a check box ticked again"),
    box("Počet příkladů", "10"),
    box("Čas v sekundách", "100"),
    # A longer limit, so that no "one minute left" falls into the exercise however slow it is.
    ("End", None, ""), *deleted("001"), ("9 9 9", Typed("Čas v sekundách"), ""),
    box("1. číslo nejméně", "0"),
    # Negative first numbers, to hear "mínus 3 plus 8".
    ("End", None, ""), *deleted("0"), ("minus 1 0", Typed("1. číslo nejméně"), ""),
    box("1. číslo nejvýše", "10"),
    box("2. číslo nejméně", "0"),
    box("2. číslo nejvýše", "10"),
    box("Výsledek nejméně", "0"),
    box("Výsledek nejvýše", "100"),
    ("Tab", heard("Start"), "2. Tab comes back to Start"),
]


def result(problem):
    """The right answer to a problem as heard ("mínus 3 plus 8"); the program poses only exact
    divisions."""
    a, operation, b = re.fullmatch(rf"({NUMBER}) (\S+) ({NUMBER})", problem).groups()
    a, b = (int(n.replace("mínus ", "-")) for n in (a, b))
    return {"plus": a + b, "mínus": a - b, "krát": a * b, "děleno": a // b if b else None}[operation]


def exercise(pupil, ui):
    """The whole exercise, step by step."""
    row = rf"(?:^|\| )({PROBLEM}) {ui.entry}\b"
    pupil.step("Insert+KP_Enter", heard("Sumatko 2001"), "1. Orca's title key names the window")
    for keys, expect, point in SETTINGS:
        pupil.step(keys, expect, point)

    # The pupil works out each answer from the problem heard: a problem heard wrong gets a
    # wrong verdict at the finish. Five right, three wrong (each by ten, so that every wrong
    # answer has two digits or more), two left empty.
    problems = [pupil.step("Return", ui.first(rf"({PROBLEM}) {ui.entry}\b"),
                           "3. Start: the first problem, as the first thing heard, as a focus change")[1]]
    answers = []
    for n in range(PROBLEMS):
        right = result(problems[n])
        answers.append(right if n < 5 else right + 10 if n < 8 else None)
        if answers[n] is not None:
            pupil.step(" ".join(str(answers[n])), Typed(problems[n]), "")
        if n + 1 == PROBLEMS:
            break
        move = "Return" if n % 2 == 0 else "Down"
        problems.append(pupil.step(move, row, f"4. {move} to row {n + 2}: its problem in words")[1])
        if n == 5:
            pupil.step("Up", heard(problems[n], str(answers[n])), "4. back to a row: its problem and the answer whole")
            pupil.step("Down", heard(problems[n + 1]), "4. Down to the next row")
    # Every other key that moves between rows, each heard as the row it reaches.
    for keys, n in [("Home", 0), ("Page_Down", 4), ("Page_Up", 0), ("End", 9)]:
        pupil.step(keys, heard(problems[n], *[str(answers[n])] * (answers[n] is not None)),
                   f"4. {keys}: row {n + 1}, its problem and answer")

    pupil.step("Tab", CLOCK_IN_WORDS, "5. the clock: the time left in words", forbid=r"\d\d:\d\d")
    # The clock runs: what was said may be a tick or two older than what it shows now.
    pupil.check_time("5. the clock's words tell the time it shows", late=2)
    pupil.quiet_while_ticking(2, "5. the clock says nothing as it ticks")
    pupil.step("Tab", heard("Hotovo!"), "Tab to Hotovo!: the clock left behind keeps quiet", forbid=TIME_IN_WORDS)

    verdicts = ["správně"] * 5 + ["špatně"] * 3 + ["nevyplněno"] * 2
    pupil.step("Return", heard(problems[0], str(answers[0]), verdicts[0]),
               "6. the finish: row 1 as problem, answer and verdict")
    for i in range(1, 6):
        pupil.step("Down", heard(problems[i], str(answers[i]), verdicts[i]),
                   f"6. walking: row {i + 1} as problem, answer and verdict")
    for keys, n in [("Page_Down", 9), ("Home", 0), ("End", 9), ("Page_Up", 5), ("End", 9)]:
        pupil.step(keys, heard(problems[n], *[str(answers[n])] * (answers[n] is not None), verdicts[n]),
                   f"6. {keys}: row {n + 1} as problem, answer and verdict")

    pupil.step("Tab", CLOCK_IN_WORDS, "5. the clock after the finish: the time left in words")
    pupil.check_time("5. the stopped clock's words tell the time it shows", late=0)
    pupil.step("Tab", heard("Známka"), "Tab to Známka: the clock left behind keeps quiet", forbid=TIME_IN_WORDS)
    pupil.step("Return", COUNTS, "7. Známka: the three counts and the grade, with no further key")
    for n in (2, 3):
        pupil.step("Return", None, "7. Příklady: back to the problems")
        pupil.press_until("Return", COUNTS, f"7. Známka a {n}. time: the counts and the grade again, once")
    # Orca's flat review never reaches a page that Chromium showed after Orca had started.
    if ui is LINUX:
        pupil.review_window("Příklady", "7. flat review reads the results on the screen",
                            "Dobře spočítal 5", "Špatně spočítal 3", "Nestihl 2", "Známka")
    pupil.step("Tab", heard("Znovu"), "Tab to Znovu")
    pupil.step("Return", ui.first(r"Start\b", ui.context and r"Opouští se panel\."),
               "8. Znovu: the next thing heard is Start")

    if chatter := [line for line in pupil.speech[pupil.program_start:] if re.search(SELECTION, line)]:
        raise Failed(f"9. no selection chatter (\"vybráno\", \"Výběr textu byl zrušen\")\n    heard: {chatter}")
    if errors := [line for line in pupil.errors[pupil.errors_start:] if not re.search(ui.tolerated, line)]:
        raise Failed(f"7. no Orca error for any event the program sent: {len(errors)} error lines, the first:\n    "
                     + "\n    ".join(errors[:20]))


def interrupted(signum, frame):
    raise KeyboardInterrupt(signal.Signals(signum).name)


def czech(out):
    """Orca's own words are Czech only in a Czech locale; one is made for these runs, once.
    Returns the environment entries that select it."""
    locales = out / "locale"
    if not (locales / LANG / "LC_CTYPE").exists():
        locales.mkdir(exist_ok=True)
        with tempfile.TemporaryDirectory(dir=locales) as made:
            subprocess.run(["localedef", "-i", "cs_CZ", "-f", "UTF-8", f"{made}/{LANG}"])
            with contextlib.suppress(OSError):  # made by a run alongside, or not at all
                os.rename(f"{made}/{LANG}", locales / LANG)
        if not (locales / LANG / "LC_CTYPE").exists():
            raise Failed(f"localedef could not make {LANG} (Debian's package: locales)")
    return {"LANG": LANG, "LC_ALL": LANG, "LANGUAGE": "cs_CZ", "LOCPATH": str(locales)}


class Pupil:
    """Presses keys on the program's window and checks what Orca says in answer."""

    def __init__(self, desktop, debug, ui):
        self.desktop, self.ui = desktop, ui
        self.steps = []  # (keys, index of the first line heard after them, point)
        self.lines, self.speech, self.errors, self.pending = [], [], [], ""
        self.ticks, self.shown = 0, None  # the clock's ticks and its last time, as Orca was told them
        self.program = None
        debug.write_text("")
        self.log = open(debug, encoding="utf-8", errors="replace")
        prefs = Path(desktop.tmp, "orca")
        prefs.mkdir()
        profile = ["Default", "default"]
        (prefs / "user-settings.conf").write_text(json.dumps({
            "general": dict(ORCA_SETTINGS, startingProfile=profile, activeProfile=profile),
            "profiles": {"default": dict(ORCA_SETTINGS, profile=profile)}, "pronunciations": {}, "keybindings": {}}))
        orca = desktop.start("/usr/bin/python3", "-c", ORCA, "--user-prefs", prefs, "--debug-file", debug)

        def started():
            return any("ORCA: Startup complete" in line for line in self.lines)

        if not self.until(lambda: started() or orca.poll() is not None, timeout=30) or not started():
            raise Failed("Orca did not start" + desktop.tail())

    def read(self):
        """Takes in the lines Orca has written to its debug file since."""
        self.pending += self.log.read()
        *lines, self.pending = self.pending.split("\n")
        for line in lines:
            self.lines.append(line)
            if match := SPEECH.search(line):
                self.speech.append(match[1])
            if ORCA_ERROR.search(line):
                self.errors.append(line)
            if match := CLOCK.search(line):
                self.ticks, self.shown = self.ticks + 1, int(match[1]) * 3600 + int(match[2]) * 60 + int(match[3])

    def until(self, condition, timeout=TIMEOUT):
        """wait(), taking in Orca's new lines before each look."""
        return wait(lambda: self.read() or condition(), timeout)

    def start_program(self, program):
        self.starting()
        # The accessibility bridge on from the start, as with a screen reader already running.
        self.program = self.desktop.start(program, env=dict(self.desktop.env, QT_QPA_PLATFORM="xcb",
                                                             QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1"))
        self.started("^Sumatko 2001$", heard("Sumatko 2001", "Start"), "1. opening: the window's title, then Start")

    def start_page(self, page):
        self.starting()
        # Chromium with a profile of its own that offers no translation of a Czech page (Debian's
        # has the English locale only). Headed, as a headless one has no platform accessibility,
        # and with its accessibility tree made from the start, as for a reader already running
        # (made when Orca first asks, the page is heard loading twice and read out); no sandbox
        # as root and no bar that warns of it (--test-type); nothing from the network.
        profile = Path(self.desktop.tmp, "chromium")
        (profile / "Default").mkdir(parents=True)
        (profile / "Default/Preferences").write_text('{"translate": {"enabled": false}, "intl": {"accept_languages": "cs"}}')
        self.program = self.desktop.start(
            "/usr/bin/chromium", *["--no-sandbox"] * (os.geteuid() == 0), f"--user-data-dir={profile}", "--no-first-run",
            "--no-default-browser-check", "--disable-background-networking", "--disable-component-update",
            "--disable-sync", "--disable-default-apps", "--password-store=basic", "--disable-gpu", "--test-type",
            "--force-renderer-accessibility", Path(page).resolve().as_uri(), env=dict(self.desktop.env, TMPDIR=profile))
        # Its title, as its loading ends or as the page is entered, in either order; then Start,
        # which only the page's program gives the focus.
        self.started("^Sumatko 2001 - Chromium$", r"Sumatko 2001\b.*?(?:^|\| )Start tlačítko\b",
                     "1. opening: the page loads, then Start")

    def starting(self):
        self.read()
        self.program_start, self.errors_start = len(self.speech), len(self.errors)

    def started(self, title, expect, point):
        # The keys go to the window the window manager gives the focus to. (Not xdotool's --sync:
        # Chromium makes and drops windows as it starts, and xdotool fails on one that goes.)
        search = ["xdotool", "search", "--onlyvisible", "--name", title]
        if not (window := wait(lambda: subprocess.run(search, env=self.desktop.env, capture_output=True,
                                                      text=True).stdout.split())):
            raise Failed(f"no window {title}" + self.desktop.tail())
        self.desktop.xdotool("windowactivate", "--sync", window[0])
        self.steps.append(("(the program starts)", self.program_start, point))
        self.expect(self.program_start, expect, point)

    def step(self, keys, expect, point, forbid=None):
        """Presses the keys (X key names, space-separated) and checks what is heard after them."""
        self.read()
        since, start = len(self.lines), len(self.speech)
        self.desktop.xdotool("key", "--clearmodifiers", *keys.split())
        self.steps.append((keys, start, point))
        if isinstance(expect, Typed):
            caret = re.compile(rf"Dequeued object:text-caret-moved \[{self.ui.log_role} \| {re.escape(expect)}\] "
                               rf"\({len(keys.split())},")
            if not self.until(lambda: any(caret.search(line) for line in self.lines[since:])):
                self.fail(point, f"Orca never saw {keys!r} typed into {expect!r} (no /{caret.pattern}/ in its log)")
        elif expect:
            return self.expect(start, expect, point, forbid)

    def expect(self, start, expect, point, forbid=None):
        found = self.until(lambda: re.search(expect, " | ".join(self.speech[start:])))
        keys = self.steps[-1][0]
        if not found:
            self.fail(point, f"after {keys}: expected /{expect}/ within {TIMEOUT} s",
                      f"\n    before: {self.speech[max(0, start - 4):start]}")
        if forbid and re.search(forbid, " | ".join(self.speech[start:])):
            self.fail(point, f"after {keys}: /{forbid}/ must not be heard")
        return found

    def check_time(self, point, late):
        """The time the last step heard in words (its first line that tells one) is the time the
        clock shows, or up to `late` seconds more."""
        said = next((line for line in self.speech[self.steps[-1][1]:] if re.search(TIME_IN_WORDS, line)), "")
        units = {"hodin": 3600, "minut": 60, "sekund": 1}
        spoken = sum(int(n) * units[unit] for n, unit in re.findall(r"(\d+) (hodin|minut|sekund)", said))
        if not self.until(lambda: self.shown is not None and 0 <= spoken - self.shown <= late):
            self.fail(point, f"the words tell {spoken} s; the clock shows {self.shown} s")

    def quiet_while_ticking(self, ticks, point):
        """Waits for the clock to tick and checks that Orca said nothing in the meantime but,
        once, the words it was reached with: Chromium may tell of the clock's description after
        its focus, when a tick and Tab come together, and Orca 43 says a focused object's new
        description even when it is the one it said with the focus."""
        said = {line for line in self.speech[self.steps[-1][1]:] if re.search(TIME_IN_WORDS, line)}
        start, ticked = len(self.speech), self.ticks
        self.steps.append(("(no key)", start, point))
        if not self.until(lambda: self.ticks >= ticked + ticks):
            self.fail(point, "the clock did not tick: its time reaches no screen reader")
        if [line for line in self.speech[start:] if line not in said] or len(self.speech) - start > 1:
            self.fail(point, "Orca spoke")

    def press_until(self, keys, expect, point):
        """Presses the keys until `expect` is heard, once: a press that comes while the slide
        before ends is dropped by the window, and no state tells when that slide is over."""
        start = len(self.speech)
        self.steps.append((keys, start, point))
        for _ in range(10):
            self.desktop.xdotool("key", "--clearmodifiers", *keys.split())
            if self.until(lambda: re.search(expect, " | ".join(self.speech[start:])), timeout=2):
                break
        if len(re.findall(expect, " | ".join(self.speech[start:]))) != 1:
            self.fail(point, f"after {keys}: /{expect}/ heard {len(re.findall(expect, ' | '.join(self.speech[start:])))} times")

    def review_window(self, last, point, *names):
        """Orca's flat review, line by line from the top of the window (Insert+KP_Home, then
        KP_Page_Up: the keypad's 7 and 9) to the line with `last`; every name must be heard."""
        start, keys = len(self.speech), "Insert+KP_Home"
        while not any(last in line for line in self.speech[start:]) and len(self.speech) - start < 30:
            self.step(keys, r".", "(flat review: the next line)")
            keys = "KP_Page_Up"
        if missing := [name for name in names if name not in " | ".join(self.speech[start:])]:
            self.fail(point, f"not heard: {missing}", start=start)

    def fail(self, point, problem, more="", start=None):
        """Stops the run with what was heard since the last step, and why the program is gone if it is."""
        heard = self.speech[self.steps[-1][1] if start is None else start:]
        exited = self.program.poll() if self.program else None
        raise Failed(f"{point}\n    {problem}\n    heard: {heard or 'nothing'}{more}" + (
            f"\n    the program exited with code {exited}:{self.desktop.tail()}" if exited is not None else ""))

    def transcript(self):
        """Every line Orca spoke since the program started, under the keys that led to it."""
        out = []
        for n, (keys, start, point) in enumerate(self.steps):
            end = self.steps[n + 1][1] if n + 1 < len(self.steps) else len(self.speech)
            out.append(f"[{keys}]" + (f"  {point}" if point else ""))
            out.extend(f"    {line}" for line in self.speech[start:end])
        return "\n".join(out) + "\n"


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    which = parser.add_mutually_exclusive_group(required=True)
    which.add_argument("program", nargs="?", help="the Linux program, sumatko2001")
    which.add_argument("--page", help="the browser program's single page, sumatko2001.html")
    parser.add_argument("--out", type=Path, default=Path("."), help="where the transcript and the debug file go")
    parser.add_argument("--keep", action="store_true", help="keep Orca's debug file after a passing run")
    args = parser.parse_args()
    # Ctrl-C, SIGTERM and SIGHUP unwind the same way as a failed check (SIGINT too where a shell
    # started the script with it ignored).
    for sig in SIGNALS:
        signal.signal(sig, interrupted)

    began, pupil, failure, outcome = time.monotonic(), None, "did not finish", 1
    args.out.mkdir(parents=True, exist_ok=True)
    ui, name = (PAGE, "-page") if args.page else (LINUX, "")
    files = [args.out / f"orca-transcript{name}.txt", args.out / f"orca-debug{name}.out"]
    try:
        with Desktop(**czech(args.out)) as desktop:
            desktop.start_session()
            pupil = Pupil(desktop, files[1], ui)
            pupil.start_page(args.page) if args.page else pupil.start_program(args.program)
            exercise(pupil, ui)
        failure, outcome = None, 0
    except Failed as e:
        failure = str(e)
    except KeyboardInterrupt as e:
        failure, outcome = f"interrupted by {e}", 130
    finally:
        if pupil:
            files[0].write_text(pupil.transcript() + (f"FAILED: {failure}\n" if failure else ""))
        if failure:  # a failed run's files stay, out of the way of later runs
            files = [path.replace(path.with_name("failed-" + path.name)) for path in files if path.exists()]
        elif not args.keep:
            files.pop().unlink()
        if failure:
            print(failure)
        print("Left: " + ", ".join(map(str, files)))
        print(f"{'Passed' if outcome == 0 else 'FAILED'} in {time.monotonic() - began:.1f} s")
    return outcome


if __name__ == "__main__":
    sys.exit(main())
