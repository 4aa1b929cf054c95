"""Figures of the browser program in headless Chromium: the page's size, Start's slides and the
finish with 10 problems as wall time over nominal time, and its first painted frame against a
bare page holding only the black 520 x 243 window.

The first frame is measured twice. web_first_frame_*: once the window and its fonts are in the
page, the frame after that as the page's own script sees it (a timer set in that frame's
animation callback: it also waits for whatever else the page's thread does first).
web_first_paint_*: the time Chromium itself reports for the frame on the screen (Paint Timing):
the program's first contentful paint, the bare page's first paint (its black box is all it has,
and Chromium counts no plain box as content). Both with Chromium's accessibility tree built for
every page, as the tests and a screen reader have it, and again (_no_a11y) without it, as most
pupils have it."""
import pathlib
import statistics
import sys
import tempfile

sys.dont_write_bytecode = True  # nothing of the run in the source tree
sys.path.insert(0, str(pathlib.Path(__file__).resolve().parents[1] / "tools"))
import chromium  # noqa: E402

START_NOMINAL_MS = (8 + 11) * 50.0  # the two slides of Start, 50 ms a step


def finish_nominal_ms(rows):
    return 1000.0 + rows * 6 * 10.0 + 1500.0


# Runs a button's sequence and returns its wall time: from the click to the moment the sequence
# puts the focus on row 1, its last step.
SEQUENCE = """
const done = arguments[arguments.length - 1];
const start = performance.now();
Form1.addEventListener('focusin', (event) => {
  if (event.target.id === 'txtVysl(1)')
    done(performance.now() - start);
}, { once: true });
document.getElementById(arguments[0]).click();
"""

# Before any of the page's own scripts: the moment the window (the element named by
# window.frameOf) first reaches the screen with its fonts, as the frame after it was complete.
FIRST_FRAME = """
new MutationObserver((_, observer) => {
  const window_ = document.querySelector(window.frameOf || '#Command3');
  if (!window_)
    return;
  observer.disconnect();
  document.fonts.load('bold 11px "Liberation Sans"').then(() =>
    requestAnimationFrame(() => setTimeout(() => { document.documentElement.dataset.frame = performance.now(); })));
}).observe(document, { childList: true, subtree: true });
"""

BARE = """<!DOCTYPE html>
<html><head><meta charset="utf-8"><title>bare</title>
<script>window.frameOf = '#Form1';</script></head>
<body style="margin:0;height:100vh;display:grid;place-items:center;background:#262626">
<div id="Form1" style="width:520px;height:243px;background:#000"></div></body></html>
"""


def sequences(driver, runs=3):
    starts, finishes = [], []
    driver.set_script_timeout(30)
    for _ in range(runs):
        chromium.open_page(driver)
        starts.append(driver.execute_async_script(SEQUENCE, "Command3") / START_NOMINAL_MS)
        chromium.wait_for(driver, "!Module.pausing()")
        finishes.append(driver.execute_async_script(SEQUENCE, "Command1") / finish_nominal_ms(10))
    return statistics.median(starts), statistics.median(finishes)


def first_frame(driver, url, paint="first-contentful-paint"):
    driver.get(url)
    frame = float(chromium.wait_for(driver, "document.documentElement.dataset.frame"))
    return frame, float(chromium.wait_for(driver, f"performance.getEntriesByName('{paint}')[0]?.startTime"))


def first_frames(accessibility, pairs=25):
    """The medians of the program's and the bare page's first frames and first paints, and of
    their ratios, from pairs of the two opened in turns."""
    driver = chromium.start(accessibility=accessibility)
    driver.execute_cdp_cmd("Page.addScriptToEvaluateOnNewDocument", {"source": FIRST_FRAME})
    try:
        with tempfile.NamedTemporaryFile("w", suffix=".html", prefix="web-bare-") as bare:
            bare.write(BARE)
            bare.flush()
            bare_url = pathlib.Path(bare.name).as_uri()
            first_frame(driver, chromium.PAGE)  # the browser's own first start is no one's
            runs = [(first_frame(driver, chromium.PAGE), first_frame(driver, bare_url, "first-paint"))
                    for _ in range(pairs)]
    finally:
        driver.quit()
    return [(statistics.median(p[i] for p, _ in runs), statistics.median(b[i] for _, b in runs),
             statistics.median(p[i] / b[i] for p, b in runs)) for i in (0, 1)]


print(f"web_html_kb: {(chromium.BUILD / 'sumatko2001.html').stat().st_size / 1024:.0f} KB")
driver = chromium.start()
try:
    slide, finish = sequences(driver)
finally:
    driver.quit()
print(f"web_slide_ratio: {slide:.4f} x")
print(f"web_finish_ratio_10: {finish:.4f} x")
for accessibility, suffix in ((True, ""), (False, "_no_a11y")):
    for name, (program_ms, bare_ms, ratio) in zip(("frame", "paint"), first_frames(accessibility)):
        print(f"web_first_{name}_ms{suffix}: {program_ms:.1f} ms")
        print(f"web_first_{name}_bare_ms{suffix}: {bare_ms:.1f} ms")
        print(f"web_first_{name}_ratio{suffix}: {ratio:.3f} x")
