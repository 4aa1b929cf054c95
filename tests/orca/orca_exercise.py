#!/usr/bin/python3
"""A blind pupil's whole exercise, heard through Orca.

Runs Orca, Debian's screen reader, against the real program on a desktop of its own (Xvfb,
buses, openbox: see desktop.py), does one exercise with the keyboard alone, and checks what Orca
says at each step. A step sends its keys and waits for the line it must hear; nothing waits for
a time.

usage: orca_exercise.py [--out DIR] [--keep] [--verbose] [--keep-going] PROGRAM

Leaves DIR/orca-transcript.txt, every line Orca spoke under the keys that led to it, and with
--keep DIR/orca-debug.out, Orca's whole debug file; a failed run leaves both, named failed-*.
"""

import argparse
import os
import re
import shutil
import signal
import subprocess
import sys
import tempfile
import time

sys.dont_write_bytecode = True  # nothing of the run in the source tree
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

from desktop import Desktop, Failure, stop_at_next_wait, wait_until  # noqa: E402

LANG = "cs_CZ.UTF-8"
PROBLEMS = 10

# Orca's Czech words for a selection made or dropped.
FORBIDDEN_ON_FOCUS = r"\bvybráno\b|\bzrušen výběr\b|Výběr textu byl zrušen"


class StepFailed(Exception):
    """A check failed, and the run stops there (unless --keep-going)."""


def heard(*words, first=False):
    """What must be heard: these words or numbers, whole and in this order, the first at the
    start of a line; with first=True, at the start of the first line heard after the keys."""
    parts = [re.escape(w) for w in words]
    return ("^" if first else r"(?:^|\| )") + parts[0] + r"(?!\w)" + "".join(
        rf".*?(?<![\w-]){p}(?!\w)" for p in parts[1:])


class Typed:
    """Keys typed into a box. The step waits until Orca has taken in the box's last caret move:
    Orca takes a caret move that it meets only after the next key for a move made by that key,
    and reads the line aloud, which a pupil, who types and then moves on, never hears."""

    def __init__(self, box):
        self.box = box

    def pattern(self, keys):
        length = len(keys.split())
        return rf"Dequeued object:text-caret-moved \[text \| {re.escape(self.box)}\] \({length},"


# The settings screen: keys, what must be heard (a regular expression over the lines heard
# since the keys, joined by " | "; Typed: keys typed into a box; None: nothing), and which
# point of the pupil's exercise it shows.
SETTINGS = [
    ("Tab", heard("Sčítání", "zaškrtnuto"), "2. a check box: its operation and state"),
    ("Tab", heard("Odčítání", "zaškrtnuto"), "2. a check box: its operation and state"),
    ("Tab", heard("Násobení", "zaškrtnuto"), "2. a check box: its operation and state"),
    ("Tab", heard("Dělení", "zaškrtnuto"), "2. a check box: its operation and state"),
    ("space", heard("nezaškrtnuto"), "2. a check box cleared"),
    ("space", heard("zaškrtnuto"), "2. a check box ticked again"),
    ("Tab", heard("Počet příkladů", "10"), "2. a box: its label and whole value"),
    ("Tab", heard("Čas v sekundách", "100"), "2. a box: its label and whole value"),
    # A longer limit, so that no "one minute left" falls into the exercise however slow it is.
    ("End", None, ""),
    ("BackSpace", heard("0"), "(Orca names the deleted digit)"),
    ("BackSpace", heard("0"), "(Orca names the deleted digit)"),
    ("BackSpace", heard("1"), "(Orca names the deleted digit)"),
    ("9 9 9", Typed("Čas v sekundách"), ""),
    ("Tab", heard("1. číslo nejméně", "0"), "2. a box: its label and whole value"),
    # Negative first numbers, to hear "mínus 3 plus 8".
    ("End", None, ""),
    ("BackSpace", heard("0"), "(Orca names the deleted digit)"),
    ("minus 1 0", Typed("1. číslo nejméně"), ""),
    ("Tab", heard("1. číslo nejvýše", "10"), "2. a box: its label and whole value"),
    ("Tab", heard("2. číslo nejméně", "0"), "2. a box: its label and whole value"),
    ("Tab", heard("2. číslo nejvýše", "10"), "2. a box: its label and whole value"),
    ("Tab", heard("Výsledek nejméně", "0"), "2. a box: its label and whole value"),
    ("Tab", heard("Výsledek nejvýše", "100"), "2. a box: its label and whole value"),
    ("Tab", heard("Start"), "2. Tab comes back to Start"),
]

COUNTS = r"Dobře spočítal 5, špatně spočítal 3, nestihl 2, známka [1-5]\b"
CLOCK_IN_WORDS = r"(?:^|\| )Zbývající čas\b.*?\b\d+ (sekund[ay]?|minut[ay]?|hodin[ay]?)\b"


def exercise(pupil, screen_factory, program):
    """The whole exercise, step by step."""
    pupil.start_program(program, heard("Sumatko 2001", "Start"), "1. opening: the window's title, then Start")
    pupil.step("Insert+KP_Enter", heard("Sumatko 2001"), "1. Orca's title key names the window")
    for keys, expect, point in SETTINGS:
        pupil.step(keys, expect, point)

    # Start: the list comes; the rows, read from the screen, give the right answers.
    screen = screen_factory()
    start = pupil.press("Return")
    problems = screen.wait_for_problems(PROBLEMS, pupil.timeout)
    # Orca names the role of what takes the focus; a name that merely changes, it reads bare.
    pupil.expect(start, "Return", heard(problems[0].words, "text", first=True),
                 "3. Start: the first problem, as the first thing heard, as a focus change")

    # Five right, three wrong (each by ten, so that every wrong answer has two digits or
    # more), two left empty.
    answers = [p.result for p in problems[:5]] + [p.result + 10 for p in problems[5:8]] + [None, None]
    for i, (problem, answer) in enumerate(zip(problems, answers)):
        if answer is not None:
            pupil.step(" ".join(str(answer)), Typed(problem.words), "")
        if i + 1 == len(problems):
            break
        move = "Return" if i % 2 == 0 else "Down"
        pupil.step(move, heard(problems[i + 1].words), f"4. {move} to row {i + 2}: its problem in words")
        if i == 5:
            pupil.step("Up", heard(problem.words, str(answer)), "4. back to a row: its problem and the answer whole")
            pupil.step("Down", heard(problems[i + 1].words), "4. Down to the next row")

    pupil.step("Tab", CLOCK_IN_WORDS, "5. the clock: the time left in words", forbid=r"\d\d:\d\d")
    # The clock runs: what was said may be a tick or two older than what it shows now.
    pupil.check_time(screen, "5. the clock's words tell the time it shows", late=2)
    pupil.quiet_while(clock_ticks(screen, 2), "5. the clock says nothing as it ticks")
    pupil.step("Tab", heard("Hotovo!"), "Tab to Hotovo!")

    verdicts = ["správně"] * 5 + ["špatně"] * 3 + ["nevyplněno"] * 2
    pupil.step("Return", heard(problems[0].words, str(answers[0]), verdicts[0]),
               "6. the finish: row 1 as problem, answer and verdict")
    for i in range(1, 6):
        pupil.step("Down", heard(problems[i].words, str(answers[i]), verdicts[i]),
                   f"6. walking: row {i + 1} as problem, answer and verdict")
    pupil.step("End", heard(problems[-1].words, verdicts[-1]), "6. a row left empty: \"nevyplněno\"")

    pupil.step("Tab", CLOCK_IN_WORDS, "5. the clock after the finish: the time left in words")
    pupil.check_time(screen, "5. the stopped clock's words tell the time it shows", late=0)
    pupil.step("Tab", heard("Známka"), "Tab to Známka")
    pupil.step("Return", COUNTS, "7. Známka: the three counts and the grade, with no further key")
    pupil.review_window("Příklady", "7. flat review reads the results on the screen",
                        "Dobře spočítal 5", "Špatně spočítal 3", "Nestihl 2", "Známka")
    pupil.step("Tab", heard("Znovu"), "Tab to Znovu")
    pupil.step("Return", heard("Start", first=True), "8. Znovu: the next thing heard is Start")

    pupil.check_never(FORBIDDEN_ON_FOCUS, "9. no selection chatter (\"vybráno\", \"Výběr textu byl zrušen\")")
    pupil.check_no_orca_errors("7. no Orca error for any event the program sent")


def clock_ticks(screen, ticks):
    """A condition that holds once the clock on the screen has changed `ticks` times."""
    seen = [screen.clock()]

    def ticked():
        now = screen.clock()
        if now != seen[-1]:
            seen.append(now)
        return len(seen) > ticks

    return ticked


class Pupil:
    """Presses keys on the program's window and checks what Orca says in answer."""

    def __init__(self, desktop, timeout, keep_going, verbose):
        self.desktop = desktop
        self.log = desktop.log
        self.timeout = timeout
        self.keep_going = keep_going
        self.verbose = verbose
        self.steps = []  # (keys, index of the first line heard after them, point, failure or None)
        self.failures = []
        self.program_start = None
        self.program = None
        self.began = time.monotonic()
        self.errors_before_program = 0

    def start_program(self, program, expect, point):
        start = len(self.log.speech)
        self.program_start = start
        self.errors_before_program = len(self.log.errors)
        self.program = self.desktop.start_program(program)

        def window():
            self.check_program()
            found = subprocess.run(["xdotool", "search", "--onlyvisible", "--name", "^Sumatko 2001$"],
                                   env=self.desktop.env, capture_output=True, text=True, timeout=self.timeout)
            return found.stdout.split()

        # The keys go to the window the window manager gives the focus to.
        self.xdotool("windowactivate", "--sync", wait_until(window, self.timeout, "no window came")[0])
        self.expect(start, "(the program starts)", expect, point)

    def check_program(self):
        if self.program.poll() is not None:
            raise Failure(f"the program exited with code {self.program.returncode}:{self.desktop.tail('program')}")

    def xdotool(self, *args):
        result = subprocess.run(["xdotool", *args], env=self.desktop.env, capture_output=True, text=True,
                                timeout=self.timeout)
        if result.returncode != 0:
            raise Failure(f"xdotool {' '.join(args)}: {result.stderr.strip()}")
        return result.stdout

    def press(self, keys):
        """Presses the keys (X key names, space-separated) and returns where their speech begins."""
        start = len(self.log.speech)
        self.xdotool("key", "--clearmodifiers", *keys.split())
        return start

    def step(self, keys, expect, point, forbid=None):
        since = len(self.log.lines)
        start = self.press(keys)
        if isinstance(expect, Typed):
            pattern = expect.pattern(keys)
            if not self.log.wait(lambda log: log.find(pattern, since), self.timeout):
                raise Failure(f"Orca never saw {keys!r} typed into {expect.box!r} (no /{pattern}/ in its log)")
            expect = None
        if expect is None:
            self.steps.append((keys, start, point, None))
            return
        self.expect(start, keys, expect, point, forbid)

    def expect(self, start, keys, expect, point, forbid=None):
        regex = re.compile(expect)
        found = self.log.wait(lambda log: regex.search(" | ".join(log.speech[start:])), self.timeout)
        heard = self.log.speech[start:]
        problem = None
        if not found:
            self.check_program()
            problem = (f"{point}\n    after {keys}: expected /{expect}/ within {self.timeout:.0f} s\n"
                       f"    heard: {heard or 'nothing'}\n    before: {self.log.speech[max(0, start - 4):start]}")
        elif forbid and re.search(forbid, " | ".join(heard)):
            problem = f"{point}\n    after {keys}: /{forbid}/ must not be heard\n    heard: {heard}"
        self.steps.append((keys, start, point, problem))
        if self.verbose:
            print(f"{time.monotonic() - self.began:6.2f} s {'FAIL' if problem else 'ok  '} [{keys}] {point}: {heard}",
                  flush=True)
        if problem:
            self.fail(problem)

    def review_window(self, last, point, *names):
        """Orca's flat review, line by line from the top of the window (Insert+KP_Home, then
        KP_Page_Up: the keypad's 7 and 9) to the line with `last`; every name must be heard."""
        start = len(self.log.speech)
        keys = "Insert+KP_Home"
        while not any(last in line for line in self.log.speech[start:]) and len(self.log.speech) - start < 30:
            self.step(keys, r".", "(flat review: the next line)")
            keys = "KP_Page_Up"
        lines = " | ".join(self.log.speech[start:])
        if missing := [name for name in names if name not in lines]:
            self.fail(f"{point}\n    not heard: {missing}\n    heard: {self.log.speech[start:]}")

    def check_time(self, screen, point, late):
        """The time the last step heard in words is the time the clock shows, or up to `late`
        seconds more."""
        said = " | ".join(self.log.speech[self.steps[-1][1]:])
        units = {"hodin": 3600, "minut": 60, "sekund": 1}
        spoken = sum(int(n) * units[unit] for n, unit in re.findall(r"(\d+) (hodin|minut|sekund)", said))
        shown = screen.time_shown()
        if shown is None or not 0 <= spoken - shown <= late:
            self.fail(f"{point}\n    heard: {said!r} ({spoken} s); the clock shows {shown} s")

    def quiet_while(self, condition, point):
        """Waits until `condition` holds and checks that Orca said nothing in the meantime."""
        start = len(self.log.speech)
        try:
            wait_until(condition, self.timeout, "the clock did not tick")
            heard = self.log.speech[start:]
            problem = f"{point}\n    heard: {heard}" if heard else None
        except Failure as e:
            problem = f"{point}\n    {e}: its time reaches no screen reader"
        self.steps.append(("(no key)", start, point, problem))
        if problem:
            self.fail(problem)

    def check_never(self, pattern, point):
        heard = [line for line in self.log.speech[self.program_start:] if re.search(pattern, line)]
        if heard:
            self.fail(f"{point}\n    heard: {heard}")

    def orca_errors(self):
        return self.log.errors[self.errors_before_program:]

    def check_no_orca_errors(self, point):
        if errors := self.orca_errors():
            self.fail(f"{point}: {len(errors)} error lines in Orca's debug file")

    def fail(self, problem):
        self.failures.append(problem)
        if not self.keep_going:
            raise StepFailed(problem)

    def transcript(self):
        """Every line Orca spoke since the program started, under the keys that led to it."""
        speech = self.log.speech
        out = []
        for n, (keys, start, point, problem) in enumerate(self.steps):
            end = self.steps[n + 1][1] if n + 1 < len(self.steps) else len(speech)
            label = f"[{keys}]" + (f"  {point}" if point else "")
            out.append(("FAIL " if problem else "") + label)
            out.extend(f"    {line}" for line in speech[start:end])
        return "\n".join(out) + "\n"


def make_locale(out_dir):
    """Orca's own words are Czech only in a Czech locale; one is made for these runs alone, once."""
    locale_dir = os.path.join(out_dir, "locale")
    if not os.path.exists(os.path.join(locale_dir, LANG, "LC_CTYPE")):
        os.makedirs(locale_dir, exist_ok=True)
        made = tempfile.mkdtemp(dir=locale_dir)
        result = subprocess.run(["localedef", "-i", "cs_CZ", "-f", "UTF-8", os.path.join(made, LANG)],
                                capture_output=True, text=True)
        try:
            os.rename(os.path.join(made, LANG), os.path.join(locale_dir, LANG))
        except OSError:  # made by a run alongside, or not at all
            pass
        shutil.rmtree(made, ignore_errors=True)
        if not os.path.exists(os.path.join(locale_dir, LANG, "LC_CTYPE")):
            raise Failure(f"localedef could not make {LANG} (Debian's package: locales): {result.stderr}")
    return locale_dir


def tidy_up(out_dir, passed, keep_debug):
    """The transcript stays, Orca's debug file only with --keep; a failed run's files are
    renamed failed-*, so that a later passing run leaves them be. Returns what stays."""
    kept = []
    for name in ("orca-transcript.txt", "orca-debug.out"):
        path = os.path.join(out_dir, name)
        if not os.path.exists(path):
            continue
        if not passed:
            os.replace(path, path := os.path.join(out_dir, "failed-" + name))
        elif name == "orca-debug.out" and not keep_debug:
            os.remove(path)
            continue
        kept.append(path)
    return kept


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("program", help="the Linux program, sumatko2001")
    parser.add_argument("--out", default=".", help="where the transcript and the debug file go")
    parser.add_argument("--keep", action="store_true", help="keep Orca's debug file after a passing run")
    parser.add_argument("--verbose", action="store_true", help="print each step and what Orca said")
    parser.add_argument("--keep-going", action="store_true", help="go on after a failed check")
    parser.add_argument("--timeout", type=float, default=20, help="seconds a step waits for its line")
    args = parser.parse_args()

    # Whatever ends this script ends what it started: Ctrl-C, SIGTERM and SIGHUP unwind the
    # same way as a failed check (SIGINT too where a shell started the script with it ignored).
    for sig in (signal.SIGINT, signal.SIGTERM, signal.SIGHUP):
        signal.signal(sig, stop_at_next_wait)

    os.makedirs(args.out, exist_ok=True)
    transcript_path = os.path.join(args.out, "orca-transcript.txt")
    began = time.monotonic()
    pupil = None
    outcome = 1
    try:
        locale_dir = make_locale(args.out)
        with Desktop(args.out, locale_dir, LANG, verbose=args.verbose) as desktop:
            from screen import Screen

            pupil = Pupil(desktop, args.timeout, args.keep_going, args.verbose)
            try:
                exercise(pupil, lambda: Screen(desktop), args.program)
            finally:
                with open(transcript_path, "w", encoding="utf-8") as f:
                    f.write(pupil.transcript())
        outcome = 1 if pupil.failures else 0
    except StepFailed:
        pass
    except (Failure, subprocess.TimeoutExpired) as e:
        print(f"The run could not go on: {e}")
    except KeyboardInterrupt as e:
        print(f"Interrupted by {e}")
        outcome = 130
    finally:
        kept = tidy_up(args.out, outcome == 0, args.keep)

    if pupil and pupil.failures:
        print(f"{len(pupil.failures)} check(s) failed:")
        for problem in pupil.failures:
            print(f"  {problem}")
        if errors := pupil.orca_errors():
            print("  Orca's errors since the program started:\n    " + "\n    ".join(errors[:20]))
    print("Left: " + ", ".join(kept))
    print(f"{'Passed' if outcome == 0 else 'FAILED'} in {time.monotonic() - began:.1f} s")
    return outcome


if __name__ == "__main__":
    sys.exit(main())
